#include "HSpatialAudioRenderer.h"

#include "base/HMonotonicClock.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace {

// The output runs off the stamps by more than this: start again from where it stands.
const double resyncUs = 40000;
// Decoded sound held at most, in seconds: a producer far ahead loses its oldest.
const int queueSeconds = 4;

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
    rate = sampleRate;
    for (std::vector<float>& c : block) {
        c.assign(HAmbisonicDecoder::blockFrames, 0.0f);
    }
    return decoder.configure(output, outputChannels, sampleRate, why);
}

void HSpatialAudioRenderer::push(const float* const components[4], int frames, qint64 pts)
{
    if (frames <= 0) {
        return;
    }
    Chunk chunk;
    chunk.pts = double(pts);
    for (int c = 0; c < 4; ++c) {
        chunk.components[std::size_t(c)].assign(components[c], components[c] + frames);
    }
    QMutexLocker locker(&queueLock);
    queue.push_back(std::move(chunk));
    queuedFrames += frames;
    while (queuedFrames > qint64(queueSeconds) * rate && queue.size() > 1) {
        queuedFrames -= qint64(queue.front().components[0].size()) - queue.front().offset;
        queue.pop_front();
    }
}

void HSpatialAudioRenderer::pause(qint64 date)
{
    QMutexLocker locker(&queueLock);
    if (!paused) {
        paused = true;
        pausedAt = date;
    }
}

void HSpatialAudioRenderer::resume(qint64 date)
{
    QMutexLocker locker(&queueLock);
    if (!paused) {
        return;
    }
    paused = false;
    // What waited through the pause is heard that much later.
    const double by = double(date - pausedAt);
    for (Chunk& chunk : queue) {
        chunk.pts += by;
    }
    shift += by;
}

void HSpatialAudioRenderer::flush()
{
    QMutexLocker locker(&queueLock);
    queue.clear();
    queuedFrames = 0;
    resync = true;
}

void HSpatialAudioRenderer::setView(const HAmbisonicRotation::Matrix& view)
{
    QMutexLocker locker(&viewLock);
    if (view == target) {
        return;
    }
    target = view;
    ++targetGeneration;
    targetSetAtUs = nowUs();
}

QVector<double> HSpatialAudioRenderer::takeTurnLatencies()
{
    QMutexLocker locker(&viewLock);
    QVector<double> taken;
    taken.swap(latencies);
    return taken;
}

void HSpatialAudioRenderer::takeField(int frames)
{
    for (std::vector<float>& c : block) {
        std::fill(c.begin(), c.begin() + frames, 0.0f);
    }
    const double step = frameUs();
    int filled = 0;
    while (filled < frames && !queue.empty()) {
        Chunk& chunk = queue.front();
        const int available = int(chunk.components[0].size()) - chunk.offset;
        // Frames of the chunk that were due before the cursor are late: skip them.
        const int late =
            std::clamp(int(std::floor((cursor + filled * step - chunk.pts) / step + 0.5)), 0, available);
        if (late > 0) {
            chunk.offset += late;
            chunk.pts += late * step;
            queuedFrames -= late;
            if (late == available) {
                queue.pop_front();
                continue;
            }
        }
        // A chunk that starts later leaves silence before it.
        const int gap = int(std::floor((chunk.pts - (cursor + filled * step)) / step + 0.5));
        if (gap > 0) {
            filled = std::min(frames, filled + gap);
            continue;
        }
        const int count = std::min(frames - filled, int(chunk.components[0].size()) - chunk.offset);
        for (std::size_t c = 0; c < 4; ++c) {
            std::copy_n(chunk.components[c].begin() + chunk.offset, count, block[c].begin() + filled);
        }
        chunk.offset += count;
        chunk.pts += count * step;
        queuedFrames -= count;
        filled += count;
        if (chunk.offset >= int(chunk.components[0].size())) {
            queue.pop_front();
        }
    }
    cursor += frames * step;
}

void HSpatialAudioRenderer::render(float* out, int frames, qint64 delay)
{
    const int channelCount = decoder.channels();
    std::fill(out, out + frames * channelCount, 0.0f);
    QMutexLocker locker(&queueLock);
    if (paused || channelCount == 0) {
        return;
    }
    const double due = double(clock() + delay);
    cursor += shift;
    readyPts += shift;
    shift = 0;
    if (resync || std::abs(readyPts - due) > resyncUs) {
        resync = false;
        ready.clear();
        cursor = due;
        readyPts = due;
    }
    std::vector<float> decoded(std::size_t(HAmbisonicDecoder::blockFrames * channelCount));
    while (int(ready.size()) < frames * channelCount) {
        takeField(HAmbisonicDecoder::blockFrames);
        HAmbisonicRotation::Matrix view;
        quint64 generation;
        {
            QMutexLocker viewLocker(&viewLock);
            view = target;
            generation = targetGeneration;
            if (generation != appliedGeneration) {
                // Heard after what is ready before this block, and the output's own buffer.
                const double queuedUs = double(ready.size() / std::size_t(channelCount)) * frameUs();
                latencies << (double(nowUs() - targetSetAtUs) + double(delay) + queuedUs) / 1000.0;
            }
        }
        float* components[4] = {block[0].data(), block[1].data(), block[2].data(), block[3].data()};
        HAmbisonicRotation::rotate(applied, view, components[1], components[2], components[3],
                                   HAmbisonicDecoder::blockFrames);
        applied = view;
        appliedGeneration = generation;
        decoder.decode(components, decoded.data());
        ready.insert(ready.end(), decoded.begin(), decoded.end());
    }
    const float gain = outputGain.load();
    std::transform(ready.begin(), ready.begin() + frames * channelCount, out,
                   [gain](float v) { return v * gain; });
    ready.erase(ready.begin(), ready.begin() + frames * channelCount);
    readyPts += frames * frameUs();
}
