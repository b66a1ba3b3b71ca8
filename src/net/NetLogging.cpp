#include "NetLogging.h"

Q_LOGGING_CATEGORY(lcNet, "gyre.net")
Q_LOGGING_CATEGORY(lcUdp, "gyre.net.udp")
Q_LOGGING_CATEGORY(lcUdpStats, "gyre.net.udp.stats", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUdpClock, "gyre.net.udp.clock", QtWarningMsg)
