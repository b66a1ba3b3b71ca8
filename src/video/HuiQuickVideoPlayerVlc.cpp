#include "HuiQuickVideoPlayerVlc.h"

#include "HVideoFrameTexture.h"
#include "HVlcAudioTap.h"
#include "HVlcEventRelay.h"
#include "HVlcFrameSink.h"
#include "HVlcInstance.h"
#include "VideoLogging.h"
#include "audio/HSpatialSound.h"
#include "base/HMonotonicClock.h"
#include "media/HSphericalBoxReader.h"
#include "render/HFrameTextureProvider.h"
#include "render/RenderLogging.h"
#include "session/HMediaFailure.h"

#include <QDeadlineTimer>
#include <QQuickWindow>

#include <vlc/vlc.h>

HuiQuickVideoPlayerVlc::HuiQuickVideoPlayerVlc(QQuickItem* parent)
    : QQuickItem(parent), feed(std::make_shared<HVideoFeed>())
{
    // Nothing is drawn where the item is; the flag lets the scene graph tell it when to let go of
    // its texture provider.
    setFlag(ItemHasContents, true);

    statisticsTimer.setInterval(1000);
    connect(&statisticsTimer, &QTimer::timeout, this, &HuiQuickVideoPlayerVlc::reportStatistics);
    stallTimer.setSingleShot(true);
    stallTimer.setInterval(15000);
    connect(&stallTimer, &QTimer::timeout, this, [this] {
        qCWarning(lcVideo).noquote() << "nothing for" << stallTimer.interval() << "ms, giving up"
                                     << source.toString();
        fail(HMediaFailure::Stalled, tr("This media cannot be played."));
    });

    makePlayer(false);
}

void HuiQuickVideoPlayerVlc::makePlayer(bool spatial)
{
    if (player) {
        // Stopping joins libvlc's threads: no callback of the old player runs after this.
        libvlc_media_player_stop(player);
        tap.reset();
        sink.reset();
        relay.reset();
        libvlc_media_player_release(player);
        player = nullptr;
    }
    libvlc_instance_t* instance = HVlcInstance::shared();
    player = instance ? libvlc_media_player_new(instance) : nullptr;
    if (!player) {
        qCCritical(lcVideo) << "no libvlc media player: videos cannot be played";
        return;
    }
    relay = std::make_unique<HVlcEventRelay>(player);
    connect(relay.get(), &HVlcEventRelay::mediaStateChanged, this, &HuiQuickVideoPlayerVlc::onMediaState,
            Qt::QueuedConnection);
    connect(relay.get(), &HVlcEventRelay::mediaParsed, this, &HuiQuickVideoPlayerVlc::checkMedia,
            Qt::QueuedConnection);
    connect(relay.get(), &HVlcEventRelay::playerError, this, &HuiQuickVideoPlayerVlc::reportError,
            Qt::QueuedConnection);
    connect(relay.get(), &HVlcEventRelay::timeChanged, this, &HuiQuickVideoPlayerVlc::onTime,
            Qt::QueuedConnection);
    sink = std::make_unique<HVlcFrameSink>(player, feed);
    connect(sink.get(), &HVlcFrameSink::frameReady, this, &HuiQuickVideoPlayerVlc::frameReady,
            Qt::QueuedConnection);
    connect(sink.get(), &HVlcFrameSink::formatChanged, this, &HuiQuickVideoPlayerVlc::resizeToFrame,
            Qt::QueuedConnection);
    if (spatial) {
        tap = std::make_unique<HVlcAudioTap>(player, spatialSound);
    }
    // What the old player was told, the new one is told again.
    libvlc_audio_set_volume(player, volumePercent);
    if (!qFuzzyCompare(rate, 1.0)) {
        libvlc_media_player_set_rate(player, float(rate));
    }
}

