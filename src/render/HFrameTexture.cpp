#include "HFrameTexture.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {

#ifndef GL_RED
constexpr GLenum GL_RED = 0x1903;
#endif
constexpr GLenum glRg = 0x8227;
constexpr GLenum glR8 = 0x8229;
constexpr GLenum glRg8 = 0x822B;
constexpr GLenum glTextureSwizzleA = 0x8E45;
constexpr GLenum glGreen = 0x1904;

// The pixel format of a plane: one channel for Y, two for the interleaved U and V (luminance and
// alpha, or red and green in a core profile, which has no luminance), four for RGBA.
GLenum planeFormat(const HFrameFormat& format, int plane, bool core)
{
    if (!format.isYuv()) {
        return GL_RGBA;
    }
    if (plane == 0) {
        return core ? GL_RED : GL_LUMINANCE;
    }
    return core ? glRg : GL_LUMINANCE_ALPHA;
}

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
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        const QSize size = format.planeSize(plane);
        gl->glBindTexture(GL_TEXTURE_2D, textures[std::size_t(plane)]);
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.width(), size.height(),
                            planeFormat(format, plane, redNotLuminance), GL_UNSIGNED_BYTE, planes[plane]);
    }
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    empty = false;
}

void HFrameTexture::allocate(QOpenGLFunctions* gl, const HFrameFormat& format)
{
    deleteTextures();
    // The shader reads Y from the first channel and U and V from the first and the alpha channel:
    // a core profile's red-green texture gives its green as alpha.
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
        const GLenum pixelFormat = planeFormat(format, plane, redNotLuminance);
        GLint internal = GLint(pixelFormat);
        if (redNotLuminance && format.isYuv()) {
            internal = plane == 0 ? GLint(glR8) : GLint(glRg8);
            if (plane == 1) {
                gl->glTexParameteri(GL_TEXTURE_2D, glTextureSwizzleA, GLint(glGreen));
            }
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
