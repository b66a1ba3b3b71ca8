#pragma once

#include <QString>
#include <QStringList>

// A version text such as "2.1.0.203". The last part is the build number and encodes the release
// stage: below 100 internal, 100-199 alpha, 200-299 beta, 300-399 release candidate, 400+ release.
class ProductVersion
{
public:
    ProductVersion() = default;
    explicit ProductVersion(const QString& text);

    QString text() const { return versionText; }
    QStringList parts() const { return versionParts; }
    int buildNumber() const;

    // "2.1.0 Beta 3" for 2.1.0.203, "1.0.0" for 1.0.0.400.
    QString displayString() const;

    // By compare(): 1.0.10 is newer than 1.0.9.
    bool isNewerThan(const ProductVersion& other) const
    {
        return compare(versionText, other.versionText) > 0;
    }

    // The one rule by which versions are ordered: the dot-separated numbers part by part as numbers
    // (a missing part counts as 0), then a version without a pre-release tag ("-rc1") after the same
    // version with one, and tags by their words and then their numbers (beta2 < rc1 < rc2).
    // Negative, 0 or positive as a is older than, the same as or newer than b.
    static int compare(const QString& a, const QString& b);

private:
    QStringList versionParts;
    QString versionText;
};
