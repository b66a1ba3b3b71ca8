#include "HGlobalObject.h"

#include "HPlaylistFile.h"
#include "SessionLogging.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "base/ThirdPartyNotices.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QTimer>

#include <cmath>

namespace {

const QString touchModeKey = QStringLiteral("application/touchMode");
const QString imageDisplayDurationKey = QStringLiteral("application/playlist/imageDisplayDuration");
constexpr int defaultImageDisplayDuration = 30000; // milliseconds

// Suffixes the media loader plays as video, lower case.
const QStringList videoExtensions{
    QStringLiteral("3gp"),  QStringLiteral("asf"),  QStringLiteral("avi"),  QStringLiteral("divx"),
    QStringLiteral("dvx"),  QStringLiteral("flv"),  QStringLiteral("h264"), QStringLiteral("m3u8"),
    QStringLiteral("m4v"),  QStringLiteral("mkv"),  QStringLiteral("mov"),  QStringLiteral("movie"),
    QStringLiteral("mp4"),  QStringLiteral("mp4v"), QStringLiteral("mpe"),  QStringLiteral("mpeg"),
    QStringLiteral("mpg"),  QStringLiteral("ogg"),  QStringLiteral("swf"),  QStringLiteral("ts"),
    QStringLiteral("vivo"), QStringLiteral("wmv")};

// From the path alone: signed links of hosting services carry a query ("reef.mp4?token=…").
QString lowerSuffix(const QUrl& url)
{
    return QFileInfo(url.path()).suffix().toLower();
}

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
      pitchMinValue(-0.2617994f), pitchMaxValue(0.7853982f), settings(settingsStore),
      imageTimer(new QTimer(this))
{
    touchModeValue = settings->ensureValue(touchModeKey, true).toBool();

    const QVariant storedDuration =
        settings->ensureValue(imageDisplayDurationKey, defaultImageDisplayDuration);
    bool isNumber = false;
    int duration = storedDuration.toInt(&isNumber);
    if (!isNumber || duration <= 0) {
        // A zero interval would flip through the photos as fast as they load.
        qCWarning(lcSession) << "Ignoring the photo display duration" << storedDuration << "- using"
                             << defaultImageDisplayDuration << "ms";
        duration = defaultImageDisplayDuration;
    }
    imageTimer->setInterval(duration);
    connect(imageTimer, &QTimer::timeout, this, &HGlobalObject::playListSetNext);
}

void HGlobalObject::setYaw(float value, bool update)
{
    // Wrap into one turn around 0. The floor stays a double: for any yaw a 32-bit integer could
    // hold it gives the same result, and beyond that range an int conversion would be undefined.
    const double v = value;
    const float wrapped = clampYaw(float(v - std::floor((v + pi) / twoPi) * twoPi));
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
    requestedPitch = value;
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

void HGlobalObject::setPictureLimits(float newYawMin, float newYawMax, float newPitchMin, float newPitchMax)
{
    setYawMin(newYawMin);
    setYawMax(newYawMax);
    setPitchMin(newPitchMin);
    setPitchMax(newPitchMax);
    // The view the user asked for, brought inside the new picture: a pitch that the old band
    // clamped comes back where the new one allows it.
    const float yaw = clampYaw(yawValue);
    const float pitch = clampPitch(requestedPitch);
    const bool changed = yaw != yawValue || pitch != pitchValue;
    if (yaw != yawValue) {
        yawValue = yaw;
        emit yawChanged();
    }
    if (pitch != pitchValue) {
        pitchValue = pitch;
        emit pitchChanged();
    }
    if (changed) {
        updateRotationMatrix();
    }
}

float HGlobalObject::clampYaw(float value) const
{
    // A picture that covers less than a full turn keeps the view centre half a field of view
    // inside its edges, as the pitch does within the band.
    const float range = yawMaxValue - yawMinValue;
    if (!(range < float(twoPi) - 1e-4f)) {
        return value;
    }
    const float halfFov = float(fovValue * radiansPerDegree) * 0.5f;
    const float lower = yawMinValue + halfFov;
    const float upper = yawMaxValue - halfFov;
    if (lower > upper) {
        return (yawMinValue + yawMaxValue) * 0.5f;
    }
    return value < lower ? lower : value > upper ? upper : value;
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

QMatrix4x4 HGlobalObject::rotationMatrixFor(float yaw, float pitch, float roll)
{
    // Ry(-yaw) · Rx(-pitch) · Rz(roll), on column vectors, computed in double.
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

void HGlobalObject::updateRotationMatrix()
{
    const QMatrix4x4 matrix = rotationMatrixFor(yawValue, pitchValue, rollValue);
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
    requestedPitch = float(newPitch);
    const float clamped = clampPitch(requestedPitch);
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
    return ThirdPartyNotices::text();
}

int HGlobalObject::imageDisplayDuration() const
{
    return imageTimer->interval();
}

void HGlobalObject::setPlayListIndex(int index)
{
    if (index == playListIndexValue) {
        return;
    }
    imageTimer->stop();
    playListIndexValue = index;
    if (index >= 0 && index < playlist.size()) {
        processFileSource(playlist.at(index), true, QString());
    }
    emit playListIndexChanged();
}

void HGlobalObject::openFile(const QString& url, bool checkFile)
{
    openFiles(QList<QString>{url}, checkFile);
}

QUrl HGlobalObject::urlFromText(const QString& text)
{
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("file")) {
        return url;
    }
    // Everything else is a path, a Windows drive path included ("C:" is no scheme), and so are
    // names holding "#" or "?", which a URL would cut off.
    return QUrl::fromLocalFile(text);
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

void HGlobalObject::openFiles(const QList<QUrl>& urls, bool checkFile)
{
    if (urls.isEmpty()) {
        return;
    }

    QList<QUrl> media = urls;
    QString error;
    if (urls.size() == 1 && HPlaylistFile::isPlaylistFile(urls.first())) {
        const HPlaylistFile playlistFile(urls.first().toLocalFile());
        error = playlistFile.error();
        if (error.isEmpty()) {
            media.clear();
            for (const HPlaylistFile::Entry& entry : playlistFile.entries()) {
                media.append(entry.media);
                logoMap.insert(entry.media, entry.logo); // a later entry for the same media wins
            }
        }
    }

    clearPlayList();

    if (!error.isEmpty()) {
        qCWarning(lcSession).noquote() << urls.first().toString() << error;
        processFileSource(QString(), checkFile, error);
        return;
    }

    resetOrientation();

    qCInfo(lcSession) << "Opening" << media;
    if (media.size() > 1) {
        playlist = media;
        setPlayListIndex(0); // playlist entries are always checked by the loader
    } else {
        processFileSource(media.first(), checkFile, QString());
    }
}

bool HGlobalObject::playListIsEmpty() const
{
    return playlist.size() < 2;
}

void HGlobalObject::playListSetNext()
{
    const int next = playListIndexValue + 1;
    setPlayListIndex(next >= playlist.size() ? 0 : next);
}

void HGlobalObject::playListSetPrevious()
{
    const int previous = playListIndexValue - 1;
    setPlayListIndex(previous < 0 ? playlist.size() - 1 : previous);
}

QList<QString> HGlobalObject::getPlayListNames() const
{
    QList<QString> names;
    names.reserve(playlist.size());
    for (const QUrl& url : playlist) {
        const QString name = url.fileName(QUrl::FullyDecoded);
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        names.append(dot < 0 ? name : name.left(dot));
    }
    return names;
}

void HGlobalObject::clearPlayList()
{
    imageTimer->stop();
    playlist.clear();
    playListIndexValue = -1;
    emit playListIndexChanged();
}

void HGlobalObject::startTimerNextImage()
{
    imageTimer->start();
}

void HGlobalObject::setMediaLoader(QObject* loader)
{
    mediaLoader = loader;
}

QUrl HGlobalObject::getDynamicLogo(const QUrl& url) const
{
    return logoMap.value(url);
}

QUrl HGlobalObject::checkFilePath(const QUrl& filePath) const
{
    // Media inside the resources are opened from the file system instead.
    if (filePath.scheme() != QLatin1String("qrc")) {
        return filePath;
    }
    QUrl url = filePath;
    url.setScheme(QStringLiteral("file"));
    return url;
}

bool HGlobalObject::isValidFilePath(const QUrl& filePath) const
{
    // Whether a media can be played is found out by playing it.
    Q_UNUSED(filePath)
    return true;
}

bool HGlobalObject::isImageFile(const QUrl& filePath) const
{
    // Whatever the installed image plug-ins read counts as a photo.
    return QImageReader::supportedImageFormats().contains(lowerSuffix(filePath).toUtf8());
}

bool HGlobalObject::isVideoFile(const QUrl& filePath) const
{
    return videoExtensions.contains(lowerSuffix(filePath));
}

void HGlobalObject::resetOrientation()
{
    // Each new media starts looking straight ahead; the matrix is rebuilt once for all three.
    setYaw(0.0f, false);
    setPitch(0.0f, false);
    setRoll(0.0f, false);
    updateRotationMatrix();
}

void HGlobalObject::processFileSource(const QVariant& fileSource, bool checkFile, const QString& error)
{
    // Before the loader has registered, only the playlist state changes.
    if (!mediaLoader) {
        return;
    }
    // Never asked to clear the playlist from here: this object has just set it.
    const bool clearPlaylist = false;
    if (!QMetaObject::invokeMethod(mediaLoader, "processFileSource", Qt::AutoConnection,
                                   Q_ARG(QVariant, fileSource), Q_ARG(QVariant, checkFile),
                                   Q_ARG(QVariant, clearPlaylist), Q_ARG(QVariant, error))) {
        qCWarning(lcSession) << "The media loader" << mediaLoader << "has no processFileSource()";
    }
}
