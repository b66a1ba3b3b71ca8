#include "VideoLogging.h"

Q_LOGGING_CATEGORY(lcVideo, "gyre.video")
Q_LOGGING_CATEGORY(lcVideoClock, "gyre.video.clock", QtWarningMsg)
