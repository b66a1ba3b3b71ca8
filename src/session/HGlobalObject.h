#pragma once

#include "HMediaFailure.h"
#include "HMediaFiles.h"
#include "HPlaylist.h"
#include "HScreenPlace.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "base/ThirdPartyNotices.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QList>
#include <QMatrix4x4>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>

// The viewer's session state as QML sees it ("hGlobalObject"): view orientation, field of view,
// the angular limits of the picture and the rotation matrix the renderer draws with, plus QML's
// bridge to the settings store and a few application services. Every source of orientation goes
// through these setters; the renderer reads the getters. The maths is HViewMaths'.
//
// Its playlist face is HPlaylist's and its file checks HMediaFiles': each media to show is
// announced by mediaRequested, to which the QML media loader listens.
class HGlobalObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        QString videoLogMessage READ videoLogMessage WRITE setVideoLogMessage NOTIFY videoLogMessageChanged)
    Q_PROPERTY(float yaw READ yaw WRITE setYaw NOTIFY yawChanged)
    Q_PROPERTY(float pitch READ pitch WRITE setPitch NOTIFY pitchChanged)
    Q_PROPERTY(float roll READ roll WRITE setRoll NOTIFY rollChanged)
    Q_PROPERTY(float fov READ fov WRITE setFov NOTIFY fovChanged)
    Q_PROPERTY(float yawMin READ yawMin WRITE setYawMin NOTIFY yawMinChanged)
    Q_PROPERTY(float yawMax READ yawMax WRITE setYawMax NOTIFY yawMaxChanged)
    Q_PROPERTY(float pitchMin READ pitchMin WRITE setPitchMin NOTIFY pitchMinChanged)
    Q_PROPERTY(float pitchMax READ pitchMax WRITE setPitchMax NOTIFY pitchMaxChanged)
    Q_PROPERTY(
        QMatrix4x4 rotationMatrix READ rotationMatrix WRITE setRotationMatrix NOTIFY rotationMatrixChanged)
    Q_PROPERTY(int playListIndex READ playListIndex WRITE setPlayListIndex NOTIFY playListIndexChanged)
    // Every change of the list also moves its index.
    Q_PROPERTY(int playListCount READ playListCount NOTIFY playListIndexChanged)
    Q_PROPERTY(bool touchMode READ touchMode WRITE setTouchMode NOTIFY touchModeChanged)

