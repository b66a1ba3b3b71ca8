#pragma once

#include "render/HShaderCodeBuilder.h"

#include <QImage>
#include <QPointF>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <optional>

// The picture the panorama view should show, computed on the CPU from the projection equations:
// for every pixel a ray (or, for the flat projection, a map position), its longitude and
// colatitude, the frame's texture coordinate and a bilinear sample of the frame. The camera is
// built from yaw and pitch directly, not from the global object's matrix.
namespace PanoramaReference {

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 2.0 * pi;
constexpr double degree = pi / 180.0;

struct Limits
{
    double yawMin, yawMax, pitchMin, pitchMax;
};
inline constexpr Limits fullSphere{-pi, pi, -pi / 2.0, pi / 2.0};
inline constexpr Limits defaultBand{-pi, pi, -15.0 * degree, 45.0 * degree};

struct View
{
    int projection = HShaderCodeBuilder::RECTILINEAR;
    int stereo = HShaderCodeBuilder::STEREO_2D;
    bool stacked = false;
    bool rightEye = false; // a flat screen shows the second picture of a stereo frame
    double yaw = 0.0;      // radians; the view turns to the right as it grows
    double pitch = 0.0;    // radians; the view centre is at latitude -pitch
    double fov = 60.0;     // degrees, across the shorter side of the item
    Limits limits = fullSphere;
    // The screen's place in a room: turned in the view's own frame (radians; pitch down, roll
    // lifting the right side), with a field of view of its own across the width (degrees; 0 none).
    double yawOffset = 0.0, pitchOffset = 0.0, rollOffset = 0.0;
    double screenFov = 0.0;
    // A dome's circle spans the aperture (degrees), its centre leaning the tilt (radians) from the
    // zenith to the front.
    double domeAperture = 180.0;
    double domeTilt = 0.0;
};

struct Vec3
{
    double x, y, z;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    double length() const { return std::sqrt(dot(*this)); }
};

// The sphere's directions: +Y up, longitude 0 (the frame's left edge) along +Z and growing
// towards -X, so that longitude pi (the middle of the frame) is straight ahead along -Z.
inline Vec3 direction(double longitude, double latitude)
{
    return {-std::cos(latitude) * std::sin(longitude), std::sin(latitude),
            std::cos(latitude) * std::cos(longitude)};
}

struct Spherical
{
    double longitude;  // 0..2 pi
    double colatitude; // 0 (up) .. pi (down)
};

inline Spherical spherical(const Vec3& v)
{
    double longitude = -std::atan2(v.x, v.z);
    if (longitude < 0.0) {
        longitude += twoPi;
    }
    return {longitude, std::acos(v.y / v.length())};
}

// The coordinate of one picture position within its own picture; a stereo frame's eye is placed in
// its half of the frame afterwards.
inline QPointF toFrame(int, double longitude, double colatitude)
{
    return {longitude / twoPi, colatitude / pi};
}

// Texture coordinate for the pixel centre (fx, fy) of an item of the given size, in OpenGL's
// window coordinates (y up); nothing where the projection defines no picture (outside the
// mirror ball's disc).
inline std::optional<QPointF> textureCoordinate(const View& view, QSizeF size, double fx, double fy)
{
    // Centre 0, the shorter side spanning -1..1, y up.
    const double shorter = std::min(size.width(), size.height());
    const double sx = (2.0 * fx - size.width()) / shorter;
    const double sy = (2.0 * fy - size.height()) / shorter;
    // A field of view across the width: a lens's tangent, every other projection's angle, reaches
    // the width's edge, which lies width / shorter out.
    const double across = size.width() / shorter;
    double fov = view.fov * degree;
    if (view.screenFov > 0.0) {
        fov = view.projection == HShaderCodeBuilder::RECTILINEAR
                  ? 2.0 * std::atan(std::tan(view.screenFov * degree / 2.0) / across)
                  : view.screenFov * degree / across;
    }

    QPointF a;
    if (view.projection == HShaderCodeBuilder::NO_PROJECTION) {
        // A window cut straight out of the map: longitude and colatitude move linearly with the
        // screen, half the field of view from the centre to the shorter side's edge.
        double longitude = sx * fov / 2.0 + pi + view.yaw + view.yawOffset;
        const double fromSouth = sy * fov / 2.0 + pi / 2.0 - view.pitch - view.pitchOffset;
        longitude -= twoPi * std::floor(longitude / twoPi);
        if (longitude < 0.0) {
            longitude += twoPi;
        }
        if (longitude >= twoPi) {
            longitude -= twoPi;
        }
        a = toFrame(view.stereo, longitude, fromSouth);
        a.setY(1.0 - a.y());
        a.setX(a.x() - std::floor(a.x()));
    } else {
        // The camera: forward at (pi + yaw, -pitch), right along growing longitude, up.
        const double centreLongitude = pi + view.yaw;
        const Vec3 forward = direction(centreLongitude, -view.pitch);
        const Vec3 right{-std::cos(centreLongitude), 0.0, -std::sin(centreLongitude)};
        const Vec3 up{right.y * forward.z - right.z * forward.y, right.z * forward.x - right.x * forward.z,
                      right.x * forward.y - right.y * forward.x};
        // A vector in the screen's own frame (x right, y up, z backwards) in sphere directions: rolled,
        // pitched down and turned right by the screen's offsets within the camera's frame.
        const auto world = [&](double x, double y, double z) {
            const double cr = std::cos(view.rollOffset), sr = std::sin(view.rollOffset);
            const Vec3 rolled{x * cr - y * sr, x * sr + y * cr, z};
            const double cp = std::cos(view.pitchOffset), sp = std::sin(view.pitchOffset);
            const Vec3 pitched{rolled.x, rolled.y * cp + rolled.z * sp, -rolled.y * sp + rolled.z * cp};
            const double cw = std::cos(view.yawOffset), sw = std::sin(view.yawOffset);
            const Vec3 turned{pitched.x * cw - pitched.z * sw, pitched.y, pitched.x * sw + pitched.z * cw};
            return right * turned.x + up * turned.y - forward * turned.z;
        };

        switch (view.projection) {
        case HShaderCodeBuilder::RECTILINEAR: {
            const double t = std::tan(fov / 2.0);
            const Spherical s = spherical(world(t * sx, t * sy, -1.0));
            a = toFrame(view.stereo, s.longitude, s.colatitude);
            break;
        }
        case HShaderCodeBuilder::LITTLE_PLANET: {
            // Stereographic, from the point at distance b + 1 behind the sphere's pole.
            const double b = 0.25;
            const double cx = fov * sx, cy = fov * sy;
            const double f = 2.0 * (b + 1.0) / (cx * cx + cy * cy + (b + 1.0) * (b + 1.0));
            const Spherical s = spherical(world(f * cx, f * cy, 1.0 - f));
            a = toFrame(view.stereo, s.longitude, s.colatitude);
            break;
        }
        case HShaderCodeBuilder::FISHEYE: {
            // Equidistant: the angle from the view axis grows linearly with the distance from
            // the centre; beyond a whole turn there is nothing.
            const double r = std::hypot(sx, sy);
            if (r * fov > twoPi) {
                a = QPointF(-1.0, -1.0);
                break;
            }
            const double angle = r * fov / 2.0;
            const Spherical s =
                spherical(world(sx * std::sin(angle) / r, sy * std::sin(angle) / r, -std::cos(angle)));
            a = toFrame(view.stereo, s.longitude, s.colatitude);
            break;
        }
        case HShaderCodeBuilder::DOME: {
            // Azimuthal equidistant about the dome's centre, the front at the bottom of the circle,
            // the right on the right; nothing beyond the circle.
            const double r = std::hypot(sx, sy);
            if (r > 1.0) {
                a = QPointF(-1.0, -1.0);
                break;
            }
            const double t = view.domeTilt;
            const Vec3 centre{0.0, std::cos(t), -std::sin(t)};
            const Vec3 front{0.0, -std::sin(t), -std::cos(t)};
            const Vec3 toRight{1.0, 0.0, 0.0};
            const double angle = r * view.domeAperture * degree / 2.0;
            const Vec3 d =
                centre * std::cos(angle) + (toRight * (sx / r) - front * (sy / r)) * std::sin(angle);
            const Spherical s = spherical(world(d.x, d.y, d.z));
            a = toFrame(view.stereo, s.longitude, s.colatitude);
            break;
        }
        case HShaderCodeBuilder::MIRROR_BALL: {
            // The screen shows a ball of radius 1/fov; the view axis is reflected at its normal.
            const double bx = -fov * sx, by = -fov * sy;
            const double inside = 1.0 - bx * bx - by * by;
            if (inside < 0.0) {
                return std::nullopt;
            }
            const Vec3 normal = world(bx, by, std::sqrt(inside));
            const Vec3 axis = world(0.0, 0.0, 1.0);
            const Vec3 reflected = axis - normal * (2.0 * normal.dot(axis));
            const Spherical s = spherical(reflected * (1.0 / reflected.length()));
            const QPointF flipped = toFrame(view.stereo, twoPi - s.longitude, pi - s.colatitude);
            a = QPointF(1.0 - flipped.x(), 1.0 - flipped.y());
            break;
        }
        default:
            return std::nullopt;
        }
    }

    // A frame covering only part of the sphere: stretch its yaw and pitch ranges over 0..1.
    const Limits& l = view.limits;
    const double fx_ = 1.0 / (std::abs(l.yawMin - l.yawMax) / twoPi);
    const double gx = fx_ * (std::abs(-pi - l.yawMin) / twoPi);
    const double fy_ = 1.0 / (std::abs(l.pitchMin - l.pitchMax) / pi);
    const double gy = fy_ * (std::abs(pi / 2.0 - l.pitchMax) / pi);
    a = QPointF(a.x() * fx_ - gx, a.y() * fy_ - gy);

    // A stereo frame: the first picture in the upper or left half, the second in the other.
    const bool inside = a.x() >= 0.0 && a.x() <= 1.0 && a.y() >= 0.0 && a.y() <= 1.0;
    const double second = view.rightEye ? 0.5 : 0.0;
    if (inside && view.stereo == HShaderCodeBuilder::STEREO_3D_OVERUNDER) {
        a.setY(0.5 * a.y() + second);
    } else if (inside && view.stereo == HShaderCodeBuilder::STEREO_3D_SIDEBYSIDE) {
        a.setX(0.5 * a.x() + second);
    }

    // Stacked frames hold the left half of the panorama above the right half.
    if (view.stacked && a.x() >= 0.0 && a.x() <= 1.0 && a.y() >= 0.0 && a.y() <= 1.0) {
        a = a.x() < 0.5 ? QPointF(a.x() * 2.0, a.y() / 2.0) : QPointF((a.x() - 0.5) * 2.0, a.y() / 2.0 + 0.5);
    }
    return a;
}

// Bilinear sample with clamped edges, as OpenGL filters the frame; row 0 is the top of the frame
// (texture coordinate 0). Outside 0..1 the picture is black.
inline void sample(const QImage& frame, QPointF a, double rgb[3])
{
    rgb[0] = rgb[1] = rgb[2] = 0.0;
    if (!(a.x() >= 0.0 && a.x() <= 1.0 && a.y() >= 0.0 && a.y() <= 1.0)) {
        return;
    }
    const double tx = a.x() * frame.width() - 0.5, ty = a.y() * frame.height() - 0.5;
    const int x0 = int(std::floor(tx)), y0 = int(std::floor(ty));
    const double wx = tx - x0, wy = ty - y0;
    const auto clampX = [&](int x) { return std::clamp(x, 0, frame.width() - 1); };
    const auto clampY = [&](int y) { return std::clamp(y, 0, frame.height() - 1); };
    const QRgb* top = reinterpret_cast<const QRgb*>(frame.constScanLine(clampY(y0)));
    const QRgb* bottom = reinterpret_cast<const QRgb*>(frame.constScanLine(clampY(y0 + 1)));
    const QRgb p[4] = {top[clampX(x0)], top[clampX(x0 + 1)], bottom[clampX(x0)], bottom[clampX(x0 + 1)]};
    const double w[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
    for (int i = 0; i < 4; ++i) {
        rgb[0] += w[i] * qRed(p[i]);
        rgb[1] += w[i] * qGreen(p[i]);
        rgb[2] += w[i] * qBlue(p[i]);
    }
}

// The expected colour of the pixel (column, row) of the item, rows counted from the top;
// nothing where the picture is undefined.
inline std::optional<QRgb> pixel(const QImage& frame, const View& view, QSize size, int column, int row)
{
    const std::optional<QPointF> a =
        textureCoordinate(view, QSizeF(size), column + 0.5, size.height() - row - 0.5);
    if (!a) {
        return std::nullopt;
    }
    double rgb[3];
    sample(frame, *a, rgb);
    // With saturation 0 the colour pipeline still moves a thousandth of the way to grey.
    const double average = (rgb[0] + rgb[1] + rgb[2]) / 3.0;
    const double towardsGrey = 1.0 - 1.0 / 1.001;
    for (double& c : rgb) {
        c += (average - c) * towardsGrey;
    }
    return qRgb(int(std::lround(rgb[0])), int(std::lround(rgb[1])), int(std::lround(rgb[2])));
}

} // namespace PanoramaReference
