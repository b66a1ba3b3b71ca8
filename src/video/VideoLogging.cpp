#include "VideoLogging.h"

Q_LOGGING_CATEGORY(lcVideo, "gyre.video")
