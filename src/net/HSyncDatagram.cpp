#include "HSyncDatagram.h"

#include "HBinaryJsonValidator.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {
// The members of a datagram, named once for writing and reading.
namespace Key {
const QString id = QStringLiteral("id");
const QString yaw = QStringLiteral("yaw");
const QString pitch = QStringLiteral("pitch");
const QString roll = QStringLiteral("roll");
const QString url = QStringLiteral("url");
const QString state = QStringLiteral("state");
const QString position = QStringLiteral("position");
const QString clock = QStringLiteral("clock");
const QString rate = QStringLiteral("rate");
} // namespace Key

constexpr double centuryMs = 100.0 * 365.25 * 24 * 3600 * 1000;

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
    QVariantMap map{{Key::id, id},   {Key::yaw, yaw},     {Key::pitch, pitch},      {Key::roll, roll},
                    {Key::url, url}, {Key::state, state}, {Key::position, position}};
    if (hasClock()) {
        map.insert(Key::clock, clock);
        map.insert(Key::rate, rate);
    }
    return map;
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
    datagram.id = map.value(Key::id).toString();
    datagram.yaw = angle(map.value(Key::yaw));
    datagram.pitch = angle(map.value(Key::pitch));
    datagram.roll = angle(map.value(Key::roll));
    datagram.url = map.value(Key::url).toString();
    datagram.state = clampedInt(map.value(Key::state));
    datagram.position = clampedInt(map.value(Key::position));
    const double clock = finiteNumber(map.value(Key::clock));
    datagram.clock = clock > 0.0 && clock < centuryMs ? clock : 0.0;
    const double rate = finiteNumber(map.value(Key::rate));
    datagram.rate = rate >= 0.25 && rate <= 4.0 ? rate : 1.0;
    return datagram;
}

QT_WARNING_POP
