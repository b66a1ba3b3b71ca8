#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// One synchronisation datagram: a JSON object with the members below, in Qt 5's binary JSON form
// (what QJsonDocument::toBinaryData writes), sent by a master many times a second and read by every
// slave that receives it. The first seven are what every player speaks; "clock" and "rate" come
// from newer masters, and older slaves ignore them.
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
    // When the master read the position and the view, in milliseconds on its monotonic clock; 0
    // from a master that does not say.
    double clock = 0.0;
    // The master's playback rate; 1 from a master that does not say.
    double rate = 1.0;

    bool hasClock() const { return clock > 0.0; }

    // The members as the master builds them: id, url as strings, the angles as floats, state and
    // position as ints, clock and rate as doubles (left out when there is no clock).
    QVariantMap toVariantMap() const;
    QByteArray toBinary() const;

    // Nothing when the bytes are not a binary JSON object with at least one member. Anyone who can
    // reach a slave's port can send it anything, so the bytes are checked before Qt reads them. A
    // missing member reads as an empty string or 0, and so does a number that is not finite; an
    // integer beyond the int range is clamped to it. A clock beyond any machine's uptime (a century)
    // reads as none, a rate outside libvlc's 0.25 to 4 as 1.
    static std::optional<HSyncDatagram> fromBinary(const QByteArray& bytes);
};
