#include "HUpdateAnswer.h"

#include <QRegularExpression>

std::optional<HUpdateAnswer> HUpdateAnswer::parse(const QString& body)
{
    static const QRegularExpression pattern(QStringLiteral("([\\d]+\\.[\\d]+\\.[\\d]+\\.[\\d]+)_([\\d-]+)"));
    const QRegularExpressionMatch match = pattern.match(body);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return HUpdateAnswer{ProductVersion(match.captured(1)),
                         QDate::fromString(match.captured(2), QStringLiteral("yyyy-MM-dd"))};
}
