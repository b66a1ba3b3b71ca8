#include "HuiQuickVideoPlayerVlc.h"

#include "VideoLogging.h"

#include <QMatrix4x4>
#include <QMutex>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QQuickWindow>
#include <QRunnable>

#include <vlc/vlc.h>

#include <cstring>

namespace {

// The decoder may pad the picture it proposes (H.264 adds a couple of rows); a difference larger
// than this is a different picture, not padding.
constexpr unsigned maxPadding = 64;

struct SharedVlc
{
    QMutex mutex;
    libvlc_instance_t* instance = nullptr;
    QStringList arguments;
    std::atomic<const bool*> hardwareDecoding{nullptr};
};

SharedVlc& sharedVlc()
{
    static SharedVlc shared;
    return shared;
}

libvlc_instance_t* createInstance(const QStringList& arguments)
{
    std::vector<QByteArray> storage;
    std::vector<const char*> argv;
    for (const QString& argument : arguments) {
        storage.push_back(argument.toUtf8());
    }
    for (const QByteArray& bytes : storage) {
        argv.push_back(bytes.constData());
    }
    return libvlc_new(int(argv.size()), argv.data());
}

// One instance for the process, made on first need and never released. The hardware-decoding flag
// counts only now: a later change waits for the next start of the program.
libvlc_instance_t* sharedInstance()
{
    SharedVlc& shared = sharedVlc();
    QMutexLocker locker(&shared.mutex);
    if (shared.instance) {
        return shared.instance;
    }
    const bool* flag = shared.hardwareDecoding.load();
    const bool hardware = flag && *flag;
    QStringList arguments = HuiQuickVideoPlayerVlc::instanceArguments(hardware);
    shared.instance = createInstance(arguments);
    if (!shared.instance && hardware) {
        qCWarning(lcVideo) << "libvlc refused hardware decoding; decoding in software";
        arguments = HuiQuickVideoPlayerVlc::instanceArguments(false);
        shared.instance = createInstance(arguments);
    }
    if (!shared.instance) {
        qCCritical(lcVideo) << "libvlc could not be initialised with" << arguments;
        return nullptr;
    }
    shared.arguments = arguments;
    qCInfo(lcVideo).noquote() << "libvlc" << libvlc_get_version() << "started with"
                              << arguments.join(QLatin1Char(' '));
    return shared.instance;
}

// libvlc keeps its last error per thread, so this is only meaningful on the thread that saw it.
QString vlcErrorMessage()
{
    const char* message = libvlc_errmsg();
    return message ? QString::fromUtf8(message) : QString();
}

// A binary-semaphore guard for the frame lock.
class FrameLocker
{
public:
    explicit FrameLocker(QSemaphore& semaphore) : lock(semaphore) { lock.acquire(); }
    ~FrameLocker() { lock.release(); }
    FrameLocker(const FrameLocker&) = delete;
    FrameLocker& operator=(const FrameLocker&) = delete;

private:
    QSemaphore& lock;
};

// Deletes the GL objects of an item on the render thread, with their context current.
class ReleaseGlResources : public QRunnable
{
public:
    ReleaseGlResources(QOpenGLShaderProgram* shaderProgram, unsigned textureName, QOpenGLContext* owner)
        : program(shaderProgram), texture(textureName), context(owner)
    {
    }
    // Qt defers the program's deletion itself when no context of its group is current.
    ~ReleaseGlResources() override { delete program; }
    void run() override
    {
        QOpenGLContext* current = QOpenGLContext::currentContext();
        if (texture && current && current == context) {
            current->functions()->glDeleteTextures(1, &texture);
        }
    }

private:
    QOpenGLShaderProgram* program;
    GLuint texture;
    QOpenGLContext* context;
};

const char* const vertexShaderSource = "attribute highp vec4 vertex;\n"
                                       "attribute highp vec4 texture;\n"
                                       "uniform highp mat4 matrix;\n"
                                       "varying highp vec4 texCoord;\n"
                                       "void main(void)\n"
                                       "{\n"
                                       "   gl_Position = matrix * vertex;\n"
                                       "   texCoord = texture;\n"
                                       "}\n";

// libvlc writes RV32 (B, G, R, A in memory), uploaded as RGBA: swap red and blue back here.
const char* const fragmentShaderSource = "uniform sampler2D src;\n"
                                         "varying highp vec4 texCoord;\n"
                                         "void main() {\n"
                                         "highp vec4 color = texture2D(src,texCoord.xy);\n"
                                         "gl_FragColor = vec4(color.b,color.g,color.r,color.a);\n"
                                         "}\n";

} // namespace

