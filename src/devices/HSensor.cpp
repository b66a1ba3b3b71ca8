#include "HSensor.h"

#include "session/HGlobalObject.h"

#include <cmath>

namespace {

// The global object's own construction of the view matrix from its angles, Ry(-yaw) · Rx(-pitch) ·
// Rz(roll) on column vectors, so that a matrix rebuilt here is the one it would build itself.
QMatrix4x4 viewMatrix(float yaw, float pitch, float roll)
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

} // namespace

HSensor::HSensor(HGlobalObject* globalObject, QObject* parent)
    : QObject(parent), logMessageValue(tr("Orientation sensor is not supported on this platform.\n")),
      global(globalObject)
{
}

void HSensor::setLogMessage(const QString& value)
{
    if (value != logMessageValue) {
        logMessageValue = value;
        emit logMessageChanged();
    }
}

void HSensor::setActivated(bool value)
{
    Q_UNUSED(value)
}

bool HSensor::isSupported() const
{
    return false;
}

void HSensor::setAvailable(bool value)
{
    if (value != availableValue) {
        availableValue = value;
        emit availableChanged();
    }
}

void HSensor::appendLogMessage(const QString& text)
{
    logMessageValue += text;
}

void HSensor::changeActivated(bool value)
{
    if (value == activatedValue) {
        return;
    }
    activatedValue = value;
    emit activatedChanged();
    if (!activatedValue) {
        global->setRoll(0.0f, true);
        hasReferenceValue = false;
    }
}

void HSensor::handleOrientation(const QMatrix3x3& orientation)
{
    const QMatrix4x4 current(orientation);
    if (!hasReferenceValue) {
        // For a rotation the transpose is the inverse: the way the device is held now becomes
        // straight ahead.
        referenceValue = current.transposed();
        hasReferenceValue = true;
    }
    global->setRotationMatrix(referenceValue * current, true);
    // The global object has clamped the pitch it derived; show what it allows, without roll.
    global->setRotationMatrix(viewMatrix(global->yaw(), global->pitch(), global->roll()), false);
}
