#pragma once

#include "HPanoramaMaterial.h"
#include "HTileKey.h"

#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class HTiledTexture;
class QOpenGLFramebufferObject;
class QOpenGLShaderProgram;

// Finds the tiles a view of a tiled photo shows: draws the view at an eighth of its size with the
// builder's request shader, which writes each pixel's tile and level instead of its colour, and reads
// the pixels back. The same text as the picture's decides, so every projection, stereo layout and
// picture range asks for exactly what it samples. Render thread, with the scene graph's context
// current, before the frame is rendered (the renderer binds its own target afterwards).
class HTileFeedback
{
public:
    HTileFeedback();
    ~HTileFeedback();

    void setShader(const QString& requestShader);
    // The view's tiles, nearest to its centre first; empty when the pass cannot run here.
    std::vector<HTileKey> run(const HPanoramaState& state, const QSizeF& pixels,
                              const HTiledTexture& texture);

private:
    QString text;
    std::unique_ptr<QOpenGLShaderProgram> program;
    bool failed = false;
    std::unique_ptr<QOpenGLFramebufferObject> target;
};
