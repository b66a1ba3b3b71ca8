#include "HGlobalObject.h"

#include "HPlaylist.h"
#include "HViewMaths.h"
#include "SessionLogging.h"
#include "base/HAssign.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"

namespace {

const QString touchModeKey = QStringLiteral("application/touchMode");

} // namespace

HGlobalObject::HGlobalObject(HSettingsManager* settingsStore, QObject* parent)
    : QObject(parent), videoLogMessageValue(tr("No loaded media.")), settings(settingsStore),
      playlistPart(new HPlaylist(settingsStore, this)), failurePart(new HMediaFailure(this)),
      screenPlacePart(new HScreenPlace(settingsStore, this))
{
    connect(failurePart, &HMediaFailure::failed, playlistPart, &HPlaylist::entryFailed);
    connect(playlistPart, &HPlaylist::fileFailed, failurePart, &HMediaFailure::reportPlaylist);
    touchModeValue = settings->ensureValue(touchModeKey, true).toBool();
    connect(playlistPart, &HPlaylist::indexChanged, this, &HGlobalObject::playListIndexChanged);
    connect(playlistPart, &HPlaylist::opening, this, &HGlobalObject::resetOrientation);
    connect(playlistPart, &HPlaylist::mediaRequested, this,
            [this](const QVariant& fileSource, bool checkFile, const QString& error) {
                // Never asked to clear the playlist from here: the playlist has just been set.
                requestMedia(fileSource, checkFile, false, error);
            });
}

void HGlobalObject::setYaw(float value, bool update)
{
    if (assignChanged(yawValue,
                      HViewMaths::clampYaw(HViewMaths::wrapYaw(value), fovValue, yawMinValue, yawMaxValue))) {
        emit yawChanged();
        if (update) {
            updateRotationMatrix();
        }
    }
}

void HGlobalObject::setPitch(float value, bool update)
{
    requestedPitch = value;
    if (assignChanged(pitchValue, clampPitch(value))) {
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
    if (assignChanged(rollValue, 0.0f)) {
        emit rollChanged();
        if (update) {
            updateRotationMatrix();
        }
    }
}

void HGlobalObject::setFov(float value)
{
    // The field of view is not limited here; QML keeps it in its range.
    if (assignChanged(fovValue, value)) {
        emit fovChanged();
    }
    if (assignChanged(pitchValue, clampPitch(pitchValue))) {
        emit pitchChanged();
        updateRotationMatrix();
    }
}

void HGlobalObject::setRotationMatrix(const QMatrix4x4& value, bool update)
{
    if (assignChanged(rotationMatrixValue, value)) {
        emit rotationMatrixChanged();
        if (update) {
            updateAnglesFromMatrix();
        }
    }
}

void HGlobalObject::setYawMin(float value)
{
    if (assignChanged(yawMinValue, value)) {
        emit yawMinChanged();
    }
}

void HGlobalObject::setYawMax(float value)
{
    if (assignChanged(yawMaxValue, value)) {
        emit yawMaxChanged();
    }
}

void HGlobalObject::setPitchMin(float value)
{
    if (assignChanged(pitchMinValue, value)) {
        emit pitchMinChanged();
    }
}

void HGlobalObject::setPitchMax(float value)
{
    if (assignChanged(pitchMaxValue, value)) {
        emit pitchMaxChanged();
    }
}

void HGlobalObject::setPictureLimits(float newYawMin, float newYawMax, float newPitchMin, float newPitchMax)
{
    setYawMin(newYawMin);
    setYawMax(newYawMax);
    setPitchMin(newPitchMin);
    setPitchMax(newPitchMax);
    // The view the user asked for, brought inside the new picture: a pitch that the old band
    // clamped comes back where the new one allows it.
    const bool yawMoved = assignChanged(yawValue, clampYaw(yawValue));
    const bool pitchMoved = assignChanged(pitchValue, clampPitch(requestedPitch));
    if (yawMoved) {
        emit yawChanged();
    }
    if (pitchMoved) {
        emit pitchChanged();
    }
    if (yawMoved || pitchMoved) {
        updateRotationMatrix();
    }
}

float HGlobalObject::clampPitch(float value) const
{
    return HViewMaths::clampPitch(value, fovValue, pitchMinValue, pitchMaxValue);
}

float HGlobalObject::clampYaw(float value) const
{
    return HViewMaths::clampYaw(value, fovValue, yawMinValue, yawMaxValue);
}

void HGlobalObject::setTouchMode(bool value)
{
    // A session preference only: the stored setting keeps its first-start value.
    if (assignChanged(touchModeValue, value)) {
        emit touchModeChanged();
    }
}

void HGlobalObject::setVideoLogMessage(const QString& value)
{
    if (assignChanged(videoLogMessageValue, value)) {
        emit videoLogMessageChanged();
    }
}

QMatrix4x4 HGlobalObject::rotationMatrixFor(float yaw, float pitch, float roll)
{
    return HViewMaths::rotationMatrix(yaw, pitch, roll);
}

void HGlobalObject::updateRotationMatrix()
{
    if (assignChanged(rotationMatrixValue, rotationMatrixFor(yawValue, pitchValue, rollValue))) {
        emit rotationMatrixChanged();
    }
}

void HGlobalObject::updateAnglesFromMatrix()
{
    const HViewMaths::Angles angles = HViewMaths::anglesFromMatrix(rotationMatrixValue);
    setYaw(float(angles.yaw), false);
    requestedPitch = float(angles.pitch);
    if (assignChanged(pitchValue, clampPitch(requestedPitch))) {
        emit pitchChanged();
    }
    if (assignChanged(rollValue, 0.0f)) {
        emit rollChanged();
    }
    // The matrix stays as given, even where the pitch was clamped.
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

QString HGlobalObject::getEnterpriseWebLink() const
{
    return QStringLiteral("https://www.%1/").arg(ProductInfo::organizationDomain());
}

void HGlobalObject::openFiles(const QList<QString>& urls, bool checkFile)
{
    QList<QUrl> converted;
    converted.reserve(urls.size());
    for (const QString& text : urls) {
        converted.append(urlFromText(text));
    }
    openFiles(converted, checkFile);
}

QList<QUrl> HGlobalObject::playListEntries() const
{
    return playlistPart->entries();
}

void HGlobalObject::resetOrientation()
{
    // Each new media starts looking straight ahead; the matrix is rebuilt once for all three.
    setYaw(0.0f, false);
    setPitch(0.0f, false);
    setRoll(0.0f, false);
    updateRotationMatrix();
}

void HGlobalObject::requestMedia(const QVariant& fileSource, bool checkFile, bool clearPlaylist,
                                 const QString& error)
{
    // Before the loader has registered, only the playlist state changes.
    if (mediaLoader) {
        emit mediaRequested(fileSource, checkFile, clearPlaylist, error);
    }
}