HuiQuickVideoPlayerVlc::HuiQuickVideoPlayerVlc(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setMipmap(false);
    setRenderTarget(QQuickPaintedItem::InvertedYFramebufferObject);

    statisticsTimer.setInterval(1000);
    connect(&statisticsTimer, &QTimer::timeout, this, &HuiQuickVideoPlayerVlc::reportStatistics);

    libvlc_instance_t* instance = sharedInstance();
    player = instance ? libvlc_media_player_new(instance) : nullptr;
    if (!player) {
        qCCritical(lcVideo) << "no libvlc media player: videos cannot be played";
        return;
    }
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(player);
    libvlc_event_attach(events, libvlc_MediaPlayerTimeChanged, &HuiQuickVideoPlayerVlc::handleEvent, this);
    libvlc_event_attach(events, libvlc_MediaPlayerEncounteredError, &HuiQuickVideoPlayerVlc::handleEvent,
                        this);
    libvlc_video_set_callbacks(player, &HuiQuickVideoPlayerVlc::lockFrame,
                               &HuiQuickVideoPlayerVlc::unlockFrame, nullptr, this);
    libvlc_video_set_format_callbacks(player, &HuiQuickVideoPlayerVlc::formatSetup,
                                      &HuiQuickVideoPlayerVlc::formatCleanup);
}

HuiQuickVideoPlayerVlc::~HuiQuickVideoPlayerVlc()
{
    if (player) {
        // Stopping joins libvlc's threads: no callback runs after this.
        libvlc_media_player_stop(player);
        libvlc_event_manager_t* events = libvlc_media_player_event_manager(player);
        libvlc_event_detach(events, libvlc_MediaPlayerTimeChanged, &HuiQuickVideoPlayerVlc::handleEvent,
                            this);
        libvlc_event_detach(events, libvlc_MediaPlayerEncounteredError, &HuiQuickVideoPlayerVlc::handleEvent,
                            this);
    }
    releaseMedia();
    if (player) {
        libvlc_media_player_release(player);
    }
}

void HuiQuickVideoPlayerVlc::setHardwareDecodingFlag(const bool* flag)
{
    sharedVlc().hardwareDecoding.store(flag);
}

const bool* HuiQuickVideoPlayerVlc::hardwareDecodingFlag()
{
    return sharedVlc().hardwareDecoding.load();
}

QStringList HuiQuickVideoPlayerVlc::instanceArguments(bool hardwareDecoding)
{
    QStringList arguments{QStringLiteral("--verbose=2"), QStringLiteral("--quiet"), QStringLiteral("--intf"),
                          QStringLiteral("dummy"), QStringLiteral("--ignore-config")};
    if (hardwareDecoding) {
#ifdef Q_OS_WIN
        arguments << QStringLiteral("--avcodec-hw=dxva2");
#else
        arguments << QStringLiteral("--avcodec-hw=vaapi");
#endif
    }
    return arguments;
}

QStringList HuiQuickVideoPlayerVlc::sharedInstanceArguments()
{
    SharedVlc& shared = sharedVlc();
    QMutexLocker locker(&shared.mutex);
    return shared.arguments;
}