public:
    explicit HGlobalObject(HSettingsManager* settings, QObject* parent = nullptr);

    // The view matrix of these angles, as the renderer expects it; every rebuilt matrix comes
    // from here.
    static QMatrix4x4 rotationMatrixFor(float yaw, float pitch, float roll);

    QString videoLogMessage() const { return videoLogMessageValue; }
    float yaw() const { return yawValue; }
    float pitch() const { return pitchValue; }
    float roll() const { return rollValue; }
    float fov() const { return fovValue; }
    float yawMin() const { return yawMinValue; }
    float yawMax() const { return yawMaxValue; }
    float pitchMin() const { return pitchMinValue; }
    float pitchMax() const { return pitchMaxValue; }
    QMatrix4x4 rotationMatrix() const { return rotationMatrixValue; }
    bool touchMode() const { return touchModeValue; }

    // The defaults of update are what a property write from QML does: angles rebuild the matrix,
    // a matrix leaves the angles alone. The orientation sensor writes the matrix with update true.
    void setYaw(float value, bool update = true);
    void setPitch(float value, bool update = true);
    void setRoll(float value, bool update = true);
    void setFov(float value);
    void setRotationMatrix(const QMatrix4x4& value, bool update = false);

    void setYawMin(float value);
    void setYawMax(float value);
    void setPitchMin(float value);
    void setPitchMax(float value);
    // All four limits at once, then the view brought inside them (the pitch from the value last
    // asked for, not the one the previous limits clamped).
    void setPictureLimits(float yawMin, float yawMax, float pitchMin, float pitchMax);
    void setTouchMode(bool value);
    void setVideoLogMessage(const QString& value);

    // The pitch brought inside the range that keeps the field of view within the picture's band.
    float clampPitch(float value) const;
    // The yaw kept inside a picture that covers less than a full turn.
    float clampYaw(float value) const;

    Q_INVOKABLE void setSetting(const QString& key, const QVariant& value) { settings->setValue(key, value); }
    // Registers the default (the settings store's rule).
    Q_INVOKABLE QVariant getSetting(const QString& key, const QVariant& defaultValue)
    {
        return settings->value(key, defaultValue);
    }
    Q_INVOKABLE QVariant getSetting(const QString& key) { return settings->value(key, QVariant()); }
    // Hide and restore nest as Qt's override-cursor stack does.
    Q_INVOKABLE void hideCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor)); }
    Q_INVOKABLE void restoreCursor() { QGuiApplication::restoreOverrideCursor(); }
    Q_INVOKABLE void quit() { QCoreApplication::quit(); }
    Q_INVOKABLE QString platformOS() const;
    Q_INVOKABLE QString getApplicationDirPath() const { return QCoreApplication::applicationDirPath(); }
    Q_INVOKABLE QString getSoftwareName() const { return ProductInfo::displayName(); }
    Q_INVOKABLE QString getEnterpriseWebLink() const;
    Q_INVOKABLE QString aboutThirdParty() const { return ThirdPartyNotices::text(); }

    // Playlist and media opening.
    // Where every failure to open or play a media is reported and shown from ("hFailure").
    HMediaFailure* failure() const { return failurePart; }
    // Where this screen stands in a room of screens ("hScreenPlace"); the view here is the followed one.
    HScreenPlace* screenPlace() const { return screenPlacePart; }
    int playListIndex() const { return playlistPart->index(); }
    // Moves to an entry and has it shown; an index outside the playlist only moves.
    void setPlayListIndex(int index) { playlistPart->setIndex(index); }
    QList<QUrl> playList() const { return playlistPart->entries(); }
    int playListCount() const { return playlistPart->entries().size(); }
    int imageDisplayDuration() const { return playlistPart->imageDisplayDuration(); }
    static QUrl urlFromText(const QString& text) { return HMediaFiles::urlFromText(text); }

    Q_INVOKABLE void openFile(const QString& url, bool checkFile = true)
    {
        openFiles(QList<QString>{url}, checkFile);
    }
    // Texts are paths or URLs; local paths become file URLs.
    Q_INVOKABLE void openFiles(const QList<QString>& urls, bool checkFile = true);
    // One media opens on its own, several become the playlist, one playlist file is expanded.
    Q_INVOKABLE void openFiles(const QList<QUrl>& urls, bool checkFile = true)
    {
        playlistPart->open(urls, checkFile);
    }
    // True for fewer than two entries: there is nothing to step to.
    Q_INVOKABLE bool playListIsEmpty() const { return playlistPart->isEmpty(); }
    Q_INVOKABLE void playListSetPrevious() { playlistPart->previous(); }
    // Every entry of the playlist has failed: it no longer moves on.
    Q_INVOKABLE bool playListAllFailed() const { return playlistPart->allFailed(); }
    Q_INVOKABLE QList<QString> getPlayListNames() const { return playlistPart->names(); }
    Q_INVOKABLE void clearPlayList() { playlistPart->clear(); }
    Q_INVOKABLE void startTimerNextImage() { playlistPart->startImageTimer(); }
    // The loader says it is there; until then only the playlist state changes.
    Q_INVOKABLE void setMediaLoader(QObject* loader) { mediaLoader = loader; }
    // The loader QML registered, or null before that and once the scene is gone.
    QObject* mediaLoaderObject() const { return mediaLoader; }
    // The loader's player in use, photo or video; null without a loader.
    QObject* currentPlayer() const
    {
        return mediaLoader ? mediaLoader->property("mediaPlayer").value<QObject*>() : nullptr;
    }
    QList<QUrl> playListEntries() const;
    Q_INVOKABLE QUrl getDynamicLogo(const QUrl& url) const { return playlistPart->logo(url); }
    Q_INVOKABLE QUrl checkFilePath(const QUrl& filePath) const
    {
        return HMediaFiles::checkFilePath(filePath);
    }
    // Whether a media can be played is found out by playing it.
    Q_INVOKABLE bool isValidFilePath(const QUrl&) const { return true; }
    Q_INVOKABLE bool isImageFile(const QUrl& filePath) const { return HMediaFiles::isImageFile(filePath); }
    Q_INVOKABLE bool isVideoFile(const QUrl& filePath) const { return HMediaFiles::isVideoFile(filePath); }
    // Asks the media loader to show a media (what the playlist and a synchronisation master do).
    void requestMedia(const QVariant& fileSource, bool checkFile, bool clearPlaylist, const QString& error);
    // Asks the current player to follow a master's playback state.
    void requestPlaybackState(int masterState) { emit playbackStateRequested(masterState); }
    // Asks a player to seek to a position in milliseconds.
    void requestSeek(QObject* player, qint64 position) { emit seekRequested(player, position); }

public slots:
    void playListSetNext() { playlistPart->next(); }

signals:
    void videoLogMessageChanged();
    void yawChanged();
    void pitchChanged();
    void rollChanged();
    void fovChanged();
    void yawMinChanged();
    void yawMaxChanged();
    void pitchMinChanged();
    void pitchMaxChanged();
    void rotationMatrixChanged();
    void touchModeChanged();
    void playListIndexChanged();
    // For the media loader's processFileSource; the four arguments as variants.
    void mediaRequested(const QVariant& fileSource, const QVariant& checkFile, const QVariant& clearPlaylist,
                        const QVariant& error);
    // For the media loader's syncPlaybackState.
    void playbackStateRequested(const QVariant& masterState);
    // For the player's seek.
    void seekRequested(QObject* player, const QVariant& position);

private:
    void updateRotationMatrix();
    void updateAnglesFromMatrix();
    void resetOrientation();

    QString videoLogMessageValue;
    float yawValue = 0.0f;
    float pitchValue = 0.0f;
    float requestedPitch = 0.0f;
    float rollValue = 0.0f;
    float fovValue = 60.0f;
    // The pictures this viewer is made for span 360° of yaw and the band from 15° below to 45°
    // above the horizon.
    float yawMinValue = -3.1415927f;
    float yawMaxValue = 3.1415927f;
    float pitchMinValue = -0.2617994f;
    float pitchMaxValue = 0.7853982f;
    QMatrix4x4 rotationMatrixValue;
    bool touchModeValue = true;
    HSettingsManager* const settings;
    HPlaylist* const playlistPart;
    HMediaFailure* const failurePart;
    HScreenPlace* const screenPlacePart;
    // QML owns the loader; the pointer clears itself when the scene goes first.
    QPointer<QObject> mediaLoader;
};
