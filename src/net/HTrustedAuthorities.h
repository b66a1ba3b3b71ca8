#pragma once

#include <QString>

// Certificate authorities trusted beside the system's, for networks whose TLS is signed by an
// authority of their own (a company proxy, a test server): a PEM file named by the setting
// "application/network/caCertificates". Applied once at start, to every connection made afterwards.
namespace HTrustedAuthorities {

// Returns how many authorities were added; 0 for an empty path, a missing or an unreadable file
// (said in the log).
int addFromFile(const QString& path);

} // namespace HTrustedAuthorities
