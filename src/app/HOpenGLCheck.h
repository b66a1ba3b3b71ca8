#pragma once

class QOpenGLContext;

// Whether an OpenGL context can run the renderer: OpenGL ES 2.0 or later, or desktop OpenGL 2.0 or
// later with shader programs and framebuffer objects (the ES 2.0 function set of QOpenGLFunctions).
class HOpenGLCheck
{
public:
    static bool isSufficient(QOpenGLContext* context);
};
