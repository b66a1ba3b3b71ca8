#include "BaseLogging.h"

Q_LOGGING_CATEGORY(lcSettings, "gyre.settings")
