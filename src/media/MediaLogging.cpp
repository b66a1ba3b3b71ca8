#include "MediaLogging.h"

Q_LOGGING_CATEGORY(lcMedia, "gyre.media")
