#pragma once

#include "HFrameFormat.h"

#include <QSGDynamicTexture>

#include <array>

class QOpenGLFunctions;

// A video frame on the render thread: one RGBA texture, or a Y texture and a two-channel texture of U and V
// that the panorama's shader turns into colour. The planes are uploaded straight from the decoder's
// buffers; their pitches are what OpenGL's default unpack alignment expects, so nothing is repacked.
// updateTexture() takes the next frame, if there is one, from whatever feeds the subclass.
//
// Lives on the render thread; the textures go when it is deleted there, with its context current.
class HFrameTexture : public QSGDynamicTexture
{
    Q_OBJECT

public:
    HFrameTexture();
    ~HFrameTexture() override;

    int textureId() const override;
    QSize textureSize() const override;
    bool hasAlphaChannel() const override { return false; }
    bool hasMipmaps() const override { return false; }
    // Plane 0 on the active texture unit: the whole picture for RGBA frames.
    void bind() override;

    const HFrameFormat& format() const { return currentFormat; }
    // No picture to show (none yet, or the last one belonged to a media that is gone).
    bool isEmpty() const { return empty; }
    // Every plane on its own unit, from GL_TEXTURE0 on; leaves GL_TEXTURE0 active.
    void bindPlanes(QOpenGLFunctions* gl);

protected:
    // Uploads one picture of that format; the texture storage follows a change of format.
    void upload(const HFrameFormat& format, const uchar* const* planes);
    // Keeps the storage but shows nothing until the next upload.
    void setEmpty() { empty = true; }

private:
    void allocate(QOpenGLFunctions* gl, const HFrameFormat& format);
    void deleteTextures();

    HFrameFormat currentFormat;
    std::array<unsigned, 2> textures{};
    bool empty = true;
    bool redNotLuminance = false;
};
