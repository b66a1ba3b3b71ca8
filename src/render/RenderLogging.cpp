#include "RenderLogging.h"

Q_LOGGING_CATEGORY(lcRender, "gyre.render")
Q_LOGGING_CATEGORY(lcRenderStats, "gyre.render.stats", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRenderResources, "gyre.render.resources", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRenderTiles, "gyre.render.tiles", QtWarningMsg)
