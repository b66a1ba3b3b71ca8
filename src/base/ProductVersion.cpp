#include "ProductVersion.h"

#include <QRegularExpression>

ProductVersion::ProductVersion(const QString& text)
    : versionParts(text.split(QRegularExpression(QStringLiteral("\\W+")))), versionText(text)
{
}

int ProductVersion::buildNumber() const
{
    return versionParts.isEmpty() ? 0 : versionParts.last().toInt();
}

QString ProductVersion::displayString() const
{
    QString display = versionParts.mid(0, versionParts.size() - 1).join(QLatin1Char('.'));
    const int build = buildNumber();
    if (build < 100) {
        display += QStringLiteral(" Internal %1").arg(build);
    } else if (build < 200) {
        display += QStringLiteral(" Alpha %1").arg(build - 100);
    } else if (build < 300) {
        display += QStringLiteral(" Beta %1").arg(build - 200);
    } else if (build < 400) {
        display += QStringLiteral(" RC %1").arg(build - 300);
    }
    return display;
}

bool ProductVersion::isNewerThan(const ProductVersion& other) const
{
    for (int i = 0; i < versionParts.size(); ++i) {
        // A part the other version lacks counts as 0, so "1.0.0.1" is newer than "1.0.0".
        const qlonglong mine = versionParts.at(i).toLongLong();
        const qlonglong theirs = i < other.versionParts.size() ? other.versionParts.at(i).toLongLong() : 0;
        if (mine != theirs) {
            return mine > theirs;
        }
    }
    return false;
}
