#include "HViewMaths.h"

#include <cmath>

namespace {
constexpr double pi = 3.141592653589793;
// The float nearest to 2π, widened: yaw wraps by exactly this step.
constexpr double twoPi = 6.2831854820251465;
constexpr double halfPi = pi / 2.0;
constexpr double radiansPerDegree = 0.0174532925;

float halfFieldOfView(float fov)
{
    return float(fov * radiansPerDegree) * 0.5f;
}
} // namespace

float HViewMaths::wrapYaw(float yaw)
{
    // The floor stays a double: for any yaw a 32-bit integer could hold it gives the same result,
    // and beyond that range an int conversion would be undefined.
    const double v = yaw;
    return float(v - std::floor((v + pi) / twoPi) * twoPi);
}

float HViewMaths::clampPitch(float pitch, float fov, float pitchMin, float pitchMax)
{
    const float halfFov = halfFieldOfView(fov);
    const float upper = -pitchMin - halfFov;
    const float lower = halfFov - pitchMax;
    // Upper first: when the band is narrower than the field of view (lower > upper), values
    // above upper land on upper and the others on lower.
    if (pitch > upper) {
        return upper;
    }
    if (pitch < lower) {
        return lower;
    }
    return pitch;
}

float HViewMaths::clampYaw(float yaw, float fov, float yawMin, float yawMax)
{
    if (!(yawMax - yawMin < float(twoPi) - 1e-4f)) {
        return yaw;
    }
    const float halfFov = halfFieldOfView(fov);
    const float lower = yawMin + halfFov;
    const float upper = yawMax - halfFov;
    if (lower > upper) {
        return (yawMin + yawMax) * 0.5f;
    }
    return yaw < lower ? lower : yaw > upper ? upper : yaw;
}

QMatrix4x4 HViewMaths::rotationMatrix(float yaw, float pitch, float roll)
{
    const double sY = std::sin(double(yaw)), cY = std::cos(double(yaw));
    const double sP = std::sin(double(pitch)), cP = std::cos(double(pitch));
    const double sR = std::sin(double(roll)), cR = std::cos(double(roll));
    // clang-format off
    return QMatrix4x4(float(cR * cY + sR * sP * sY), float(cR * sP * sY - sR * cY), float(-cP * sY), 0.0f,
                      float(cP * sR), float(cP * cR), float(sP), 0.0f,
                      float(cR * sY - sR * sP * cY), float(-sR * sY - cR * sP * cY), float(cP * cY), 0.0f,
                      0.0f, 0.0f, 0.0f, 1.0f);
    // clang-format on
}

HViewMaths::Angles HViewMaths::anglesFromMatrix(const QMatrix4x4& m)
{
    const double sinPitch = m(1, 2);
    if (sinPitch >= 1.0) {
        // Straight up: yaw and roll turn about the same axis, so read yaw from the first row as
        // the matrix built from (yaw, +90°, 0) has it. This keeps yaw continuous at the pole.
        return {std::atan2(double(m(0, 1)), double(m(0, 0))), halfPi};
    }
    if (sinPitch <= -1.0) {
        return {std::atan2(-double(m(0, 1)), double(m(0, 0))), -halfPi};
    }
    // Also taken by a NaN, which then reaches yaw and pitch like any other written NaN.
    return {std::atan2(-double(m(0, 2)), double(m(2, 2))), std::asin(sinPitch)};
}