float HuiQuickVideoPlayerVlc::getVolume() const
{
    return player ? float(libvlc_audio_get_volume(player)) / 100.0f : 0.0f;
}

void HuiQuickVideoPlayerVlc::setVolume(float volume)
{
    if (player) {
        libvlc_audio_set_volume(player, int(double(volume) * 100.0));
    }
    emit volumeChanged();
}

void HuiQuickVideoPlayerVlc::setNativeSize(bool enabled)
{
    nativeSize.store(enabled);
}

void HuiQuickVideoPlayerVlc::openFile(const QUrl& url)
{
    if (url.isEmpty()) {
        return;
    }
    releaseMedia();
    source.clear();
    resetStatistics();
    pauseOnFirstPicture = false;

    libvlc_instance_t* instance = sharedInstance();
    libvlc_media_t* newMedia = instance && player
                                   ? libvlc_media_new_location(instance, url.toString().toUtf8().constData())
                                   : nullptr;
    if (newMedia) {
        attachMedia(newMedia);
        libvlc_media_add_option(media, ":play-and-stop");
        libvlc_media_player_set_media(player, media);
        libvlc_media_player_play(player);
        emit volumeChanged();
        source = url;
        qCInfo(lcVideo).noquote() << "opening" << url.toString();
    } else {
        qCWarning(lcVideo).noquote() << "libvlc cannot open" << url.toString();
    }
    emit sourceChanged();
    update();
}

void HuiQuickVideoPlayerVlc::openStream(const QString& stream)
{
    Q_UNUSED(stream)
}

void HuiQuickVideoPlayerVlc::play()
{
    pauseOnFirstPicture = false;
    if (player) {
        libvlc_media_player_play(player);
    }
}

void HuiQuickVideoPlayerVlc::pause()
{
    if (!player) {
        return;
    }
    // Paused before its first picture, libvlc never shows one: the screen stays black.
    if (media && framesDecoded.load() == 0) {
        pauseOnFirstPicture = true;
        return;
    }
    libvlc_media_player_set_pause(player, 1);
}

void HuiQuickVideoPlayerVlc::stop()
{
    if (player) {
        libvlc_media_player_stop(player);
    }
}

void HuiQuickVideoPlayerVlc::restart()
{
    if (!player || !media) {
        return;
    }
    libvlc_media_player_set_media(player, media);
    libvlc_media_player_play(player);
}

void HuiQuickVideoPlayerVlc::close()
{
    pauseOnFirstPicture = false;
    if (player) {
        libvlc_media_player_stop(player);
    }
    releaseMedia();
    statisticsTimer.stop();
    // Nothing is open any more, so there is no source to report.
    if (!source.isEmpty()) {
        source.clear();
        emit sourceChanged();
    }
}

void HuiQuickVideoPlayerVlc::seek(int offset)
{
    if (!player) {
        return;
    }
    libvlc_media_player_set_time(player, libvlc_time_t(offset));
    // While playing, libvlc's time events report the new position; while paused none come.
    if (!libvlc_media_player_is_playing(player)) {
        emit positionChanged(offset);
    }
}

void HuiQuickVideoPlayerVlc::onError()
{
}

void HuiQuickVideoPlayerVlc::attachMedia(libvlc_media_t* newMedia)
{
    media = newMedia;
    mediaContext.reset(new MediaContext{this, ++mediaGeneration});
    mediaFailed = false;
    libvlc_event_manager_t* events = libvlc_media_event_manager(media);
    libvlc_event_attach(events, libvlc_MediaStateChanged, &HuiQuickVideoPlayerVlc::handleEvent,
                        mediaContext.get());
    libvlc_event_attach(events, libvlc_MediaParsedChanged, &HuiQuickVideoPlayerVlc::handleEvent,
                        mediaContext.get());
}

