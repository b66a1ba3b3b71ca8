#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVideo)
// The once-a-second frame counts of a playing video; off unless enabled, e.g. with
// QT_LOGGING_RULES="gyre.video.stats.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcVideoStats)
