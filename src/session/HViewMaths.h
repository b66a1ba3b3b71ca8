#pragma once

#include <QMatrix4x4>

// The maths of the view state, free of any state: how yaw wraps, how the picture's band and
// turn limit the view, and the rotation matrix of three angles and back.
namespace HViewMaths {

constexpr double radiansPerDegree = 3.141592653589793 / 180.0;

// Into one turn around 0, by the float nearest to 2π.
float wrapYaw(float yaw);
// The view centre sits at latitude -pitch; half the field of view (degrees) stays inside the band.
float clampPitch(float pitch, float fov, float pitchMin, float pitchMax);
// A picture that covers less than a full turn keeps the view centre half a field of view inside
// its edges; a full turn leaves yaw alone.
float clampYaw(float yaw, float fov, float yawMin, float yawMax);
// Ry(-yaw) · Rx(-pitch) · Rz(roll), on column vectors, computed in double.
QMatrix4x4 rotationMatrix(float yaw, float pitch, float roll);

struct Angles
{
    double yaw;
    double pitch;
};
// Yaw and pitch of a view matrix; straight up and down read yaw from the first row.
Angles anglesFromMatrix(const QMatrix4x4& m);

} // namespace HViewMaths