void HuiQuickVideoPlayerVlc::releaseMedia()
{
    if (!media) {
        return;
    }
    // Detaching waits for a handler that is running, so the context can go afterwards.
    libvlc_event_manager_t* events = libvlc_media_event_manager(media);
    libvlc_event_detach(events, libvlc_MediaStateChanged, &HuiQuickVideoPlayerVlc::handleEvent,
                        mediaContext.get());
    libvlc_event_detach(events, libvlc_MediaParsedChanged, &HuiQuickVideoPlayerVlc::handleEvent,
                        mediaContext.get());
    libvlc_media_release(media);
    media = nullptr;
    mediaContext.reset();
    ++mediaGeneration;
}

void HuiQuickVideoPlayerVlc::handleEvent(const libvlc_event_t* event, void* opaque)
{
    // libvlc's event thread: nothing here touches the item except through a queued call.
    switch (event->type) {
    case libvlc_MediaStateChanged: {
        const MediaContext* context = static_cast<const MediaContext*>(opaque);
        HuiQuickVideoPlayerVlc* item = context->item;
        const quint64 generation = context->generation;
        const int state = event->u.media_state_changed.new_state;
        const QString error = state == libvlc_Error ? vlcErrorMessage() : QString();
        QMetaObject::invokeMethod(
            item, [item, generation, state, error] { item->onMediaState(generation, state, error); },
            Qt::QueuedConnection);
        break;
    }
    case libvlc_MediaParsedChanged: {
        const MediaContext* context = static_cast<const MediaContext*>(opaque);
        HuiQuickVideoPlayerVlc* item = context->item;
        const quint64 generation = context->generation;
        QMetaObject::invokeMethod(
            item, [item, generation] { item->checkMedia(generation); }, Qt::QueuedConnection);
        break;
    }
    case libvlc_MediaPlayerEncounteredError: {
        HuiQuickVideoPlayerVlc* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
        const QString error = vlcErrorMessage();
        QMetaObject::invokeMethod(
            item, [item, error] { item->reportError(error); }, Qt::QueuedConnection);
        break;
    }
    case libvlc_MediaPlayerTimeChanged: {
        HuiQuickVideoPlayerVlc* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
        const int position = int(event->u.media_player_time_changed.new_time);
        QMetaObject::invokeMethod(
            item, [item, position] { emit item->positionChanged(position); }, Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
}

void HuiQuickVideoPlayerVlc::onMediaState(quint64 generation, int state, const QString& error)
{
    // A media that has been replaced has nothing more to say; one that was closed or dropped still
    // reports how it stops.
    if (generation != mediaGeneration && media) {
        return;
    }
    if (state == Opening) {
        mediaFailed = false;
    } else if (state == Ended && mediaFailed) {
        // Passing this on would read as a normal end and have the media started over and over.
        return;
    }
    emit vlcStateChanged(state);
    // Statistics are logged while the media is under way, and once more when it stops.
    if (state == Opening || state == Buffering || state == Playing) {
        if (!statisticsTimer.isActive()) {
            statisticsTimer.start();
        }
    } else if (state == Stopped || state == Ended || state == Error) {
        if (statisticsTimer.isActive()) {
            statisticsTimer.stop();
            reportStatistics();
        }
    }
    if (state == Error) {
        mediaFailed = true;
        reportError(error);
    }
}

void HuiQuickVideoPlayerVlc::reportError(const QString& vlcMessage)
{
    // libvlc rarely has a text for the event thread; the user must still learn that playback failed.
    const QString message = vlcMessage.isEmpty() ? tr("This media cannot be played.") : vlcMessage;
    qCWarning(lcVideo).noquote() << "playback error:" << message << source.toString();
    emit errorStringChanged(message);
}

void HuiQuickVideoPlayerVlc::checkMedia(quint64 generation)
{
    if (generation != mediaGeneration || !media) {
        return;
    }
    emit durationChanged(int(libvlc_media_get_duration(media)));

    libvlc_media_track_t** tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(media, &tracks);
    bool hasVideo = false;
    for (unsigned i = 0; i < count; ++i) {
        hasVideo = hasVideo || tracks[i]->i_type == libvlc_track_video;
    }
    if (count > 0) {
        libvlc_media_tracks_release(tracks, count);
    }
    // Some containers (MPEG-TS, most streams) list no track at this point; only a known list
    // without a video track means there is nothing to show.
    if (count == 0 || hasVideo) {
        return;
    }
    qCInfo(lcVideo).noquote() << "no video track, dropping" << source.toString();
    releaseMedia();
    source.clear();
}

QSize HuiQuickVideoPlayerVlc::pictureSize(unsigned proposedWidth, unsigned proposedHeight) const
{
    // libvlc proposes the decoder's buffer size, which can be larger than the picture; accepting it
    // makes libvlc rescale every frame. The media's video track knows the picture's own size.
    // Careful: this runs on a decoder thread that stop() and set_media() wait for while they hold the
    // player's input lock, so nothing here may take that lock (libvlc_video_get_track() does).
    QSize size{int(proposedWidth), int(proposedHeight)};
    libvlc_media_t* current = libvlc_media_player_get_media(player);
    if (!current) {
        return size;
    }
    libvlc_media_track_t** tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(current, &tracks);
    for (unsigned i = 0; i < count; ++i) {
        const libvlc_media_track_t* track = tracks[i];
        if (track->i_type != libvlc_track_video) {
            continue;
        }
        const unsigned width = track->video->i_width;
        const unsigned height = track->video->i_height;
        if (width > 0 && height > 0 && width <= proposedWidth && height <= proposedHeight &&
            proposedWidth - width < maxPadding && proposedHeight - height < maxPadding) {
            size = QSize(int(width), int(height));
            break;
        }
    }
    if (count > 0) {
        libvlc_media_tracks_release(tracks, count);
    }
    libvlc_media_release(current);
    return size;
}

unsigned HuiQuickVideoPlayerVlc::formatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                             unsigned* pitches, unsigned* lines)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(*opaque);
    const QSize size = item->pictureSize(*width, *height);
    qCDebug(lcVideo, "libvlc proposes %ux%u %.4s, using %dx%d", *width, *height, chroma, size.width(),
            size.height());

    FrameLocker locker(item->frameLock);
    item->frame = QImage(size, QImage::Format_ARGB32);
    if (item->frame.isNull()) {
        qCCritical(lcVideo) << "no memory for a" << size << "picture";
        return 0;
    }
    item->frame.fill(QColor(0, 0, 0, 255));
    std::memcpy(chroma, "RV32", 5);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    pitches[0] = unsigned(item->frame.bytesPerLine());
    lines[0] = unsigned(size.height());
    item->textureDirty = true;
    item->pictureWaiting = false;
    if (item->nativeSize.load()) {
        QMetaObject::invokeMethod(item, "resizeToFrame", Qt::QueuedConnection);
    }
    return 1;
}

void HuiQuickVideoPlayerVlc::formatCleanup(void* opaque)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    FrameLocker locker(item->frameLock);
    item->frame = QImage();
    item->pictureWaiting = false;
}

