#pragma once

#include <QList>
#include <QMap>
#include <QMatrix4x4>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>

class HSettingsManager;
class QTimer;

// The viewer's session state as QML sees it ("hGlobalObject"): view orientation, field of view,
// the angular limits of the picture and the rotation matrix the renderer draws with, plus QML's
// bridge to the settings store and a few application services. Every source of orientation goes
// through these setters; the renderer reads the getters.
//
// It also keeps the playlist: whatever the user names (paths, URLs, a playlist file) becomes a
// list of media URLs, and each entry in turn is handed to the QML media loader.
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

    Q_INVOKABLE void setSetting(const QString& key, const QVariant& value);
    Q_INVOKABLE QVariant getSetting(const QString& key, const QVariant& defaultValue);
    Q_INVOKABLE QVariant getSetting(const QString& key);
    Q_INVOKABLE void hideCursor();
    Q_INVOKABLE void restoreCursor();
    Q_INVOKABLE void quit();
    Q_INVOKABLE QString platformOS() const;
    Q_INVOKABLE QString getApplicationDirPath() const;
    Q_INVOKABLE QString getSoftwareName() const;
    Q_INVOKABLE QString getEnterpriseWebLink() const;
    Q_INVOKABLE QString aboutThirdParty() const;

    // Playlist and media opening.
    int playListIndex() const { return playListIndexValue; }
    // Moves to an entry and hands it to the media loader; an index outside the playlist only
    // moves.
    void setPlayListIndex(int index);
    QList<QUrl> playList() const { return playlist; }
    int imageDisplayDuration() const;

    // A path or URL as the user wrote it: http, https and file URLs are taken as they are,
    // anything else is a local path (possibly relative).
    static QUrl urlFromText(const QString& text);

    Q_INVOKABLE void openFile(const QString& url, bool checkFile = true);
    // Texts are paths or URLs; local paths become file URLs.
    Q_INVOKABLE void openFiles(const QList<QString>& urls, bool checkFile = true);
    // One media opens on its own, several become the playlist, one playlist file is expanded.
    Q_INVOKABLE void openFiles(const QList<QUrl>& urls, bool checkFile = true);
    // True for fewer than two entries: there is nothing to step to.
    Q_INVOKABLE bool playListIsEmpty() const;
    Q_INVOKABLE void playListSetPrevious();
    Q_INVOKABLE QList<QString> getPlayListNames() const;
    Q_INVOKABLE void clearPlayList();
    Q_INVOKABLE void startTimerNextImage();
    Q_INVOKABLE void setMediaLoader(QObject* loader);
    // The loader QML registered, or null before that and once the scene is gone.
    QObject* mediaLoaderObject() const { return mediaLoader; }
    Q_INVOKABLE QUrl getDynamicLogo(const QUrl& url) const;
    Q_INVOKABLE QUrl checkFilePath(const QUrl& filePath) const;
    Q_INVOKABLE bool isValidFilePath(const QUrl& filePath) const;
    Q_INVOKABLE bool isImageFile(const QUrl& filePath) const;
    Q_INVOKABLE bool isVideoFile(const QUrl& filePath) const;

public slots:
    void playListSetNext();

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

private:
    void updateRotationMatrix();
    void updateAnglesFromMatrix();
    void resetOrientation();
    void processFileSource(const QVariant& fileSource, bool checkFile, const QString& error);

    QString videoLogMessageValue;
    float yawValue = 0.0f;
    float pitchValue = 0.0f;
    float requestedPitch = 0.0f;
    float rollValue = 0.0f;
    float fovValue = 60.0f;
    float yawMinValue;
    float yawMaxValue;
    float pitchMinValue;
    float pitchMaxValue;
    QMatrix4x4 rotationMatrixValue;
    bool touchModeValue = true;
    HSettingsManager* const settings;

    QList<QUrl> playlist;
    int playListIndexValue = -1;
    QTimer* imageTimer;
    // QML owns the loader; the pointer clears itself when the scene goes first.
    QPointer<QObject> mediaLoader;
    // Logos named by playlist files, by media URL; kept for the whole run.
    QMap<QUrl, QUrl> logoMap;
};
