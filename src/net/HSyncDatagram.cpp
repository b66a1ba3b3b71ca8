#include "HSyncDatagram.h"

#include "HBinaryJsonValidator.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {
double finiteNumber(const QVariant& value)
{
    const double number = value.toDouble();
    return std::isfinite(number) ? number : 0.0;
}

// A float, or 0 for what no float holds.
float angle(const QVariant& value)
{
    const double number = finiteNumber(value);
    return std::abs(number) <= double(std::numeric_limits<float>::max()) ? float(number) : 0.0f;
}

int clampedInt(const QVariant& value)
{
    const double number = finiteNumber(value);
    if (number >= double(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (number <= double(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return int(number);
}
} // namespace

QVariantMap HSyncDatagram::toVariantMap() const
{
    return QVariantMap{{QStringLiteral("id"), id},
                       {QStringLiteral("yaw"), yaw},
                       {QStringLiteral("pitch"), pitch},
                       {QStringLiteral("roll"), roll},
                       {QStringLiteral("url"), url},
                       {QStringLiteral("state"), state},
                       {QStringLiteral("position"), position}};
}

// Qt 5's binary JSON is deprecated in favour of CBOR, but it is what every player on the network
// speaks.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

QByteArray HSyncDatagram::toBinary() const
{
    return QJsonDocument(QJsonObject::fromVariantMap(toVariantMap())).toBinaryData();
}

std::optional<HSyncDatagram> HSyncDatagram::fromBinary(const QByteArray& bytes)
{
    if (!HBinaryJsonValidator::isAcceptable(bytes.constData(), std::size_t(bytes.size()))) {
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromBinaryData(bytes, QJsonDocument::Validate);
    if (document.isNull()) {
        return std::nullopt;
    }
    const QVariantMap map = document.object().toVariantMap();
    if (map.isEmpty()) {
        return std::nullopt;
    }
    HSyncDatagram datagram;
    datagram.id = map.value(QStringLiteral("id")).toString();
    datagram.yaw = angle(map.value(QStringLiteral("yaw")));
    datagram.pitch = angle(map.value(QStringLiteral("pitch")));
    datagram.roll = angle(map.value(QStringLiteral("roll")));
    datagram.url = map.value(QStringLiteral("url")).toString();
    datagram.state = clampedInt(map.value(QStringLiteral("state")));
    datagram.position = clampedInt(map.value(QStringLiteral("position")));
    return datagram;
}

QT_WARNING_POP
