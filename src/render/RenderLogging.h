#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcRender)
// What reaches the window: once a second the frames presented, dropped and decoded, and when the
// window and a media's first frame appear. Off unless enabled, e.g. with
// QT_LOGGING_RULES="gyre.render.stats.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcRenderStats)
// Once a second the textures alive in the window's OpenGL context, for long runs that look for
// leaks. Off unless enabled ("gyre.render.resources.info=true"): counting costs a few thousand
// OpenGL lookups.
Q_DECLARE_LOGGING_CATEGORY(lcRenderResources)
// A tiled photo's tiles: how long the tiles of a still view took to arrive. Off unless enabled
// ("gyre.render.tiles.info=true").
Q_DECLARE_LOGGING_CATEGORY(lcRenderTiles)
