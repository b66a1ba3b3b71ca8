#include "HOpenGLCheck.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

bool HOpenGLCheck::isSufficient(QOpenGLContext* context)
{
    if (!context || !context->isValid()) {
        return false;
    }
    const QSurfaceFormat format = context->format();
    if (format.majorVersion() < 2) {
        return false;
    }
    if (context->isOpenGLES()) {
        return true;
    }
    const QOpenGLFunctions functions(context);
    return functions.hasOpenGLFeature(QOpenGLFunctions::Shaders) &&
           functions.hasOpenGLFeature(QOpenGLFunctions::Framebuffers);
}
