#pragma once

#include <QImage>
#include <QOpenGLShaderProgram>
#include <QQuickPaintedItem>
#include <QSemaphore>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

struct libvlc_event_t;
struct libvlc_instance_t;
struct libvlc_media_player_t;
struct libvlc_media_t;
class QOpenGLContext;

// Plays a video through libvlc and shows its frames. libvlc decodes each picture straight into the
// item's own image; the item uploads that image into a texture and draws it over its whole area.
//
// Threads: libvlc's video threads run the format, lock and unlock callbacks, libvlc's event thread
// runs the event handler, the render thread runs paint(). Everything they have to tell the item's
// QML side crosses to the GUI thread as a queued call; the picture itself stays in `frame`, guarded
// by `frameLock`.
class HuiQuickVideoPlayerVlc : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ getSource WRITE openFile NOTIFY sourceChanged)
    Q_PROPERTY(float volume READ getVolume WRITE setVolume NOTIFY volumeChanged)
    Q_PROPERTY(bool nativeSize READ getNativeSize WRITE setNativeSize)
    Q_PROPERTY(int framesDecoded READ getFramesDecoded NOTIFY statisticsChanged)
    Q_PROPERTY(int framesUploaded READ getFramesUploaded NOTIFY statisticsChanged)
    Q_PROPERTY(int framesLost READ getFramesLost NOTIFY statisticsChanged)

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

    // The process-wide hardware-decoding flag, owned by main(). It is read once, when the shared
    // libvlc instance is created; null reads as false.
    static void setHardwareDecodingFlag(const bool* flag);
    static const bool* hardwareDecodingFlag();
    // The argument list the shared instance is created with, for either value of the flag.
    static QStringList instanceArguments(bool hardwareDecoding);
    // What the shared instance was actually created with; empty until it exists.
    static QStringList sharedInstanceArguments();

    QUrl getSource() const { return source; }
    float getVolume() const;
    void setVolume(float volume);
    bool getNativeSize() const { return nativeSize.load(); }
    void setNativeSize(bool enabled);

    // Frames libvlc handed over, frames that reached the texture, and frames overwritten by the next
    // one before a paint could upload them; all counted since the current media was opened.
    int getFramesDecoded() const { return framesDecoded.load(); }
    int getFramesUploaded() const { return framesUploaded.load(); }
    int getFramesLost() const { return framesLost.load(); }

    Q_INVOKABLE void openFile(const QUrl& url);
    Q_INVOKABLE void openStream(const QString& stream);
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void restart();
    Q_INVOKABLE void close();
    Q_INVOKABLE void seek(int offset);

    void paint(QPainter* painter) override;

signals:
    void durationChanged(int duration);
    void errorStringChanged(QString errorString);
    void positionChanged(int position);
    void sourceChanged();
    void vlcStateChanged(int vlcState);
    void volumeChanged();
    void statisticsChanged();

public slots:
    void onError();

protected:
    void releaseResources() override;

private slots:
    void frameReady();
    void resizeToFrame();
    void reportStatistics();

private:
    // What libvlc's media events carry to the GUI thread: the item, and which media of the item
    // raised them, so that events queued by a media that has since been replaced are dropped.
    struct MediaContext
    {
        HuiQuickVideoPlayerVlc* item;
        quint64 generation;
    };

    static void handleEvent(const libvlc_event_t* event, void* opaque);
    static unsigned formatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                unsigned* pitches, unsigned* lines);
    static void formatCleanup(void* opaque);
    static void* lockFrame(void* opaque, void** planes);
    static void unlockFrame(void* opaque, void* picture, void* const* planes);

    void onMediaState(quint64 generation, int state, const QString& error);
    void checkMedia(quint64 generation);
    void reportError(const QString& vlcMessage);
    void attachMedia(libvlc_media_t* newMedia);
    void releaseMedia();
    void resetStatistics();
    QSize pictureSize(unsigned proposedWidth, unsigned proposedHeight) const;
    void drawFrame();

    libvlc_media_player_t* player = nullptr;
    libvlc_media_t* media = nullptr;
    std::unique_ptr<MediaContext> mediaContext;
    quint64 mediaGeneration = 0;
    // libvlc reports Ended right after Error; the failure is what the user must see.
    bool mediaFailed = false;

    // Taken by libvlc's lock callback and released by its unlock callback, which may run on another
    // thread, so a semaphore rather than a mutex.
    QSemaphore frameLock{1};
    QImage frame;
    bool textureDirty = false;
    bool pictureWaiting = false;
    // A pause asked for before the media's first picture waits for it (GUI thread).
    bool pauseOnFirstPicture = false;

    // Render-thread state. The texture belongs to the context that made it; a new context (the item
    // moved to another window) gets a new one.
    std::unique_ptr<QOpenGLShaderProgram> program;
    unsigned texture = 0;
    QOpenGLContext* textureContext = nullptr;

    QUrl source;
    std::atomic<bool> nativeSize{false};

    std::atomic<int> framesDecoded{0};
    std::atomic<int> framesUploaded{0};
    std::atomic<int> framesLost{0};
    int reportedDecoded = 0;
    int reportedUploaded = 0;
    int reportedLost = 0;
    QTimer statisticsTimer;
};
