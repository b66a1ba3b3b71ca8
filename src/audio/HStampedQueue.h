#pragma once

#include <QtGlobal>

#include <deque>
#include <vector>

// Planar sound of a fixed number of channels, in chunks stamped with the time their first frame is
// due; read back by time, late frames skipped and silence where nothing was due. Not locked: its
// owner guards it.
class HStampedQueue
{
public:
    HStampedQueue(int channels, int sampleRate) : channelCount(channels), frameUs(1e6 / sampleRate) {}

    void push(const float* const* planes, int frames, double pts);
    // `frames` frames from `from` into the planes (each at least that long); how many of them came
    // from the queue rather than silence.
    int take(double from, int frames, float* const* planes);
    void clear();
    // What waited through a pause is heard that much later.
    void delay(double by);
    qint64 frames() const { return queued; }

private:
    struct Chunk
    {
        double pts = 0; // of the frame at `offset`
        int offset = 0;
        std::vector<std::vector<float>> planes;
        int size() const { return int(planes.front().size()); }
    };

    int channelCount;
    double frameUs;
    std::deque<Chunk> chunks;
    qint64 queued = 0;
};
