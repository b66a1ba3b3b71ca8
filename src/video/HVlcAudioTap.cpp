#include "HVlcAudioTap.h"

#include "HVlcInstance.h"
#include "VideoLogging.h"
#include "audio/HAudioSink.h"
#include "audio/HSpatialAudioRenderer.h"
#include "audio/HSpatialSound.h"

#include <QUrl>

#include <vlc/vlc.h>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned tapChannels = 7;
// Both tracks arrive at one rate, whatever they were recorded at: libvlc resamples.
constexpr unsigned tapRate = 48000;

// Where libvlc 3.0 puts a four-channel track's channels among seven (its 6.1 layout, in the order
// L R Ml Mr Rc C LFE), as measured with our test clips: AAC's decoders give centre-and-rear (L R C
// Rc) and land as L R C Rc; other codings give quad (L R Rl Rr), and the rears land on the middle
// pair. Any fewer channels and libvlc mixes two of them, or drops one.
const int aacPositions[4] = {0, 1, 5, 4};
const int quadPositions[4] = {0, 1, 2, 3};

} // namespace

HVlcAudioTap::HVlcAudioTap(libvlc_media_player_t* vlcPlayer, HSpatialSound* spatialSound)
    : player(vlcPlayer), sound(spatialSound),
      renderer(std::make_unique<HSpatialAudioRenderer>([] { return qint64(libvlc_clock()); })),
      sink(HAudioSink::create())
{
    libvlc_audio_set_callbacks(player, &HVlcAudioTap::play, &HVlcAudioTap::pause, &HVlcAudioTap::resume,
                               &HVlcAudioTap::flush, nullptr, this);
    libvlc_audio_set_format_callbacks(player, &HVlcAudioTap::setup, &HVlcAudioTap::cleanup);
    libvlc_audio_set_volume_callback(player, &HVlcAudioTap::volume);
}

HVlcAudioTap::~HVlcAudioTap()
{
    closeHeadLocked();
    // The player has been stopped: no callback runs any more.
    if (sound) {
        sound->detach(renderer.get());
    }
    sink->stop();
}

void HVlcAudioTap::setLayout(const HSpatialAudio& spatial)
{
    layout = spatial;
    const int* map = layout.sampleEntry == "mp4a" ? aacPositions : quadPositions;
    for (int component = 0; component < 4; ++component) {
        const int channel =
            component < layout.channelMap.size() ? layout.channelMap.at(component) : component;
        positions[component] = channel < 4 ? map[channel] : component;
        gains[component] = layout.gain[component];
    }
}

int HVlcAudioTap::setup(void** opaque, char* format, unsigned* rate, unsigned* channels)
{
    auto* tap = static_cast<HVlcAudioTap*>(*opaque);
    if (*channels != 4) {
        qCWarning(lcVideo) << "the ambisonic track arrives with" << *channels << "channels, not 4";
    }
    // libvlc's audio callbacks take 16-bit samples only.
    std::memcpy(format, "S16N", 4);
    *channels = tapChannels;
    *rate = tapRate;
    QString why;
    const HAmbisonicDecoder::Output output =
        tap->sound ? tap->sound->decoderOutput() : HAmbisonicDecoder::Output::Headphones;
    bool configured = tap->renderer->configure(output, tap->sink->reportedChannels(), int(*rate), &why);
    if (!configured && output == HAmbisonicDecoder::Output::Headphones) {
        qCWarning(lcVideo).noquote() << "Spatial sound for headphones is not available (" + why +
                                            "); decoding for speakers";
        configured = tap->renderer->configure(HAmbisonicDecoder::Output::Speakers,
                                              tap->sink->reportedChannels(), int(*rate), &why);
    }
    if (!configured) {
        qCWarning(lcVideo).noquote() << "Spatial sound cannot be decoded:" << why;
        return -1;
    }
    HSpatialAudioRenderer* renderer = tap->renderer.get();
    tap->started = tap->sink->start(
        int(*rate), renderer->channels(),
        [renderer](float* out, int frames, qint64 delay) { renderer->render(out, frames, delay); }, &why);
    if (!tap->started) {
        qCWarning(lcVideo).noquote() << "Spatial sound has no output:" << why;
    }
    QMetaObject::invokeMethod(tap, [tap] {
        if (tap->sound) {
            tap->sound->attach(tap->renderer.get());
        }
    });
    return 0;
}

