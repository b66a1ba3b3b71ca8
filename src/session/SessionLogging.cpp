#include "SessionLogging.h"

Q_LOGGING_CATEGORY(lcSession, "gyre.session")
