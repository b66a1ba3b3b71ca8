#include "DevicesLogging.h"

Q_LOGGING_CATEGORY(lcDevices, "gyre.devices")