void HVlcAudioTap::openHeadLocked(const QUrl& url)
{
    closeHeadLocked();
    if (layout.headLockedTrack < 0) {
        return;
    }
    libvlc_instance_t* instance = HVlcInstance::shared();
    libvlc_media_t* media =
        instance ? libvlc_media_new_location(instance, url.toString().toUtf8().constData()) : nullptr;
    if (!media) {
        return;
    }
    libvlc_media_add_option(media, ":demux=avformat");
    libvlc_media_add_option(media, ":no-video");
    libvlc_media_add_option(media, ":play-and-stop");
    libvlc_media_add_option(
        media, QByteArray(":audio-track=" + QByteArray::number(layout.headLockedTrack)).constData());
    companion = libvlc_media_player_new_from_media(media);
    libvlc_media_release(media);
    if (!companion) {
        return;
    }
    libvlc_audio_set_callbacks(companion, &HVlcAudioTap::playHeadLocked, nullptr, nullptr,
                               &HVlcAudioTap::flushHeadLocked, nullptr, this);
    libvlc_audio_set_format_callbacks(companion, &HVlcAudioTap::setupHeadLocked, nullptr);
    qCInfo(lcVideo) << "head-locked stereo in audio track" << layout.headLockedTrack << "plays unturned";
}

void HVlcAudioTap::closeHeadLocked()
{
    if (companion) {
        // Stopping joins its threads: no callback of it runs after this.
        libvlc_media_player_stop(companion);
        libvlc_media_player_release(companion);
        companion = nullptr;
    }
}

void HVlcAudioTap::followState(int vlcState)
{
    if (!companion) {
        return;
    }
    if (vlcState == libvlc_Playing) {
        libvlc_media_player_play(companion);
    } else if (vlcState == libvlc_Paused) {
        libvlc_media_player_set_pause(companion, 1);
    } else if (vlcState == libvlc_Stopped || vlcState == libvlc_Ended || vlcState == libvlc_Error) {
        libvlc_media_player_stop(companion);
    }
}

void HVlcAudioTap::followSeek(int milliseconds)
{
    if (companion) {
        libvlc_media_player_set_time(companion, libvlc_time_t(milliseconds));
    }
}

void HVlcAudioTap::followRate(float rate)
{
    if (companion) {
        libvlc_media_player_set_rate(companion, rate);
    }
}

int HVlcAudioTap::setupHeadLocked(void**, char* format, unsigned* rate, unsigned* channels)
{
    std::memcpy(format, "S16N", 4);
    *rate = tapRate;
    *channels = 2;
    return 0;
}

void HVlcAudioTap::playHeadLocked(void* opaque, const void* samples, unsigned count, int64_t pts)
{
    auto* tap = static_cast<HVlcAudioTap*>(opaque);
    const auto* interleaved = static_cast<const qint16*>(samples);
    std::vector<float> sides[2];
    for (int c = 0; c < 2; ++c) {
        sides[c].resize(count);
        for (unsigned n = 0; n < count; ++n) {
            sides[c][n] = float(interleaved[2 * n + unsigned(c)]) / 32768.0f;
        }
    }
    const float* planes[2] = {sides[0].data(), sides[1].data()};
    tap->renderer->pushHeadLocked(planes, int(count), qint64(pts));
}

void HVlcAudioTap::flushHeadLocked(void* opaque, int64_t)
{
    static_cast<HVlcAudioTap*>(opaque)->renderer->flushHeadLocked();
}

void HVlcAudioTap::cleanup(void* opaque)
{
    auto* tap = static_cast<HVlcAudioTap*>(opaque);
    tap->sink->stop();
    tap->started = false;
    QMetaObject::invokeMethod(tap, [tap] {
        if (tap->sound) {
            tap->sound->detach(tap->renderer.get());
        }
    });
}

void HVlcAudioTap::play(void* opaque, const void* samples, unsigned count, int64_t pts)
{
    auto* tap = static_cast<HVlcAudioTap*>(opaque);
    const auto* interleaved = static_cast<const qint16*>(samples);
    std::vector<float> components[4];
    const float* planes[4];
    for (int c = 0; c < 4; ++c) {
        components[c].resize(count);
        const int position = tap->positions[c];
        const float gain = tap->gains[c] / 32768.0f;
        for (unsigned n = 0; n < count; ++n) {
            components[c][n] = float(interleaved[n * tapChannels + unsigned(position)]) * gain;
        }
        planes[c] = components[c].data();
    }
    tap->renderer->push(planes, int(count), qint64(pts));
}

void HVlcAudioTap::pause(void* opaque, int64_t pts)
{
    static_cast<HVlcAudioTap*>(opaque)->renderer->pause(qint64(pts));
}

void HVlcAudioTap::resume(void* opaque, int64_t pts)
{
    static_cast<HVlcAudioTap*>(opaque)->renderer->resume(qint64(pts));
}

void HVlcAudioTap::flush(void* opaque, int64_t)
{
    static_cast<HVlcAudioTap*>(opaque)->renderer->flush();
}

void HVlcAudioTap::volume(void* opaque, float level, bool mute)
{
    static_cast<HVlcAudioTap*>(opaque)->renderer->setGain(mute ? 0.0f : level);
}
