#include "HAmbisonicRotation.h"

#include <QMatrix4x4>

namespace HAmbisonicRotation {

Matrix identity()
{
    return {1, 0, 0, 0, 1, 0, 0, 0, 1};
}

Matrix forView(const QMatrix4x4& view)
{
    // From the scene's axes to AmbiX ones: ahead is -z, left is -x, up is y.
    static const int axis[3] = {2, 0, 1};
    static const float sign[3] = {-1, -1, 1};
    // The view matrix takes the head's directions into the world's; the field around the head is
    // the world's field turned back: P V^T P^T in AmbiX axes.
    Matrix head{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            head[std::size_t(3 * i + j)] = sign[i] * sign[j] * view(axis[j], axis[i]);
        }
    }
    return head;
}

void rotate(const Matrix& from, const Matrix& to, float* y, float* z, float* x, int frames)
{
    if (frames <= 0) {
        return;
    }
    Matrix step;
    for (std::size_t k = 0; k < 9; ++k) {
        step[k] = (to[k] - from[k]) / float(frames);
    }
    Matrix m = from;
    for (int n = 0; n < frames; ++n) {
        for (std::size_t k = 0; k < 9; ++k) {
            m[k] += step[k];
        }
        const float ax = x[n], ay = y[n], az = z[n];
        x[n] = m[0] * ax + m[1] * ay + m[2] * az;
        y[n] = m[3] * ax + m[4] * ay + m[5] * az;
        z[n] = m[6] * ax + m[7] * ay + m[8] * az;
    }
}

} // namespace HAmbisonicRotation
