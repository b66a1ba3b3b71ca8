#include "NetLogging.h"

Q_LOGGING_CATEGORY(lcNet, "gyre.net")
