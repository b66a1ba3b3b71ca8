#include "HSpatialAudioRenderer.h"

#include "base/HMonotonicClock.h"

#include <algorithm>
#include <cmath>

namespace {

// The output runs off the stamps by more than this: start again from where it stands.
const double resyncUs = 40000;
qint64 nowUs()
{
    return qint64(HMonotonicClock::nowMs() * 1000.0);
}

} // namespace

HSpatialAudioRenderer::HSpatialAudioRenderer(Clock producerClock) : clock(std::move(producerClock))
{
}

bool HSpatialAudioRenderer::configure(HAmbisonicDecoder::Output output, int outputChannels, int sampleRate,
                                      QString* why)
{
    std::lock_guard<std::mutex> locker(queueLock);
    rate = sampleRate;
    field = std::make_unique<HStampedQueue>(4, rate);
    headLocked = std::make_unique<HStampedQueue>(2, rate);
    for (std::vector<float>& c : block) {
        c.assign(HAmbisonicDecoder::blockFrames, 0.0f);
    }
    for (std::vector<float>& c : sides) {
        c.assign(HAmbisonicDecoder::blockFrames, 0.0f);
    }
    resync = true;
    return decoder.configure(output, outputChannels, sampleRate, why);
}

void HSpatialAudioRenderer::push(const float* const components[4], int frames, qint64 pts)
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (field) {
        field->push(components, frames, double(pts));
    }
}

void HSpatialAudioRenderer::pushHeadLocked(const float* const stereo[2], int frames, qint64 pts)
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (headLocked) {
        headLocked->push(stereo, frames, double(pts));
    }
}

void HSpatialAudioRenderer::flushHeadLocked()
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (headLocked) {
        headLocked->clear();
    }
}

void HSpatialAudioRenderer::pause(qint64 date)
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (!paused) {
        paused = true;
        pausedAt = date;
    }
}

void HSpatialAudioRenderer::resume(qint64 date)
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (!paused) {
        return;
    }
    paused = false;
    // What waited through the pause is heard that much later.
    const double by = double(date - pausedAt);
    field->delay(by);
    headLocked->delay(by);
    shift += by;
}

void HSpatialAudioRenderer::flush()
{
    std::lock_guard<std::mutex> locker(queueLock);
    if (field) {
        field->clear();
        headLocked->clear();
    }
    resync = true;
}

void HSpatialAudioRenderer::setView(const HAmbisonicRotation::Matrix& view, bool turn)
{
    std::lock_guard<std::mutex> locker(viewLock);
    if (view == target) {
        return;
    }
    target = view;
    ++targetGeneration;
    targetSetAtUs = turn ? nowUs() : 0;
}

QVector<double> HSpatialAudioRenderer::takeTurnLatencies()
{
    std::lock_guard<std::mutex> locker(viewLock);
    QVector<double> taken;
    taken.swap(latencies);
    return taken;
}

void HSpatialAudioRenderer::mixHeadLocked(float* interleaved)
{
    float* planes[2] = {sides[0].data(), sides[1].data()};
    headLocked->take(cursor, HAmbisonicDecoder::blockFrames, planes);
    const int channelCount = decoder.channels();
    // On the front pair, or on the one speaker there is.
    const int right = channelCount > 1 ? 1 : 0;
    for (int n = 0; n < HAmbisonicDecoder::blockFrames; ++n) {
        interleaved[n * channelCount] += sides[0][std::size_t(n)];
        interleaved[n * channelCount + right] += sides[1][std::size_t(n)];
    }
}

void HSpatialAudioRenderer::render(float* out, int frames, qint64 delay)
{
    const int channelCount = decoder.channels();
    std::fill(out, out + frames * channelCount, 0.0f);
    std::lock_guard<std::mutex> locker(queueLock);
    if (paused || channelCount == 0 || !field) {
        // Nothing is heard: a turn meanwhile is taken as it is, not counted as late.
        std::lock_guard<std::mutex> viewLocker(viewLock);
        applied = target;
        appliedGeneration = targetGeneration;
        return;
    }
    const double due = double(clock() + delay);
    // Sound flows from the first call after a gap (the output starting, or starting again).
    const qint64 now = nowUs();
    if (now - lastRenderUs > 100000) {
        flowingSinceUs = now;
    }
    lastRenderUs = now;
    cursor += shift;
    readyPts += shift;
    shift = 0;
    if (resync || std::abs(readyPts - due) > resyncUs) {
        resync = false;
        ready.clear();
        cursor = due;
        readyPts = due;
    }
    decoded.resize(std::size_t(HAmbisonicDecoder::blockFrames * channelCount));
    while (int(ready.size()) < frames * channelCount) {
        float* components[4] = {block[0].data(), block[1].data(), block[2].data(), block[3].data()};
        const bool heard = field->take(cursor, HAmbisonicDecoder::blockFrames, components) > 0;
        HAmbisonicRotation::Matrix view;
        quint64 generation;
        {
            std::lock_guard<std::mutex> viewLocker(viewLock);
            view = target;
            generation = targetGeneration;
            // A turn made while nothing was heard (before the first sound, while the output
            // started) is late for nobody.
            if (generation != appliedGeneration && heard && targetSetAtUs >= flowingSinceUs) {
                // Heard after what is ready before this block, and the output's own buffer.
                const double queuedUs = double(ready.size() / std::size_t(channelCount)) * frameUs();
                latencies << (double(nowUs() - targetSetAtUs) + double(delay) + queuedUs) / 1000.0;
            }
        }
        HAmbisonicRotation::rotate(applied, view, components[1], components[2], components[3],
                                   HAmbisonicDecoder::blockFrames);
        applied = view;
        appliedGeneration = generation;
        decoder.decode(components, decoded.data());
        mixHeadLocked(decoded.data());
        cursor += HAmbisonicDecoder::blockFrames * frameUs();
        ready.insert(ready.end(), decoded.begin(), decoded.end());
    }
    const float gain = outputGain.load();
    std::transform(ready.begin(), ready.begin() + frames * channelCount, out,
                   [gain](float v) { return v * gain; });
    ready.erase(ready.begin(), ready.begin() + frames * channelCount);
    readyPts += frames * frameUs();
}
