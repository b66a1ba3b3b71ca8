#include "HAmbisonicDecoder.h"

#include "AudioLogging.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <spatialaudio/Ambisonics.h>

#include <algorithm>
#include <cmath>

namespace {

// First-order max-rE weighting: a first-order decode's own lobes are wide, and with the plain
// weights a source beside the head is barely 5 dB louder in its near ear; max-rE brings that to
// 8 dB at 1 kHz with the default HRTFs, and is the usual choice for a 3D first-order decode.
const float maxReWeight = float(1.0 / std::sqrt(3.0));

// The binaural decode as libspatialaudio gives it: a source ahead comes out 12 dB below W in each
// ear, which leaves the headroom a full field needs (a gain of 2 clipped our three-tone clip).
const float binauralGain = 1.0f;

} // namespace

HAmbisonicDecoder::HAmbisonicDecoder() = default;
HAmbisonicDecoder::~HAmbisonicDecoder() = default;

QString HAmbisonicDecoder::hrtfFile()
{
    const QString env = qEnvironmentVariable("GYRE_HRTF_FILE");
    if (!env.isEmpty()) {
        return env;
    }
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("libmysofa/default.sofa"));
}

bool HAmbisonicDecoder::configure(Output output, int channelCount, int sampleRate, QString* why)
{
    chosen = output;
    binauralizer.reset();
    speakers.reset();
    field = std::make_unique<CBFormat>();
    field->Configure(1, true, blockFrames);
    if (output == Output::Headphones) {
        const QString hrtf = hrtfFile();
        if (hrtf.isEmpty() || !QFileInfo(hrtf).isReadable()) {
            *why = QStringLiteral("no HRTF file (libmysofa/default.sofa) for headphones");
            return false;
        }
        binauralizer = std::make_unique<CAmbisonicBinauralizer>();
        unsigned tail = 0;
        if (!binauralizer->Configure(1, true, unsigned(sampleRate), blockFrames, tail, hrtf.toStdString())) {
            *why = QStringLiteral("the HRTFs of %1 do not load").arg(hrtf);
            binauralizer.reset();
            return false;
        }
        outputChannels = 2;
        speakerChannel = {0, 1};
    } else {
        // libspatialaudio's layouts, and where their speakers sit in the output's channel order
        // (front left, front right, centre, LFE, rear left, rear right).
        int layout = kAmblib_Mono;
        if (channelCount >= 6) {
            layout = kAmblib_50;
            outputChannels = 6;
            speakerChannel = {0, 1, 2, 4, 5};
        } else if (channelCount >= 4) {
            layout = kAmblib_Quad;
            outputChannels = 4;
            speakerChannel = {0, 1, 2, 3};
        } else if (channelCount >= 2) {
            layout = kAmblib_Stereo;
            outputChannels = 2;
            speakerChannel = {0, 1};
        } else {
            outputChannels = 1;
            speakerChannel = {0};
        }
        speakers = std::make_unique<CAmbisonicDecoder>();
        if (!speakers->Configure(1, true, layout)) {
            *why = QStringLiteral("no decode for %1 speakers").arg(channelCount);
            speakers.reset();
            return false;
        }
        speakerChannel.resize(std::min<std::size_t>(speakerChannel.size(), speakers->GetSpeakerCount()));
    }
    feeds.assign(speakerChannel.size(), std::vector<float>(blockFrames));
    qCInfo(lcAudio).noquote() << "spatial sound for"
                              << (output == Output::Headphones
                                      ? QStringLiteral("headphones")
                                      : QStringLiteral("%1 speakers").arg(outputChannels));
    return true;
}

void HAmbisonicDecoder::decode(float* const components[4], float* interleaved)
{
    for (int c = 1; c < 4; ++c) {
        for (int n = 0; n < blockFrames; ++n) {
            components[c][n] *= maxReWeight;
        }
    }
    for (int c = 0; c < 4; ++c) {
        field->InsertStream(components[c], unsigned(c), blockFrames);
    }
    std::vector<float*> outputs;
    for (std::vector<float>& feed : feeds) {
        outputs.push_back(feed.data());
    }
    float gain = 1.0f;
    if (binauralizer) {
        binauralizer->Process(field.get(), outputs.data());
        gain = binauralGain;
    } else if (speakers) {
        speakers->Process(field.get(), blockFrames, outputs.data());
    }
    std::fill(interleaved, interleaved + blockFrames * outputChannels, 0.0f);
    for (std::size_t s = 0; s < feeds.size(); ++s) {
        const int channel = speakerChannel[s];
        for (int n = 0; n < blockFrames; ++n) {
            interleaved[n * outputChannels + channel] = std::clamp(feeds[s][n] * gain, -1.0f, 1.0f);
        }
    }
}
