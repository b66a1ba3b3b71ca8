#include "HAudioSinkFile.h"

#include "AudioLogging.h"
#include "base/HMonotonicClock.h"

#include <QDataStream>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QByteArray wavHeader(int sampleRate, int channels, quint32 dataBytes)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(channels) << quint32(sampleRate)
        << quint32(sampleRate * channels * 2) << quint16(channels * 2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    return header;
}

} // namespace

HAudioSinkFile::HAudioSinkFile(const QString& file, int channels)
    : path(file), channelCount(std::max(1, channels))
{
}

HAudioSinkFile::~HAudioSinkFile()
{
    stop();
}

bool HAudioSinkFile::start(int sampleRate, int channels, Source source, QString* why)
{
    stop();
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *why = probe.errorString();
        return false;
    }
    probe.close();
    running = true;
    writer = std::thread([this, sampleRate, channels, source] { run(sampleRate, channels, source); });
    return true;
}

void HAudioSinkFile::stop()
{
    running = false;
    if (writer.joinable()) {
        writer.join();
    }
}

void HAudioSinkFile::run(int sampleRate, int channels, Source source)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qCWarning(lcAudio).noquote() << "cannot write" << path << file.errorString();
        return;
    }
    file.write(wavHeader(sampleRate, channels, 0));
    const int periodFrames = sampleRate * periodMs / 1000;
    std::vector<float> buffer(std::size_t(periodFrames * channels));
    QByteArray bytes(periodFrames * channels * 2, '\0');
    qint64 written = 0; // frames
    const double start = HMonotonicClock::nowMs();
    // Tests and benchmarks line the file up with what they did from this stamp: its first frame is
    // heard bufferMs after it.
    qCInfo(lcAudio).noquote()
        << QStringLiteral("sound to %1 from %2 ms on the monotonic clock").arg(path).arg(start, 0, 'f', 1);
    while (running) {
        const double elapsedMs = HMonotonicClock::nowMs() - start;
        // Woken after the moment the next period was due: what follows no longer joins on to what
        // was written (a card would have run dry). Said, so that a test can tell it from a click.
        if (const double writtenMs = double(written) * 1000.0 / sampleRate;
            written > 0 && writtenMs < elapsedMs) {
            qCInfo(lcAudio).noquote() << QStringLiteral("sound output fell behind at %1 s by %2 ms")
                                             .arg(writtenMs / 1000.0, 0, 'f', 3)
                                             .arg(elapsedMs - writtenMs, 0, 'f', 1);
        }
        // Keep the buffer filled to its depth, a period at a time, as a card's driver would ask.
        while (running && double(written) * 1000.0 / sampleRate < elapsedMs + bufferMs) {
            const double aheadMs = double(written) * 1000.0 / sampleRate - (HMonotonicClock::nowMs() - start);
            source(buffer.data(), periodFrames, qint64(std::max(0.0, aheadMs) * 1000.0));
            for (std::size_t i = 0; i < buffer.size(); ++i) {
                qToLittleEndian<qint16>(toInt16(buffer[i]), bytes.data() + 2 * i);
            }
            file.write(bytes);
            written += periodFrames;
            // The sizes in the header follow every half second, so a player that is killed
            // leaves a file that reads to its last period.
            if (written % (periodFrames * 50) == 0) {
                const qint64 end = file.pos();
                file.seek(0);
                file.write(wavHeader(sampleRate, channels, quint32(written * channels * 2)));
                file.seek(end);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(periodMs / 2));
    }
    file.seek(0);
    file.write(wavHeader(sampleRate, channels, quint32(written * channels * 2)));
}
