#pragma once

#include <array>

class QMatrix4x4;

// The rotation of a first-order sound field that keeps each source where the picture shows it.
// The field is in AmbiX axes (x ahead, y to the left, z up); the view matrix is the renderer's,
// which takes a direction of the view into the sphere's, in the scene's axes (x right, y up,
// z backwards).
namespace HAmbisonicRotation {

using Matrix = std::array<float, 9>; // row-major, acting on (x, y, z)

Matrix identity();

// The matrix that takes the field as recorded into the field around the viewer's head.
Matrix forView(const QMatrix4x4& view);

// Rotates a block's first-order components in place, moving linearly from `from` at its start to
// `to` at its last frame, so that a turn never steps from one sample to the next.
void rotate(const Matrix& from, const Matrix& to, float* y, float* z, float* x, int frames);

} // namespace HAmbisonicRotation