HuiQuickVideoPlayerVlc::~HuiQuickVideoPlayerVlc()
{
    if (player) {
        // Stopping joins libvlc's threads: no callback runs after this.
        libvlc_media_player_stop(player);
        tap.reset();
        relay.reset();
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

float HuiQuickVideoPlayerVlc::getVolume() const
{
    return player ? float(libvlc_audio_get_volume(player)) / 100.0f : 0.0f;
}

void HuiQuickVideoPlayerVlc::setVolume(float volume)
{
    volumePercent = int(double(volume) * 100.0);
    if (player) {
        libvlc_audio_set_volume(player, volumePercent);
    }
    emit volumeChanged();
}

QObject* HuiQuickVideoPlayerVlc::getSpatialSound() const
{
    return spatialSound;
}

void HuiQuickVideoPlayerVlc::setSpatialSound(QObject* sound)
{
    spatialSound = qobject_cast<HSpatialSound*>(sound);
}

void HuiQuickVideoPlayerVlc::setNativeSize(bool enabled)
{
    nativeSize = enabled;
}

void HuiQuickVideoPlayerVlc::setPlaybackRate(qreal newRate)
{
    newRate = qBound(0.25, newRate, 4.0);
    if (qFuzzyCompare(newRate, rate)) {
        return;
    }
    rate = newRate;
    if (player) {
        libvlc_media_player_set_rate(player, float(rate));
    }
    if (tap) {
        tap->followRate(float(rate));
    }
    clock.setRate(rate, HMonotonicClock::nowMs());
    emit playbackRateChanged();
    emit clockChanged();
}

void HuiQuickVideoPlayerVlc::setStallTimeout(int milliseconds)
{
    milliseconds = qMax(1000, milliseconds);
    if (milliseconds != stallTimer.interval()) {
        stallTimer.setInterval(milliseconds);
        emit stallTimeoutChanged();
    }
}

void HuiQuickVideoPlayerVlc::openFile(const QUrl& url)
{
    if (url.isEmpty()) {
        return;
    }
    releaseMedia();
    source.clear();
    pauseOnFirstPicture = false;
    const double now = HMonotonicClock::nowMs();
    clock.setPlaying(false, now);
    clock.jumpTo(0.0, now);
    emit clockChanged();

    // An ambisonic track of a local file is rendered by us, turning with the view; anything else
    // plays through libvlc's own output, exactly as it always has.
    const HSpatialAudio spatial = url.isLocalFile() && spatialSound
                                      ? HSphericalBoxReader::readSpatialAudio(url.toLocalFile())
                                      : HSpatialAudio();
    if (spatial.ambisonic != bool(tap)) {
        makePlayer(spatial.ambisonic);
    }
    libvlc_instance_t* instance = HVlcInstance::shared();
    libvlc_media_t* newMedia = instance && player
                                   ? libvlc_media_new_location(instance, url.toString().toUtf8().constData())
                                   : nullptr;
    if (newMedia) {
        attachMedia(newMedia);
        libvlc_media_add_option(media, ":play-and-stop");
        if (tap) {
            tap->setLayout(spatial);
            libvlc_media_add_option(media, ":demux=avformat");
            libvlc_media_add_option(
                media, QByteArray(":audio-track=" + QByteArray::number(spatial.track)).constData());
            qCInfo(lcVideo).noquote() << "ambisonic sound, order" << spatial.order << "in audio track"
                                      << spatial.track << "of" << url.fileName() << "turns with the view";
        }
        // Stops the media before, with its threads: no picture of it arrives after this.
        libvlc_media_player_set_media(player, media);
        forgetPictures();
        feed->openedAt.store(QDeadlineTimer::current().deadline());
        libvlc_media_player_play(player);
        if (tap) {
            tap->openHeadLocked(url);
        }
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
    stallTimer.stop();
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
    if (tap) {
        tap->followSeek(offset);
    }
    clock.jumpTo(offset, HMonotonicClock::nowMs());
    emit clockChanged();
    // While playing, libvlc's time events report the new position; while paused none come.
    if (!libvlc_media_player_is_playing(player)) {
        emit positionChanged(offset);
    }
}

void HuiQuickVideoPlayerVlc::attachMedia(libvlc_media_t* newMedia)
{
    media = newMedia;
    mediaFailed = false;
    relay->attachMedia(media);
}

void HuiQuickVideoPlayerVlc::releaseMedia()
{
    if (!media) {
        return;
    }
    if (relay) {
        relay->detachMedia();
    }
    libvlc_media_release(media);
    media = nullptr;
}

void HuiQuickVideoPlayerVlc::onMediaState(quint64 generation, int state, const QString& error, double at)
{
    // A media that has been replaced has nothing more to say; one that was closed or dropped still
    // reports how it stops.
    if (generation != relay->generation() && media) {
        return;
    }
    if (state == Opening) {
        mediaFailed = false;
        if (failureKind != HMediaFailure::DecodeError) {
            failureKind = HMediaFailure::DecodeError;
            emit failureChanged();
        }
    } else if (mediaFailed) {
        // Passing this on would read as a normal end and have the media started over and over.
        return;
    } else if (state == Ended && getFramesDecoded() == 0) {
        // A media that ends before its first picture is broken, whatever libvlc calls it; started
        // over, it would end again at once, for ever.
        fail(HMediaFailure::EndedWithoutPicture, tr("This media cannot be played."));
        return;
    }
    watchForStall(state);
    qCDebug(lcVideo) << "state" << VlcState(state);
    if (sink) {
        sink->setPaused(state == Paused);
    }
    if (tap) {
        tap->followState(state);
    }
    // When libvlc changed state, not when this thread got to hear of it: the window may have kept
    // it busy for a while, and the media played on meanwhile.
    clock.setPlaying(state == Playing, at);
    emit clockChanged();
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

void HuiQuickVideoPlayerVlc::watchForStall(int state)
{
    if (state == Opening) {
        stallTimer.start();
    } else if (state == Buffering || state == Playing) {
        if (!stallTimer.isActive()) {
            stallTimer.start();
        }
    } else {
        stallTimer.stop();
    }
}

void HuiQuickVideoPlayerVlc::fail(int failure, const QString& message)
{
    mediaFailed = true;
    stallTimer.stop();
    pauseOnFirstPicture = false;
    if (player) {
        // Also ends whatever libvlc still asks of a server.
        libvlc_media_player_stop(player);
    }
    clock.setPlaying(false, HMonotonicClock::nowMs());
    emit clockChanged();
    if (statisticsTimer.isActive()) {
        statisticsTimer.stop();
        reportStatistics();
    }
    if (failureKind != failure) {
        failureKind = failure;
        emit failureChanged();
    }
    reportError(message);
    emit vlcStateChanged(Error);
}

void HuiQuickVideoPlayerVlc::onTime(int position, double at)
{
    if (stallTimer.isActive()) {
        stallTimer.start();
    }
    qCInfo(lcVideoClock).nospace().noquote()
        << "report " << position << " at " << QString::number(at, 'f', 3) << ", off the clock by "
        << QString::number(position - clock.positionAt(at), 'f', 1);
    clock.report(position, at);
    emit clockChanged();
    emit positionChanged(position);
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
    if (generation != relay->generation() || !media || mediaFailed) {
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
    qCInfo(lcVideo).noquote() << "no video track in" << source.toString();
    fail(HMediaFailure::NoVideoTrack, tr("This media cannot be played."));
}

void HuiQuickVideoPlayerVlc::frameReady()
{
    if (stallTimer.isActive()) {
        stallTimer.start();
    }
    if (pauseOnFirstPicture && player) {
        pauseOnFirstPicture = false;
        libvlc_media_player_set_pause(player, 1);
    }
    emit frameAvailable();
}

void HuiQuickVideoPlayerVlc::resizeToFrame()
{
    if (!nativeSize) {
        return;
    }
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

QString HuiQuickVideoPlayerVlc::decoderCounts() const
{
    // libvlc's own, since the media opened: what it decoded, the pictures it dropped as too late
    // before they reached us, and the sound buffers it lost (a gap in the sound).
    libvlc_media_stats_t stats{};
    if (!media || !libvlc_media_get_stats(media, &stats)) {
        return QString();
    }
    return QStringLiteral(" libvlc: decoded=%1 late=%2 soundLost=%3")
        .arg(stats.i_decoded_video)
        .arg(stats.i_lost_pictures)
        .arg(stats.i_lost_abuffers);
}

void HuiQuickVideoPlayerVlc::reportStatistics()
{
    const int decoded = getFramesDecoded();
    const int uploaded = getFramesUploaded();
    const int lost = getFramesLost();
    const int count = feed->latencyCount.exchange(0);
    const qint64 waited = feed->latencySum.exchange(0);
    qCInfo(lcRenderStats).nospace() << "presented=" << uploaded - reportedUploaded
                                    << " dropped=" << lost - reportedLost
                                    << " decoded=" << decoded - reportedDecoded
                                    << " gap=" << feed->longestGap.exchange(0) << "ms"
                                    << " late=" << (count ? waited / count : 0) << "/"
                                    << feed->latencyMax.exchange(0) << "ms" << qPrintable(decoderCounts());
    if (decoded != reportedDecoded || uploaded != reportedUploaded || lost != reportedLost) {
        reportedDecoded = decoded;
        reportedUploaded = uploaded;
        reportedLost = lost;
        emit statisticsChanged();
    }
}
