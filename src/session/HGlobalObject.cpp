#include "HGlobalObject.h"

#include "app/HCrashHandling.h"
#include "app/HSettingsManager.h"
#include "app/ProductInfo.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <cmath>

namespace {

const QString touchModeKey = QStringLiteral("application/touchMode");

constexpr double pi = 3.141592653589793;
// The float nearest to 2π, widened: yaw wraps by exactly this step.
constexpr double twoPi = 6.2831854820251465;
constexpr double halfPi = pi / 2.0;
constexpr double radiansPerDegree = 0.0174532925;

} // namespace

HGlobalObject::HGlobalObject(HSettingsManager* settingsStore, QObject* parent)
    : QObject(parent), videoLogMessageValue(tr("No loaded media.")), yawMinValue(float(-pi)),
      yawMaxValue(float(pi)),
      // The pictures this viewer is made for span 360° of yaw and the band from 15° below to
      // 45° above the horizon.
      pitchMinValue(-0.2617994f), pitchMaxValue(0.7853982f), settings(settingsStore)
{
    touchModeValue = settings->ensureValue(touchModeKey, true).toBool();
}

void HGlobalObject::setYaw(float value, bool update)
{
    // Wrap into one turn around 0. The floor stays a double: for any yaw a 32-bit integer could
    // hold it gives the same result, and beyond that range an int conversion would be undefined.
    const double v = value;
    const float wrapped = float(v - std::floor((v + pi) / twoPi) * twoPi);
    if (wrapped != yawValue) { // a NaN never equals anything, so it is stored and announced
        yawValue = wrapped;
        emit yawChanged();
        if (update) {
            updateRotationMatrix();
        }
    }
}

void HGlobalObject::setPitch(float value, bool update)
{
    const float clamped = clampPitch(value);
    if (clamped != pitchValue) {
        pitchValue = clamped;
        emit pitchChanged();
        if (update) {
            updateRotationMatrix();
        }
    }
}

void HGlobalObject::setRoll(float value, bool update)
{
    // The view never rolls: whatever is written, roll returns to 0.
    Q_UNUSED(value)
    if (rollValue != 0.0f) {
        rollValue = 0.0f;
        emit rollChanged();
        if (update) {
            updateRotationMatrix();
        }
    }
}

void HGlobalObject::setFov(float value)
{
    // The field of view is not limited here; QML keeps it in its range.
    if (value != fovValue) {
        fovValue = value;
        emit fovChanged();
    }
    const float clamped = clampPitch(pitchValue);
    if (clamped != pitchValue) {
        pitchValue = clamped;
        emit pitchChanged();
        updateRotationMatrix();
    }
}

void HGlobalObject::setRotationMatrix(const QMatrix4x4& value, bool update)
{
    if (value != rotationMatrixValue) {
        rotationMatrixValue = value;
        emit rotationMatrixChanged();
        if (update) {
            updateAnglesFromMatrix();
        }
    }
}

void HGlobalObject::setYawMin(float value)
{
    if (value != yawMinValue) {
        yawMinValue = value;
        emit yawMinChanged();
    }
}

void HGlobalObject::setYawMax(float value)
{
    if (value != yawMaxValue) {
        yawMaxValue = value;
        emit yawMaxChanged();
    }
}

void HGlobalObject::setPitchMin(float value)
{
    if (value != pitchMinValue) {
        pitchMinValue = value;
        emit pitchMinChanged();
    }
}

void HGlobalObject::setPitchMax(float value)
{
    if (value != pitchMaxValue) {
        pitchMaxValue = value;
        emit pitchMaxChanged();
    }
}

void HGlobalObject::setTouchMode(bool value)
{
    // A session preference only: the stored setting keeps its first-start value.
    if (value != touchModeValue) {
        touchModeValue = value;
        emit touchModeChanged();
    }
}

void HGlobalObject::setVideoLogMessage(const QString& value)
{
    if (value != videoLogMessageValue) {
        videoLogMessageValue = value;
        emit videoLogMessageChanged();
    }
}

float HGlobalObject::clampPitch(float value) const
{
    // The view centre sits at latitude -pitch; half the field of view must stay inside the band.
    const float halfFov = float(fovValue * radiansPerDegree) * 0.5f;
    const float upper = -pitchMinValue - halfFov;
    const float lower = halfFov - pitchMaxValue;
    // Upper first: when the band is narrower than the field of view (lower > upper), values
    // above upper land on upper and the others on lower.
    if (value > upper) {
        return upper;
    }
    if (value < lower) {
        return lower;
    }
    return value;
}

