#include "HSharedMemoryTexture.h"

#include "SharedMemoryManager.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

HSharedMemoryTexture::HSharedMemoryTexture(SharedMemoryManager* frames) : manager(frames)
{
}

QSize HSharedMemoryTexture::textureSize() const
{
    return manager->textureSize();
}

void HSharedMemoryTexture::bind()
{
    QOpenGLContext::currentContext()->functions()->glBindTexture(GL_TEXTURE_2D, GLuint(name));
}

bool HSharedMemoryTexture::updateTexture()
{
    const bool waiting = manager->frameWaiting();
    name = manager->textureId();
    return waiting;
}
