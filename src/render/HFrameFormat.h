#pragma once

#include <QMatrix4x4>
#include <QSize>

#include <array>
#include <cstddef>

// How a decoded picture lies in memory: RGBA in one plane, or 8-bit 4:2:0 YUV in two (Y, then U and
// V interleaved at half the width and height, as NV12). Every plane's line pitch is its width rounded up to
// four bytes, OpenGL's default unpack alignment, so that a plane uploads as it is, without repacking.
struct HFrameFormat
{
    enum Pixels
    {
        None,
        Rgba,
        Nv12
    };

    Pixels pixels = None;
    QSize size;
    // BT.709 for HD and larger pictures, BT.601 below; YUV only.
    bool bt709 = false;
    // Full-range (JPEG) levels rather than the studio range 16..235; YUV only.
    bool fullRange = false;

    static HFrameFormat rgba(QSize size);
    static HFrameFormat nv12(QSize size, bool fullRange);

    bool isValid() const { return pixels != None && !size.isEmpty(); }
    bool isYuv() const { return pixels == Nv12; }
    // Bytes per texel of a plane: 4 for RGBA, 1 for Y, 2 for the interleaved U and V.
    int bytesPerPixel(int plane) const;
    int planeCount() const;
    QSize planeSize(int plane) const;
    int pitch(int plane) const;
    std::size_t planeBytes(int plane) const;
    std::size_t bytes() const;
    // Y, U, V (each 0..1) and 1 to R, G, B and 1, for the fragment shader.
    QMatrix4x4 yuvToRgb() const;

    bool operator==(const HFrameFormat& other) const
    {
        return pixels == other.pixels && size == other.size && bt709 == other.bt709 &&
               fullRange == other.fullRange;
    }
    bool operator!=(const HFrameFormat& other) const { return !(*this == other); }
};