void* HuiQuickVideoPlayerVlc::lockFrame(void* opaque, void** planes)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    // Held until unlockFrame(), possibly released on another of libvlc's threads.
    item->frameLock.acquire();
    // constBits() does not detach: libvlc writes into the image's own buffer.
    planes[0] = const_cast<uchar*>(item->frame.constBits());
    return nullptr;
}

void HuiQuickVideoPlayerVlc::unlockFrame(void* opaque, void* picture, void* const* planes)
{
    Q_UNUSED(picture)
    Q_UNUSED(planes)
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    item->framesDecoded.fetch_add(1);
    if (item->pictureWaiting) {
        item->framesLost.fetch_add(1);
    }
    item->pictureWaiting = true;
    QMetaObject::invokeMethod(item, "frameReady", Qt::QueuedConnection);
    item->frameLock.release();
}

void HuiQuickVideoPlayerVlc::frameReady()
{
    if (pauseOnFirstPicture && player) {
        pauseOnFirstPicture = false;
        libvlc_media_player_set_pause(player, 1);
    }
    update();
}

void HuiQuickVideoPlayerVlc::resizeToFrame()
{
    QSize size;
    {
        FrameLocker locker(frameLock);
        size = frame.size();
    }
    if (!size.isEmpty()) {
        setSize(size);
    }
}

