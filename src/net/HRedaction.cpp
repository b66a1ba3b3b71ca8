#include "HRedaction.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

struct Rule
{
    QRegularExpression pattern;
    QString replacement;
};

const QList<Rule>& rules()
{
    static const QString hidden = QLatin1String(HRedaction::mark);
    // A segment ends at a slash, a query, a fragment or the end of the URL in the text.
    static const QString segment = QStringLiteral("[^/?#\\s\"']+");
    static const QList<Rule> all{
        {QRegularExpression(QStringLiteral("(/public/token/)%1/%1").arg(segment)),
         QStringLiteral("\\1%1/%1").arg(hidden)},
        {QRegularExpression(QStringLiteral("(/public/refresh_token/)(%1/){3}%1").arg(segment)),
         QStringLiteral("\\1%1").arg(hidden)},
        {QRegularExpression(QStringLiteral("(/oauth/videos/)%1").arg(segment)),
         QStringLiteral("\\1%1").arg(hidden)},
        {QRegularExpression(QStringLiteral("(Bearer\\s+)\\S+"), QRegularExpression::CaseInsensitiveOption),
         QStringLiteral("\\1%1").arg(hidden)},
        {QRegularExpression(QStringLiteral("([?&]data=)[^&#\\s\"']*")), QStringLiteral("\\1%1").arg(hidden)},
    };
    return all;
}

} // namespace

QString HRedaction::redacted(const QString& text, const QStringList& secrets)
{
    QString result = text;
    for (const QString& secret : secrets) {
        // A secret of one or two characters would hide half of every message; the path rules
        // cover where such a secret travels.
        if (secret.size() < 3) {
            continue;
        }
        const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(secret));
        result.replace(secret, QLatin1String(mark));
        result.replace(encoded, QLatin1String(mark));
    }
    for (const Rule& rule : rules()) {
        result.replace(rule.pattern, rule.replacement);
    }
    return result;
}
