#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcNet)
// Screen synchronisation, whose hot path logs nothing.
Q_DECLARE_LOGGING_CATEGORY(lcUdp)
// A slave's once-a-second comparison of its position with its master's; off unless enabled, e.g.
// with QT_LOGGING_RULES="gyre.net.udp.stats.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcUdpStats)
// Both roles: the player's position ten times a second, stamped with the monotonic clock, for the
// synchronisation benchmark; off unless enabled.
Q_DECLARE_LOGGING_CATEGORY(lcUdpClock)
