#include "HAudioSinkQt.h"

#include "AudioLogging.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QIODevice>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Feeds the output a period at a time whenever it has room: rendered on demand, so the sound it
// gets is as fresh as its buffer.
class Feeder : public QObject
{
public:
    Feeder(QAudioOutput* audio, QIODevice* target, HAudioSink::Source pull, int channelCount, int sampleRate,
           bool asFloat)
        : QObject(audio), output(audio), device(target), source(std::move(pull)), channels(channelCount),
          rate(sampleRate), floats(asFloat)
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, &Feeder::feed);
        timer.start();
    }

private:
    void feed()
    {
        const int bytesPerFrame = (floats ? 4 : 2) * channels;
        // Whatever room there is, down to 5 ms: an output that waits for its buffer to fill before
        // it starts would never start on whole periods alone.
        const int least = qMax(1, rate / 200);
        while (output->bytesFree() / bytesPerFrame >= least) {
            const int period =
                qMin(output->bytesFree(), qMax(output->periodSize(), bytesPerFrame)) / bytesPerFrame;
            const qint64 queuedBytes = output->bufferSize() - output->bytesFree();
            const qint64 delay = queuedBytes * 1000000 / (qint64(bytesPerFrame) * rate);
            buffer.resize(std::size_t(period * channels));
            source(buffer.data(), period, delay);
            QByteArray bytes(period * bytesPerFrame, Qt::Uninitialized);
            if (floats) {
                memcpy(bytes.data(), buffer.data(), buffer.size() * sizeof(float));
            } else {
                auto* samples = reinterpret_cast<qint16*>(bytes.data());
                for (std::size_t i = 0; i < buffer.size(); ++i) {
                    samples[i] = HAudioSink::toInt16(buffer[i]);
                }
            }
            if (device->write(bytes) <= 0) {
                break;
            }
        }
    }

    QAudioOutput* output;
    QIODevice* device;
    HAudioSink::Source source;
    int channels;
    int rate;
    bool floats;
    std::vector<float> buffer;
    QTimer timer;
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
    // The output and its feeder are made, and later deleted, in the sound thread.
    worker = new QObject();
    worker->moveToThread(&thread);
    bool started = false;
    QString error;
    QMetaObject::invokeMethod(
        worker,
        [&] {
            output = new QAudioOutput(device, format);
            output->setBufferSize(sampleRate * channels * format.sampleSize() / 8 * bufferMs / 1000);
            QIODevice* target = output->start();
            started = target && output->error() == QAudio::NoError;
            if (started) {
                new Feeder(output, target, source, channels, sampleRate,
                           format.sampleType() == QAudioFormat::Float);
            } else {
                error = QStringLiteral("%1 did not start (error %2)")
                            .arg(device.deviceName())
                            .arg(int(output->error()));
            }
        },
        Qt::BlockingQueuedConnection);
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
    QMetaObject::invokeMethod(
        worker,
        [this] {
            if (output) {
                output->stop();
            }
            delete output; // and its feeder
            output = nullptr;
            delete worker;
            worker = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}
