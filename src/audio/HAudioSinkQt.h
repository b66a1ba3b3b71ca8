#pragma once

#include "HAudioSink.h"

#include <QThread>

class QAudioOutput;

// The system's default sound output through Qt Multimedia, fed from a thread of its own into a
// 30 ms buffer, so that neither a busy GUI thread nor a deep buffer delays a turn of the view.
class HAudioSinkQt : public HAudioSink
{
public:
    HAudioSinkQt();
    ~HAudioSinkQt() override;

    int reportedChannels() const override;
    bool start(int sampleRate, int channels, Source source, QString* why) override;
    void stop() override;

    static constexpr int bufferMs = 30;

private:
    QThread thread;
    QObject* worker = nullptr;      // lives in `thread`
    QAudioOutput* output = nullptr; // lives in `thread`
};
