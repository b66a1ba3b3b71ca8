#include "HuiQuickVideoPlayerVlc.h"

#include "HVideoFrameTexture.h"
#include "VideoLogging.h"
#include "render/HFrameTextureProvider.h"
#include "render/RenderLogging.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QQuickWindow>

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

// The decoder's own chromas of 8-bit 4:2:0 pictures, which are shown as YUV planes; every other
// chroma is converted to RGBA by libvlc. J420 is the full-range (JPEG) variant.
bool isPlanar420(const char* chroma)
{
    for (const char* planar : {"I420", "IYUV", "YV12", "J420", "NV12", "NV21"}) {
        if (std::strncmp(chroma, planar, 4) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

HuiQuickVideoPlayerVlc::HuiQuickVideoPlayerVlc(QQuickItem* parent)
    : QQuickItem(parent), feed(std::make_shared<HVideoFeed>())
{
    // Nothing is drawn where the item is; the flag lets the scene graph tell it when to let go of
    // its texture provider.
    setFlag(ItemHasContents, true);

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
                               &HuiQuickVideoPlayerVlc::unlockFrame, &HuiQuickVideoPlayerVlc::displayFrame,
                               this);
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
    // The base class's destructor no longer reaches releaseResources() of this class.
    if (provider) {
        HFrameTextureProvider::scheduleDeletion(window(), provider);
        provider = nullptr;
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
    pauseOnFirstPicture = false;

    libvlc_instance_t* instance = sharedInstance();
    libvlc_media_t* newMedia = instance && player
                                   ? libvlc_media_new_location(instance, url.toString().toUtf8().constData())
                                   : nullptr;
    if (newMedia) {
        attachMedia(newMedia);
        libvlc_media_add_option(media, ":play-and-stop");
        // Stops the media before, with its threads: no picture of it arrives after this.
        libvlc_media_player_set_media(player, media);
        forgetPictures();
        feed->openedAt.store(QDeadlineTimer::current().deadline());
        libvlc_media_player_play(player);
        emit volumeChanged();
        source = url;
        qCInfo(lcVideo).noquote() << "opening" << url.toString();
    } else {
        qCWarning(lcVideo).noquote() << "libvlc cannot open" << url.toString();
        forgetPictures();
    }
    emit sourceChanged();
    emit frameAvailable();
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
    if (media && getFramesDecoded() == 0) {
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
    forgetPictures();
    emit frameAvailable();
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
    qCDebug(lcVideo) << "state" << VlcState(state);
    if (state == Paused && !paused.load()) {
        pausedPictureKnown = false;
    }
    paused = state == Paused;
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
    // 8-bit 4:2:0 stays as it is decoded, in planes the shader converts; the rest becomes RGBA.
    const bool planar = isPlanar420(chroma);
    const HFrameFormat format =
        planar ? HFrameFormat::nv12(size, std::strncmp(chroma, "J420", 4) == 0) : HFrameFormat::rgba(size);
    qCDebug(lcVideo, "libvlc proposes %ux%u %.4s, using %dx%d %s", *width, *height, chroma, size.width(),
            size.height(), planar ? "NV12" : "RGBA");

    std::memcpy(chroma, planar ? "NV12" : "RGBA", 5);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        pitches[plane] = unsigned(format.pitch(plane));
        lines[plane] = unsigned(format.planeSize(plane).height());
    }
    item->feed->pool.configure(format);
    if (item->nativeSize.load()) {
        QMetaObject::invokeMethod(item, "resizeToFrame", Qt::QueuedConnection);
    }
    // libvlc copies each picture into one of its buffers, which lockFrame() hands out from the pool.
    return 1;
}

void HuiQuickVideoPlayerVlc::formatCleanup(void* opaque)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    item->feed->pool.clear();
}

void* HuiQuickVideoPlayerVlc::lockFrame(void* opaque, void** planes)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    // Never waits: a free buffer, or the newest picture the window has not taken (dropped).
    HFramePool::Buffer* buffer = item->feed->pool.acquire();
    for (int plane = 0; plane < buffer->format().planeCount(); ++plane) {
        planes[plane] = buffer->plane(plane);
    }
    return buffer;
}

void HuiQuickVideoPlayerVlc::displayFrame(void* opaque, void* picture)
{
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    auto* buffer = static_cast<HFramePool::Buffer*>(picture);
    if (item->paused.load()) {
        const quint64 fingerprint = HFramePool::fingerprint(*buffer);
        if (item->pausedPictureKnown.exchange(true) && fingerprint == item->pausedPicture) {
            item->feed->pool.withdraw(buffer);
            return;
        }
        item->pausedPicture = fingerprint;
    }
    item->feed->pool.publish(buffer);
    QMetaObject::invokeMethod(item, "frameReady", Qt::QueuedConnection);
}

void HuiQuickVideoPlayerVlc::unlockFrame(void* opaque, void* picture, void* const* planes)
{
    Q_UNUSED(planes)
    auto* item = static_cast<HuiQuickVideoPlayerVlc*>(opaque);
    // The picture is written; libvlc shows it (display) when its time comes.
    item->feed->pool.complete(static_cast<HFramePool::Buffer*>(picture));
}

void HuiQuickVideoPlayerVlc::frameReady()
{
    if (pauseOnFirstPicture && player) {
        pauseOnFirstPicture = false;
        libvlc_media_player_set_pause(player, 1);
    }
    emit frameAvailable();
}

void HuiQuickVideoPlayerVlc::resizeToFrame()
{
    const QSize size = feed->pool.format().size;
    if (!size.isEmpty()) {
        setSize(size);
    }
}

QSGTextureProvider* HuiQuickVideoPlayerVlc::textureProvider() const
{
    // With a layer the item is drawn into a texture of its own, and that is what it provides.
    if (QQuickItem::isTextureProvider()) {
        return QQuickItem::textureProvider();
    }
    if (!provider) {
        provider = new HFrameTextureProvider(std::make_unique<HVideoFrameTexture>(feed));
    }
    return provider;
}

void HuiQuickVideoPlayerVlc::invalidateSceneGraph()
{
    delete provider;
    provider = nullptr;
}

void HuiQuickVideoPlayerVlc::releaseResources()
{
    HFrameTextureProvider::scheduleDeletion(window(), provider);
    provider = nullptr;
    QQuickItem::releaseResources();
}

void HuiQuickVideoPlayerVlc::forgetPictures()
{
    // The pictures of the media before are not shown for the new one, nor counted against it.
    feed->pool.discardNewest();
    feed->media.fetch_add(1);
    decodedBase = feed->pool.published();
    uploadedBase = feed->pool.taken();
    lostBase = feed->pool.dropped();
    reportedDecoded = reportedUploaded = reportedLost = 0;
    emit statisticsChanged();
}

int HuiQuickVideoPlayerVlc::getFramesDecoded() const
{
    return feed->pool.published() - decodedBase;
}

int HuiQuickVideoPlayerVlc::getFramesUploaded() const
{
    return feed->pool.taken() - uploadedBase;
}

int HuiQuickVideoPlayerVlc::getFramesLost() const
{
    return feed->pool.dropped() - lostBase;
}

void HuiQuickVideoPlayerVlc::reportStatistics()
{
    const int decoded = getFramesDecoded();
    const int uploaded = getFramesUploaded();
    const int lost = getFramesLost();
    qCInfo(lcRenderStats).nospace() << "presented=" << uploaded - reportedUploaded
                                    << " dropped=" << lost - reportedLost
                                    << " decoded=" << decoded - reportedDecoded;
    if (decoded != reportedDecoded || uploaded != reportedUploaded || lost != reportedLost) {
        reportedDecoded = decoded;
        reportedUploaded = uploaded;
        reportedLost = lost;
        emit statisticsChanged();
    }
}
