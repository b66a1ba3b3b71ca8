#pragma once

#include <QString>
#include <QStringList>

// Secrets out of every text the network services log or show: an error text of Qt's carries the
// request's whole URL, and the hosting service's token requests carry the user's name, password,
// key and refresh token as path segments. Replaced are every known secret, as typed and
// percent-encoded, and whatever stands in the credential positions of the service's paths, in a
// bearer header or in the update check's user data.
namespace HRedaction {

inline constexpr char mark[] = "[hidden]";

QString redacted(const QString& text, const QStringList& secrets = {});

} // namespace HRedaction
