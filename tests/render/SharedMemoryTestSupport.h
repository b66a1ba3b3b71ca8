#pragma once

#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryLayout.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtTest>

#include <cstring>

// What the shared-memory test needs: segment names of its own, a look into a slot from the test's
// side, and a texture read back through a framebuffer.
namespace SharedMemoryTestSupport {

namespace L = SharedMemoryLayout;

// No producer of the machine and no other test uses the name; it is removed however the test ends.
struct SegmentName
{
    const QString name =
        QStringLiteral("gyre-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
    ~SegmentName() { HSharedMemorySegment::remove(name); }
    static inline int count = 0;
};

inline quint16 frameReady(const HSharedMemorySegment& segment, int slot)
{
    return L::read<quint16>(segment.data(), L::slotDescriptor(slot) + L::frameReadyOffset);
}

// The texture's level 0 through a framebuffer, rows in the order they were uploaded.
inline QImage readBack(GLuint texture, QSize size)
{
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    GLuint framebuffer = 0;
    gl->glGenFramebuffers(1, &framebuffer);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl->glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    QImage image(size, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    if (gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        gl->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    }
    gl->glBindFramebuffer(GL_FRAMEBUFFER, QOpenGLContext::currentContext()->defaultFramebufferObject());
    gl->glDeleteFramebuffers(1, &framebuffer);
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace SharedMemoryTestSupport
