#include "HFrameFormat.h"

namespace {

int alignedPitch(int bytes)
{
    return (bytes + 3) & ~3;
}

} // namespace

HFrameFormat HFrameFormat::rgba(QSize pictureSize)
{
    HFrameFormat format;
    format.pixels = Rgba;
    format.size = pictureSize;
    return format;
}

HFrameFormat HFrameFormat::nv12(QSize pictureSize, bool fullRangeLevels)
{
    HFrameFormat format;
    format.pixels = Nv12;
    format.size = pictureSize;
    format.bt709 = pictureSize.width() >= 1280 || pictureSize.height() >= 720;
    format.fullRange = fullRangeLevels;
    return format;
}

int HFrameFormat::planeCount() const
{
    switch (pixels) {
    case Rgba:
        return 1;
    case Nv12:
        return 2;
    default:
        return 0;
    }
}

QSize HFrameFormat::planeSize(int plane) const
{
    if (plane < 0 || plane >= planeCount()) {
        return QSize();
    }
    if (plane == 0) {
        return size;
    }
    return QSize((size.width() + 1) / 2, (size.height() + 1) / 2);
}

int HFrameFormat::bytesPerPixel(int plane) const
{
    if (pixels == Rgba) {
        return 4;
    }
    return plane == 0 ? 1 : 2;
}

int HFrameFormat::pitch(int plane) const
{
    return alignedPitch(planeSize(plane).width() * bytesPerPixel(plane));
}

std::size_t HFrameFormat::planeBytes(int plane) const
{
    return std::size_t(pitch(plane)) * std::size_t(planeSize(plane).height());
}

std::size_t HFrameFormat::bytes() const
{
    std::size_t total = 0;
    for (int plane = 0; plane < planeCount(); ++plane) {
        total += planeBytes(plane);
    }
    return total;
}

QMatrix4x4 HFrameFormat::yuvToRgb() const
{
    // The luma weights of red and blue; green's is what is left.
    const float kr = bt709 ? 0.2126f : 0.299f;
    const float kb = bt709 ? 0.0722f : 0.114f;
    const float kg = 1.0f - kr - kb;
    const float lumaScale = fullRange ? 1.0f : 255.0f / 219.0f;
    const float lumaOffset = fullRange ? 0.0f : 16.0f / 255.0f;
    const float chromaScale = fullRange ? 1.0f : 255.0f / 224.0f;
    const float chromaOffset = 128.0f / 255.0f;

    const float rv = 2.0f * (1.0f - kr) * chromaScale;
    const float bu = 2.0f * (1.0f - kb) * chromaScale;
    const float gu = 2.0f * kb * (1.0f - kb) / kg * chromaScale;
    const float gv = 2.0f * kr * (1.0f - kr) / kg * chromaScale;
    const float y0 = -lumaScale * lumaOffset;
    return QMatrix4x4(lumaScale, 0.0f, rv, y0 - rv * chromaOffset,        //
                      lumaScale, -gu, -gv, y0 + (gu + gv) * chromaOffset, //
                      lumaScale, bu, 0.0f, y0 - bu * chromaOffset,        //
                      0.0f, 0.0f, 0.0f, 1.0f);
}
