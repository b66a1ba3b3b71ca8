#include "HStampedQueue.h"

#include <algorithm>
#include <cmath>

namespace {
// Decoded sound held at most, in seconds: a producer far ahead loses its oldest.
const int keptSeconds = 4;
} // namespace

void HStampedQueue::push(const float* const* planes, int frames, double pts)
{
    if (frames <= 0) {
        return;
    }
    Chunk chunk;
    chunk.pts = pts;
    for (int c = 0; c < channelCount; ++c) {
        chunk.planes.emplace_back(planes[c], planes[c] + frames);
    }
    chunks.push_back(std::move(chunk));
    queued += frames;
    while (double(queued) * frameUs > keptSeconds * 1e6 && chunks.size() > 1) {
        queued -= chunks.front().size() - chunks.front().offset;
        chunks.pop_front();
    }
}

int HStampedQueue::take(double from, int frames, float* const* planes)
{
    for (int c = 0; c < channelCount; ++c) {
        std::fill(planes[c], planes[c] + frames, 0.0f);
    }
    int filled = 0;
    int taken = 0;
    while (filled < frames && !chunks.empty()) {
        Chunk& chunk = chunks.front();
        const int available = chunk.size() - chunk.offset;
        const double at = from + filled * frameUs;
        // Less than a frame off counts as on time: stamps rounded to the microsecond wander by a
        // fraction of a frame, and a reader half a frame off the chunks would otherwise skip a
        // frame at one chunk and leave one silent at the next, a click each time.
        const double lateFrames = (at - chunk.pts) / frameUs;
        // Frames that were due a frame or more before `at` are late: skip them.
        const int late = lateFrames >= 1 ? std::min(int(std::lround(lateFrames)), available) : 0;
        if (late > 0) {
            chunk.offset += late;
            chunk.pts += late * frameUs;
            queued -= late;
            if (late == available) {
                chunks.pop_front();
                continue;
            }
        }
        // A chunk that starts a frame or more later leaves silence before it.
        const double earlyFrames = (chunk.pts - at) / frameUs;
        const int gap = earlyFrames >= 1 ? int(std::lround(earlyFrames)) : 0;
        if (gap > 0) {
            filled = std::min(frames, filled + gap);
            continue;
        }
        const int count = std::min(frames - filled, chunk.size() - chunk.offset);
        for (int c = 0; c < channelCount; ++c) {
            std::copy_n(chunk.planes[std::size_t(c)].begin() + chunk.offset, count, planes[c] + filled);
        }
        chunk.offset += count;
        chunk.pts += count * frameUs;
        queued -= count;
        filled += count;
        taken += count;
        if (chunk.offset >= chunk.size()) {
            chunks.pop_front();
        }
    }
    return taken;
}

void HStampedQueue::clear()
{
    chunks.clear();
    queued = 0;
}

void HStampedQueue::delay(double by)
{
    for (Chunk& chunk : chunks) {
        chunk.pts += by;
    }
}
