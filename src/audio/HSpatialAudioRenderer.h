#pragma once

#include "HAmbisonicDecoder.h"
#include "HAmbisonicRotation.h"
#include "HStampedQueue.h"

#include <QVector>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Between the decoder of a first-order track and the sound output: the decoded field waits here,
// stamped with the producer's clock, until the output asks for the moment it will be heard; only
// then is it turned by the view of that moment and decoded, so a turn reaches the ears after the
// output's own buffer and one block, not after everything decoded ahead.
//
// push, pause, resume and flush come from the producer's thread, setView from the GUI thread,
// render from the output's thread.
class HSpatialAudioRenderer
{
public:
    using Clock = std::function<qint64()>; // microseconds on the clock of the pushed stamps

    explicit HSpatialAudioRenderer(Clock clock);

    bool configure(HAmbisonicDecoder::Output output, int outputChannels, int sampleRate, QString* why);
    int channels() const { return decoder.channels(); }
    int sampleRate() const { return rate; }

    // Frames of the four components, the first to be heard at `pts`.
    void push(const float* const components[4], int frames, qint64 pts);
    // Frames of a head-locked stereo track, heard beside the field and never turned.
    void pushHeadLocked(const float* const sides[2], int frames, qint64 pts);
    void flushHeadLocked();
    void pause(qint64 date);
    void resume(qint64 date);
    void flush();

    // A turn of the view; the view the sound starts with is none (`turn` false), and not timed.
    // Nor is a turn made before the output began to ask for sound.
    void setView(const HAmbisonicRotation::Matrix& view, bool turn = true);
    // The player's volume, 0 when muted; any thread.
    void setGain(float gain) { outputGain.store(gain); }

    // `frames` interleaved output frames, the first heard `delay` microseconds from now.
    void render(float* out, int frames, qint64 delay);

    // The time from each turn of the view to the first output that carries it, in milliseconds
    // (emptied by the call).
    QVector<double> takeTurnLatencies();

private:
    double frameUs() const { return 1e6 / rate; }
    void mixHeadLocked(float* interleaved);

    Clock clock;
    HAmbisonicDecoder decoder;
    int rate = 48000;

    // std::mutex rather than QMutex, whose locking ThreadSanitizer cannot see in Qt's build.
    std::mutex queueLock; // guards the members up to outputGain
    std::unique_ptr<HStampedQueue> field;
    std::unique_ptr<HStampedQueue> headLocked;
    bool paused = false;
    qint64 pausedAt = 0;
    double shift = 0; // microseconds the queue moved by a pause, not yet applied to `cursor`
    bool resync = true;

    std::atomic<float> outputGain{1.0f};

    std::mutex viewLock;
    HAmbisonicRotation::Matrix target = HAmbisonicRotation::identity();
    quint64 targetGeneration = 0;
    qint64 targetSetAtUs = 0;

    // The output thread's own.
    double cursor = 0;          // stamp of the next field frame to decode
    double readyPts = 0;        // stamp of the first ready output frame
    std::vector<float> ready;   // decoded, interleaved
    std::vector<float> decoded; // one block of it
    std::array<std::vector<float>, 4> block;
    std::array<std::vector<float>, 2> sides;
    HAmbisonicRotation::Matrix applied = HAmbisonicRotation::identity();
    quint64 appliedGeneration = 0;
    QVector<double> latencies;
    qint64 lastRenderUs = 0;
    qint64 flowingSinceUs = 0;
};
