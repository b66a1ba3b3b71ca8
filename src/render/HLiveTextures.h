#pragma once

#include <QtGlobal>

class QOpenGLFunctions;

// Counts the textures alive in the current OpenGL context and those it shares with, ours and Qt's
// alike, so that a long run can tell whether switching media gives every texture back. OpenGL has
// no query for this: the count asks glIsTexture of every name up to a bound. The bound is the name
// a fresh glGenTextures hands out (above every name ever used where names are not reused) or the
// highest live name of the last count, whichever is higher, plus a margin for names reused below
// it. Costs a few thousand lookups; meant for a once-a-second report, not for every frame.
class HLiveTextures
{
public:
    // The context must be current on the calling thread.
    int count(QOpenGLFunctions* gl);

private:
    quint32 highestLive = 0;
};
