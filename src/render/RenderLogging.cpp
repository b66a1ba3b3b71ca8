#include "RenderLogging.h"

Q_LOGGING_CATEGORY(lcRender, "gyre.render")
