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

namespace {

int compareNumbers(const QString& a, const QString& b)
{
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    for (int i = 0; i < qMax(left.size(), right.size()); ++i) {
        const qulonglong x = left.value(i).toULongLong();
        const qulonglong y = right.value(i).toULongLong();
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

// "rc10" after "rc9": runs of letters compare as text, runs of digits as numbers.
int compareTags(const QString& a, const QString& b)
{
    static const QRegularExpression run(QStringLiteral("\\d+|\\D+"));
    QRegularExpressionMatchIterator left = run.globalMatch(a);
    QRegularExpressionMatchIterator right = run.globalMatch(b);
    while (left.hasNext() && right.hasNext()) {
        const QString x = left.next().captured();
        const QString y = right.next().captured();
        bool xNumber = false;
        bool yNumber = false;
        const qulonglong xValue = x.toULongLong(&xNumber);
        const qulonglong yValue = y.toULongLong(&yNumber);
        if (xNumber && yNumber) {
            if (xValue != yValue) {
                return xValue < yValue ? -1 : 1;
            }
        } else if (const int order = x.compare(y, Qt::CaseInsensitive)) {
            return order < 0 ? -1 : 1;
        }
    }
    return left.hasNext() ? 1 : (right.hasNext() ? -1 : 0);
}

} // namespace

int ProductVersion::compare(const QString& a, const QString& b)
{
    const int aDash = a.indexOf(QLatin1Char('-'));
    const int bDash = b.indexOf(QLatin1Char('-'));
    if (const int order = compareNumbers(a.left(aDash), b.left(bDash))) {
        return order;
    }
    if (aDash < 0 || bDash < 0) {
        // A release comes after its pre-releases.
        return aDash < 0 ? (bDash < 0 ? 0 : 1) : -1;
    }
    return compareTags(a.mid(aDash + 1), b.mid(bDash + 1));
}
