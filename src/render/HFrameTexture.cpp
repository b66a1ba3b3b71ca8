#include "HFrameTexture.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {

#ifndef GL_RED
constexpr GLenum GL_RED = 0x1903;
#endif
constexpr GLenum glR8 = 0x8229;

} // namespace

HFrameTexture::HFrameTexture() = default;

HFrameTexture::~HFrameTexture()
{
    deleteTextures();
}

int HFrameTexture::textureId() const
{
    return int(textures[0]);
}

QSize HFrameTexture::textureSize() const
{
    return currentFormat.size;
}

void HFrameTexture::bind()
{
    QOpenGLContext::currentContext()->functions()->glBindTexture(GL_TEXTURE_2D, textures[0]);
}

void HFrameTexture::bindPlanes(QOpenGLFunctions* gl)
{
    const int planes = currentFormat.planeCount();
    for (int plane = planes - 1; plane >= 0; --plane) {
        gl->glActiveTexture(GLenum(GL_TEXTURE0 + plane));
        gl->glBindTexture(GL_TEXTURE_2D, textures[std::size_t(plane)]);
    }
}

void HFrameTexture::upload(const HFrameFormat& format, const uchar* const* planes)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context || !format.isValid()) {
        return;
    }
    QOpenGLFunctions* gl = context->functions();
    if (format.pixels != currentFormat.pixels || format.size != currentFormat.size || !textures[0]) {
        allocate(gl, format);
    }
    currentFormat = format;

    GLint alignment = 4;
    gl->glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const GLenum yuvFormat = redNotLuminance ? GL_RED : GL_LUMINANCE;
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        const QSize size = format.planeSize(plane);
        gl->glBindTexture(GL_TEXTURE_2D, textures[std::size_t(plane)]);
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.width(), size.height(),
                            format.isYuv() ? yuvFormat : GL_RGBA, GL_UNSIGNED_BYTE, planes[plane]);
    }
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    empty = false;
}

void HFrameTexture::allocate(QOpenGLFunctions* gl, const HFrameFormat& format)
{
    deleteTextures();
    // Single-channel textures are luminance in OpenGL ES 2.0 and compatibility contexts, red in a
    // core profile, which has no luminance; the shader reads the first channel of either.
    redNotLuminance = QOpenGLContext::currentContext()->format().profile() == QSurfaceFormat::CoreProfile;
    const int planes = format.planeCount();
    gl->glGenTextures(planes, textures.data());
    for (int plane = 0; plane < planes; ++plane) {
        const QSize size = format.planeSize(plane);
        gl->glBindTexture(GL_TEXTURE_2D, textures[std::size_t(plane)]);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        // Frames of any size must sample on OpenGL ES 2.0 too, which repeats only powers of two.
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        GLint internal = GL_RGBA;
        GLenum pixelFormat = GL_RGBA;
        if (format.isYuv()) {
            internal = redNotLuminance ? GLint(glR8) : GLint(GL_LUMINANCE);
            pixelFormat = redNotLuminance ? GL_RED : GL_LUMINANCE;
        }
        gl->glTexImage2D(GL_TEXTURE_2D, 0, internal, size.width(), size.height(), 0, pixelFormat,
                         GL_UNSIGNED_BYTE, nullptr);
    }
}

void HFrameTexture::deleteTextures()
{
    if (!textures[0]) {
        return;
    }
    if (QOpenGLContext* context = QOpenGLContext::currentContext()) {
        // Names of planes a format does not have are 0, which OpenGL ignores.
        context->functions()->glDeleteTextures(GLsizei(textures.size()), textures.data());
    }
    textures = {};
}