void HGlobalObject::updateRotationMatrix()
{
    // Ry(-yaw) · Rx(-pitch) · Rz(roll), on column vectors.
    const double sY = std::sin(double(yawValue)), cY = std::cos(double(yawValue));
    const double sP = std::sin(double(pitchValue)), cP = std::cos(double(pitchValue));
    const double sR = std::sin(double(rollValue)), cR = std::cos(double(rollValue));
    // clang-format off
    const QMatrix4x4 matrix(float(cR * cY + sR * sP * sY), float(cR * sP * sY - sR * cY), float(-cP * sY), 0.0f,
                            float(cP * sR), float(cP * cR), float(sP), 0.0f,
                            float(cR * sY - sR * sP * cY), float(-sR * sY - cR * sP * cY), float(cP * cY), 0.0f,
                            0.0f, 0.0f, 0.0f, 1.0f);
    // clang-format on
    if (matrix != rotationMatrixValue) {
        rotationMatrixValue = matrix;
        emit rotationMatrixChanged();
    }
}

void HGlobalObject::updateAnglesFromMatrix()
{
    const QMatrix4x4& m = rotationMatrixValue;
    const double sinPitch = m(1, 2);
    double newYaw;
    double newPitch;
    if (sinPitch >= 1.0) {
        // Straight up: yaw and roll turn about the same axis, so read yaw from the first row as
        // the matrix built from (yaw, +90°, 0) has it. This keeps yaw continuous at the pole.
        newPitch = halfPi;
        newYaw = std::atan2(double(m(0, 1)), double(m(0, 0)));
    } else if (sinPitch <= -1.0) {
        newPitch = -halfPi;
        newYaw = std::atan2(-double(m(0, 1)), double(m(0, 0)));
    } else {
        // Also taken by a NaN, which then reaches yaw and pitch like any other written NaN.
        newYaw = std::atan2(-double(m(0, 2)), double(m(2, 2)));
        newPitch = std::asin(sinPitch);
    }

    setYaw(float(newYaw), false);
    const float clamped = clampPitch(float(newPitch));
    if (clamped != pitchValue) {
        pitchValue = clamped;
        emit pitchChanged();
    }
    if (rollValue != 0.0f) {
        rollValue = 0.0f;
        emit rollChanged();
    }
    // The matrix stays as given, even where the pitch was clamped.
}

void HGlobalObject::setSetting(const QString& key, const QVariant& value)
{
    settings->setValue(key, value);
}

QVariant HGlobalObject::getSetting(const QString& key, const QVariant& defaultValue)
{
    return settings->value(key, defaultValue);
}

QVariant HGlobalObject::getSetting(const QString& key)
{
    return settings->value(key, QVariant());
}

void HGlobalObject::hideCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void HGlobalObject::restoreCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

void HGlobalObject::quit()
{
    QCoreApplication::quit();
}

QString HGlobalObject::platformOS() const
{
    // QML chooses its mouse and pinch handling by this name.
#if defined(Q_OS_WIN)
    return QStringLiteral("Q_OS_WIN32");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("Q_OS_MACX");
#else
    return QStringLiteral("Q_OS_LINUX");
#endif
}

QString HGlobalObject::getApplicationDirPath() const
{
    return QCoreApplication::applicationDirPath();
}

QString HGlobalObject::getSoftwareName() const
{
    return ProductInfo::displayName();
}

QString HGlobalObject::getEnterpriseWebLink() const
{
    return QStringLiteral("https://www.%1/").arg(ProductInfo::organizationDomain());
}

QString HGlobalObject::aboutThirdParty() const
{
    return tr("%1 is built on the following libraries, each under its own licence.\n"
              "\n"
              "libVLC\n"
              "Decodes and plays the videos. libVLC is free software: you may redistribute it and/or "
              "modify it under the terms of the GNU Lesser General Public License as published by the "
              "Free Software Foundation, version 2.1 of the License or (at your option) any later "
              "version. It is distributed WITHOUT ANY WARRANTY. Its source code is available from "
              "the VideoLAN project.\n"
              "\n"
              "Qt\n"
              "Provides the user interface, networking and OpenGL support. Qt is used under the terms "
              "of the GNU Lesser General Public License version 3, as published by the Free Software "
              "Foundation. It is distributed WITHOUT ANY WARRANTY. Its source code is available from "
              "the Qt Project.\n"
              "\n"
              "You may replace these libraries with modified versions of your own; the licences above "
              "give the details of your rights.")
               .arg(ProductInfo::displayName()) +
           QStringLiteral("\n\n") + HCrashHandling::licenceNotice();
}
