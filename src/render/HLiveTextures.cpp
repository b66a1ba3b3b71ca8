#include "HLiveTextures.h"

#include <QOpenGLFunctions>

#include <algorithm>

namespace {
// Names reused below the probe, or made since the last count, are looked for this far beyond it.
constexpr quint32 margin = 1024;
} // namespace

int HLiveTextures::count(QOpenGLFunctions* gl)
{
    GLuint probe = 0;
    gl->glGenTextures(1, &probe);
    gl->glDeleteTextures(1, &probe);
    const quint32 bound = std::max<quint32>(probe, highestLive) + margin;
    int alive = 0;
    highestLive = 0;
    for (GLuint name = 1; name <= bound; ++name) {
        if (name != probe && gl->glIsTexture(name)) {
            ++alive;
            highestLive = name;
        }
    }
    return alive;
}
