#pragma once

#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

// Where rendered sound goes: the system's output, or a file that stands for it.
class HAudioSink
{
public:
    // Fills `frames` interleaved float frames, the first heard `delay` microseconds from now.
    using Source = std::function<void(float* out, int frames, qint64 delay)>;

    virtual ~HAudioSink() = default;

    // The channels the output has (2 for a pair of speakers or headphones).
    virtual int reportedChannels() const = 0;
    virtual bool start(int sampleRate, int channels, Source source, QString* why) = 0;
    virtual void stop() = 0;

    // A rendered sample as a 16-bit one, clipped.
    static qint16 toInt16(float sample)
    {
        return qint16(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    }

    // The system's default output; a WAV file written in real time when GYRE_AUDIO_FILE names one
    // (GYRE_AUDIO_FILE_CHANNELS says how many channels that output reports, 2 unless set).
    static std::unique_ptr<HAudioSink> create();
};
