#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// One synchronisation datagram: a JSON object with the seven members below, in Qt 5's binary JSON
// form (what QJsonDocument::toBinaryData writes), sent by a master many times a second and read by
// every slave that receives it.
struct HSyncDatagram
{
    QString id;
    // Radians.
    float yaw = 0.0f;
    float pitch = 0.0f;
    float roll = 0.0f;
    QString url;
    // The player's playbackState: 0 stopped, 1 playing, 2 paused.
    int state = 0;
    // Milliseconds.
    int position = 0;

    // The members as the master builds them: id, url as strings, the angles as floats, state and
    // position as ints.
    QVariantMap toVariantMap() const;
    QByteArray toBinary() const;

    // Nothing when the bytes are not a binary JSON object with at least one member. Anyone who can
    // reach a slave's port can send it anything, so the bytes are checked before Qt reads them. A
    // missing member reads as an empty string or 0, and so does a number that is not finite; an
    // integer beyond the int range is clamped to it.
    static std::optional<HSyncDatagram> fromBinary(const QByteArray& bytes);
};
