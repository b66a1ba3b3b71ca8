#include "HVlcAudioTap.h"

#include "VideoLogging.h"
#include "audio/HAudioSink.h"
#include "audio/HSpatialAudioRenderer.h"
#include "audio/HSpatialSound.h"

#include <vlc/vlc.h>

#include <cstring>
#include <vector>

namespace {

constexpr unsigned tapChannels = 7;

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
