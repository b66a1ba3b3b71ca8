#pragma once

#include "HAudioSink.h"

#include <atomic>
#include <thread>

// A WAV file written as a sound card would play: a period every 10 ms of real time, 20 ms ahead,
// so that what it holds is what the ears would have heard, and when.
class HAudioSinkFile : public HAudioSink
{
public:
    HAudioSinkFile(const QString& path, int channels);
    ~HAudioSinkFile() override;

    int reportedChannels() const override { return channelCount; }
    bool start(int sampleRate, int channels, Source source, QString* why) override;
    void stop() override;

    static constexpr int periodMs = 10;
    static constexpr int bufferMs = 20;

private:
    void run(int sampleRate, int channels, Source source);

    QString path;
    int channelCount;
    std::thread writer;
    std::atomic<bool> running{false};
};
