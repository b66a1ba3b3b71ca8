#include "HScreenPlace.h"

#include "HViewMaths.h"
#include "SessionLogging.h"
#include "base/HSettingsManager.h"

#include <algorithm>
#include <cmath>

namespace {

using HViewMaths::radiansPerDegree;

const char yawOffsetKey[] = "application/communication/yawOffset";
const char pitchOffsetKey[] = "application/communication/pitchOffset";
const char rollOffsetKey[] = "application/communication/rollOffset";
const char fovKey[] = "application/communication/fov";
const char domeApertureKey[] = "view/domeAperture";
const char domeTiltKey[] = "view/domeTilt";

// Into (-180, 180]; a value that is not a number is none.
double wrapDegrees(double value)
{
    if (!std::isfinite(value)) {
        return 0;
    }
    const double wrapped = value - 360.0 * std::floor((value + 180.0) / 360.0);
    return wrapped == -180.0 ? 180.0 : wrapped;
}

double clampDegrees(double value, double lowest, double highest, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, lowest, highest) : fallback;
}

double fieldOfView(double value)
{
    return std::isfinite(value) && value > 0 ? std::min(value, 360.0) : 0.0;
}

} // namespace

HScreenPlace::HScreenPlace(HSettingsManager* settingsStore, QObject* parent)
    : QObject(parent), settings(settingsStore)
{
    const auto stored = [this](const char* key, double fallback) {
        const QVariant value = settings->value(QLatin1String(key), fallback);
        bool number = false;
        const double read = value.toDouble(&number);
        if (!number) {
            qCWarning(lcSession).noquote()
                << "The setting" << key << "is not a number:" << value.toString() << "; using" << fallback;
            return fallback;
        }
        return read;
    };
    yawOffsetValue = wrapDegrees(stored(yawOffsetKey, 0));
    pitchOffsetValue = clampDegrees(stored(pitchOffsetKey, 0), -90, 90, 0);
    rollOffsetValue = wrapDegrees(stored(rollOffsetKey, 0));
    fovValue = fieldOfView(stored(fovKey, 0));
    domeApertureValue = clampDegrees(stored(domeApertureKey, 180), 1, 360, 180);
    domeTiltValue = clampDegrees(stored(domeTiltKey, 0), -90, 90, 0);
}

void HScreenPlace::store(double& member, double value, const char* key)
{
    if (member == value) {
        return;
    }
    member = value;
    settings->setValue(QLatin1String(key), value);
    emit changed();
}

void HScreenPlace::setYawOffset(double value)
{
    store(yawOffsetValue, wrapDegrees(value), yawOffsetKey);
}

void HScreenPlace::setPitchOffset(double value)
{
    store(pitchOffsetValue, clampDegrees(value, -90, 90, 0), pitchOffsetKey);
}

void HScreenPlace::setRollOffset(double value)
{
    store(rollOffsetValue, wrapDegrees(value), rollOffsetKey);
}

void HScreenPlace::setFov(double value)
{
    store(fovValue, fieldOfView(value), fovKey);
}

void HScreenPlace::setDomeAperture(double value)
{
    store(domeApertureValue, clampDegrees(value, 1, 360, 180), domeApertureKey);
}

void HScreenPlace::setDomeTilt(double value)
{
    store(domeTiltValue, clampDegrees(value, -90, 90, 0), domeTiltKey);
}

QMatrix4x4 HScreenPlace::screenMatrix(const QMatrix4x4& followed, bool dome) const
{
    QMatrix4x4 m = followed * HViewMaths::rotationMatrix(float(yawOffsetValue * radiansPerDegree),
                                                         float(pitchOffsetValue * radiansPerDegree),
                                                         float(rollOffsetValue * radiansPerDegree));
    if (dome) {
        // A pitch of -90° looks at the zenith, with the view's ahead at the bottom; the tilt
        // brings the centre that far back down towards the front.
        m = m * HViewMaths::rotationMatrix(0.0f, float((domeTiltValue - 90.0) * radiansPerDegree), 0.0f);
    }
    return m;
}

float HScreenPlace::shorterSideFov(float followed, QSizeF size, bool perspective) const
{
    if (fovValue <= 0 || size.width() <= 0 || size.height() <= 0) {
        return followed;
    }
    const double share = std::min(size.width(), size.height()) / size.width();
    if (!perspective) {
        return float(fovValue * share);
    }
    // A lens spans less than half a turn.
    const double half = std::min(fovValue, 179.0) * radiansPerDegree / 2.0;
    return float(2.0 * std::atan(std::tan(half) * share) / radiansPerDegree);
}
