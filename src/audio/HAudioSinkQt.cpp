#include "HAudioSinkQt.h"

#include "AudioLogging.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// What the output reads: rendered on demand, so the sound it gets is as fresh as its buffer.
class PullDevice : public QIODevice
{
public:
    PullDevice(HAudioSink::Source pull, int channelCount, int sampleRate, bool asFloat)
        : source(std::move(pull)), channels(channelCount), rate(sampleRate), floats(asFloat)
    {
    }

    QAudioOutput* output = nullptr;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const int bytesPerSample = floats ? 4 : 2;
        const int frames = int(maxSize / (bytesPerSample * channels));
        if (frames <= 0) {
            return 0;
        }
        const qint64 queuedBytes = output ? output->bufferSize() - output->bytesFree() : 0;
        const qint64 delay = queuedBytes * 1000000 / (qint64(bytesPerSample) * channels * rate);
        buffer.resize(std::size_t(frames * channels));
        source(buffer.data(), frames, delay);
        if (floats) {
            memcpy(data, buffer.data(), buffer.size() * sizeof(float));
        } else {
            auto* samples = reinterpret_cast<qint16*>(data);
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                samples[i] = qint16(std::lround(std::clamp(buffer[i], -1.0f, 1.0f) * 32767.0f));
            }
        }
        return qint64(frames) * bytesPerSample * channels;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 20; }

private:
    HAudioSink::Source source;
    int channels;
    int rate;
    bool floats;
    std::vector<float> buffer;
};

} // namespace

HAudioSinkQt::HAudioSinkQt()
{
    thread.setObjectName(QStringLiteral("gyre-sound"));
}

HAudioSinkQt::~HAudioSinkQt()
{
    stop();
}

int HAudioSinkQt::reportedChannels() const
{
    const QAudioDeviceInfo device = QAudioDeviceInfo::defaultOutputDevice();
    return device.isNull() ? 2 : std::max(1, device.preferredFormat().channelCount());
}

bool HAudioSinkQt::start(int sampleRate, int channels, Source source, QString* why)
{
    stop();
    const QAudioDeviceInfo device = QAudioDeviceInfo::defaultOutputDevice();
    if (device.isNull()) {
        *why = QStringLiteral("no sound output on this system");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setCodec(QStringLiteral("audio/pcm"));
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setSampleType(QAudioFormat::Float);
    format.setSampleSize(32);
    if (!device.isFormatSupported(format)) {
        format.setSampleType(QAudioFormat::SignedInt);
        format.setSampleSize(16);
    }
    if (!device.isFormatSupported(format)) {
        *why = QStringLiteral("%1 does not play %2 channels at %3 Hz")
                   .arg(device.deviceName())
                   .arg(channels)
                   .arg(sampleRate);
        return false;
    }
    thread.start();
    bool started = false;
    QString error;
    QObject anchor;
    anchor.moveToThread(&thread);
    QMetaObject::invokeMethod(
        &anchor,
        [&] {
            auto* pull =
                new PullDevice(source, channels, sampleRate, format.sampleType() == QAudioFormat::Float);
            output = new QAudioOutput(device, format);
            output->setBufferSize(sampleRate * channels * format.sampleSize() / 8 * bufferMs / 1000);
            pull->output = output;
            pull->open(QIODevice::ReadOnly);
            output->start(pull);
            puller = pull;
            started = output->error() == QAudio::NoError;
            if (!started) {
                error = QStringLiteral("%1 did not start (error %2)")
                            .arg(device.deviceName())
                            .arg(int(output->error()));
            }
        },
        Qt::BlockingQueuedConnection);
    anchor.moveToThread(QThread::currentThread());
    if (!started) {
        *why = error;
        stop();
    }
    return started;
}

void HAudioSinkQt::stop()
{
    if (!thread.isRunning()) {
        return;
    }
    QObject anchor;
    anchor.moveToThread(&thread);
    QMetaObject::invokeMethod(
        &anchor,
        [this] {
            if (output) {
                output->stop();
            }
            delete output;
            delete puller;
            output = nullptr;
            puller = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}
