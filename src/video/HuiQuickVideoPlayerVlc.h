#pragma once

#include "HPlaybackClock.h"

#include <QQuickItem>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

struct libvlc_media_player_t;
struct libvlc_media_t;
class HFrameTextureProvider;
class HSpatialSound;
class HVlcAudioTap;
struct HVideoFeed;
class HVlcEventRelay;
class HVlcFrameSink;

// Plays a video through libvlc. libvlc decodes into a small pool of buffers (8-bit 4:2:0 pictures
// stay YUV, others become RGBA); the item draws nothing itself but is the texture provider of its
// frames, which the panorama view samples: each new frame is uploaded once, on the render thread,
// when the window draws it.
//
// Threads: libvlc's video threads run the frame sink's callbacks, libvlc's event thread the event
// relay's handler, the render thread creates the texture provider and uploads.
// Everything they have to tell the item's QML side crosses to the GUI thread as a queued call; the
// pictures themselves go through the frame pool, which never makes the decoder wait.
class HuiQuickVideoPlayerVlc : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ getSource WRITE openFile NOTIFY sourceChanged)
    Q_PROPERTY(float volume READ getVolume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(bool nativeSize READ getNativeSize WRITE setNativeSize)
    Q_PROPERTY(int framesDecoded READ getFramesDecoded NOTIFY statisticsChanged)
    Q_PROPERTY(int framesUploaded READ getFramesUploaded NOTIFY statisticsChanged)
    Q_PROPERTY(int framesLost READ getFramesLost NOTIFY statisticsChanged)
    Q_PROPERTY(qreal playbackRate READ getPlaybackRate WRITE setPlaybackRate NOTIFY playbackRateChanged)
    // Where the media is now: clockPosition + (now - clockTime) * clockRate, in milliseconds on the
    // monotonic clock; finer than the position, which moves only with libvlc's time reports.
    Q_PROPERTY(double clockPosition READ getClockPosition NOTIFY clockChanged)
    Q_PROPERTY(double clockTime READ getClockTime NOTIFY clockChanged)
    Q_PROPERTY(double clockRate READ getClockRate NOTIFY clockChanged)
    // How the media failed (HMediaFailure::PlayerFailure), read when the state becomes Error.
    Q_PROPERTY(int failure READ getFailure NOTIFY failureChanged)
    // A media under way that brings no picture and no time for this long has stalled and is
    // given up (milliseconds).
    Q_PROPERTY(int stallTimeout READ getStallTimeout WRITE setStallTimeout NOTIFY stallTimeoutChanged)
    // The program's spatial sound: set, an ambisonic track of a local file turns with its view.
    Q_PROPERTY(QObject* spatialSound READ getSpatialSound WRITE setSpatialSound)

public:
    // libvlc's libvlc_state_t, one for one.
    enum VlcState
    {
        Idle = 0,
        Opening,
        Buffering,
        Playing,
        Paused,
        Stopped,
        Ended,
        Error
    };
    Q_ENUM(VlcState)

    explicit HuiQuickVideoPlayerVlc(QQuickItem* parent = nullptr);
    ~HuiQuickVideoPlayerVlc() override;

    QUrl getSource() const { return source; }
    float getVolume() const;
    void setVolume(float volume);
    bool getNativeSize() const { return nativeSize; }
    void setNativeSize(bool enabled);

    // Frames libvlc handed over, frames that reached the window, and frames overtaken by a newer one
    // before the window could show them; all counted since the current media was opened.
    int getFramesDecoded() const;
    int getFramesUploaded() const;
    int getFramesLost() const;

    qreal getPlaybackRate() const { return rate; }
    // 1 is the media's own pace; libvlc takes 0.25 to 4.
    void setPlaybackRate(qreal newRate);
    double getClockPosition() const { return clock.anchorPosition(); }
    double getClockTime() const { return clock.anchorTime(); }
    double getClockRate() const { return clock.speed(); }
    int getFailure() const { return failureKind; }
    int getStallTimeout() const { return stallTimer.interval(); }
    QObject* getSpatialSound() const;
    void setSpatialSound(QObject* sound);
    void setStallTimeout(int milliseconds);

    Q_INVOKABLE void openFile(const QUrl& url);
    // Streams open through openFile with their URL; this stays for the interface that names it.
    Q_INVOKABLE void openStream(const QString&) {}
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void restart();
    Q_INVOKABLE void close();
    Q_INVOKABLE void seek(int offset);

    // The frames, for the panorama view; render thread.
    bool isTextureProvider() const override { return true; }
    QSGTextureProvider* textureProvider() const override;

signals:
    void durationChanged(int duration);
    void errorStringChanged(QString errorString);
    void positionChanged(int position);
    void sourceChanged();
    void vlcStateChanged(int vlcState);
    void volumeChanged();
    void statisticsChanged();
    void playbackRateChanged();
    void clockChanged();
    void failureChanged();
    void stallTimeoutChanged();
    // A new frame is ready to be shown (GUI thread).
    void frameAvailable();

public slots:
    // Errors reach the interface through errorStringChanged; the slot stays for those that name it.
    void onError() {}

protected:
    void releaseResources() override;

private slots:
    void frameReady();
    void resizeToFrame();
    void reportStatistics();
    // Render thread, when the scene graph lets go of its resources.
    void invalidateSceneGraph();

private:
    void onMediaState(quint64 generation, int state, const QString& error, double at);
    void onTime(int position, double at);
    void checkMedia(quint64 generation);
    void reportError(const QString& vlcMessage);
    // Ends the media as failed: libvlc is stopped, and Error is the last state the interface hears.
    void fail(int failure, const QString& message);
    void watchForStall(int state);
    void attachMedia(libvlc_media_t* newMedia);
    // A new libvlc player, with its own audio output or with the spatial sound's tap; what the old
    // one had been told (volume, rate) is told again.
    void makePlayer(bool spatial);
    QString decoderCounts() const;
    void releaseMedia();
    void forgetPictures();

    libvlc_media_player_t* player = nullptr;
    libvlc_media_t* media = nullptr;
    std::unique_ptr<HVlcEventRelay> relay;
    // libvlc reports Ended right after Error, and Stopped once a failed media is stopped; the
    // failure is what the user must see.
    bool mediaFailed = false;
    int failureKind = 0;
    QTimer stallTimer;

    std::shared_ptr<HVideoFeed> feed;
    std::unique_ptr<HVlcFrameSink> sink;
    std::unique_ptr<HVlcAudioTap> tap;
    HSpatialSound* spatialSound = nullptr;
    int volumePercent = 100;
    // A pause asked for before the media's first picture waits for it (GUI thread).
    bool pauseOnFirstPicture = false;
    // Render thread: made when the view first asks for it, deleted there.
    mutable HFrameTextureProvider* provider = nullptr;

    QUrl source;
    bool nativeSize = false;
    qreal rate = 1.0;
    HPlaybackClock clock;

    // The pool's counts when the current media was opened.
    int decodedBase = 0;
    int uploadedBase = 0;
    int lostBase = 0;
    int reportedDecoded = 0;
    int reportedUploaded = 0;
    int reportedLost = 0;
    QTimer statisticsTimer;
};
