#include "HSensor.h"

#include "base/HAssign.h"
#include "session/HGlobalObject.h"

#include <cmath>

HSensor::HSensor(HGlobalObject* globalObject, QObject* parent)
    : QObject(parent), logMessageValue(tr("Orientation sensor is not supported on this platform.\n")),
      global(globalObject)
{
}

void HSensor::setLogMessage(const QString& value)
{
    if (assignChanged(logMessageValue, value)) {
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
    if (assignChanged(availableValue, value)) {
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
    global->setRotationMatrix(
        HGlobalObject::rotationMatrixFor(global->yaw(), global->pitch(), global->roll()), false);
}
