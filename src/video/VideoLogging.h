#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVideo)
// Each of libvlc's time reports, stamped, with how far it lay off the player's clock; off unless
// enabled (the synchronisation benchmark checks the clocks with it).
Q_DECLARE_LOGGING_CATEGORY(lcVideoClock)