void HuiQuickVideoPlayerVlc::paint(QPainter* painter)
{
    FrameLocker locker(frameLock);
    painter->beginNativePainting();
    drawFrame();
    painter->endNativePainting();
}

void HuiQuickVideoPlayerVlc::drawFrame()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context) {
        return;
    }
    QOpenGLFunctions* gl = context->functions();
    if (context != textureContext) {
        // The old context took its objects with it.
        texture = 0;
        program.reset();
        textureContext = context;
    }
    if (!program) {
        program = std::make_unique<QOpenGLShaderProgram>();
        program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertexShaderSource);
        program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentShaderSource);
        if (!program->link()) {
            qCWarning(lcVideo).noquote() << "video shader:" << program->log();
        }
    }
    if (frame.isNull()) {
        return;
    }
    if (!texture) {
        gl->glGenTextures(1, &texture);
        textureDirty = true;
    }
    const int width = frame.width();
    const int height = frame.height();
    gl->glBindTexture(GL_TEXTURE_2D, texture);
    if (textureDirty) {
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        textureDirty = false;
    }
    gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.constBits());
    if (pictureWaiting) {
        pictureWaiting = false;
        framesUploaded.fetch_add(1);
    }

    QMatrix4x4 matrix;
    matrix.ortho(QRectF(0, 0, 1, 1));
    static const GLfloat points[] = {0, 0, 0, 1, 1, 1, 1, 0};
    program->bind();
    program->setUniformValue("matrix", matrix);
    program->setUniformValue("src", 0);
    program->enableAttributeArray("vertex");
    program->enableAttributeArray("texture");
    program->setAttributeArray("vertex", points, 2);
    program->setAttributeArray("texture", points, 2);

    gl->glClearColor(0, 0, 0, 0);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    gl->glActiveTexture(GL_TEXTURE0);
    gl->glBindTexture(GL_TEXTURE_2D, texture);
    gl->glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    program->disableAttributeArray("vertex");
    program->disableAttributeArray("texture");
    program->release();
}

void HuiQuickVideoPlayerVlc::releaseResources()
{
    QQuickPaintedItem::releaseResources();
    // The render thread may still be painting the item's last frame.
    FrameLocker locker(frameLock);
    if ((program || texture) && window()) {
        window()->scheduleRenderJob(new ReleaseGlResources(program.release(), texture, textureContext),
                                    QQuickWindow::BeforeSynchronizingStage);
    }
    texture = 0;
    textureContext = nullptr;
}

void HuiQuickVideoPlayerVlc::resetStatistics()
{
    framesDecoded.store(0);
    framesUploaded.store(0);
    framesLost.store(0);
    reportedDecoded = reportedUploaded = reportedLost = 0;
    emit statisticsChanged();
}

void HuiQuickVideoPlayerVlc::reportStatistics()
{
    const int decoded = framesDecoded.load();
    const int uploaded = framesUploaded.load();
    const int lost = framesLost.load();
    qCInfo(lcVideoStats).nospace() << "decoded " << decoded - reportedDecoded << "/s, uploaded "
                                   << uploaded - reportedUploaded << "/s, lost " << lost - reportedLost
                                   << "/s (totals " << decoded << ", " << uploaded << ", " << lost << ")";
    if (decoded != reportedDecoded || uploaded != reportedUploaded || lost != reportedLost) {
        reportedDecoded = decoded;
        reportedUploaded = uploaded;
        reportedLost = lost;
        emit statisticsChanged();
    }
}
