#include "HSpatialSound.h"

#include "AudioLogging.h"
#include "HSpatialAudioRenderer.h"
#include "base/HSettingsManager.h"

#include <algorithm>

namespace {
const QString outputKey = QStringLiteral("application/audio/spatialOutput");
const QString headphones = QStringLiteral("Headphones");
const QString speakers = QStringLiteral("Speakers");
} // namespace

HSpatialSound::HSpatialSound(HSettingsManager* store, QObject* parent) : QObject(parent), settings(store)
{
    const QString stored = settings->ensureValue(outputKey, headphones).toString();
    chosenOutput = stored == speakers ? speakers : headphones;
    latencyReport.setInterval(1000);
    connect(&latencyReport, &QTimer::timeout, this, &HSpatialSound::reportLatencies);
}

void HSpatialSound::reportLatencies()
{
    if (!renderer) {
        return;
    }
    QVector<double> latencies = renderer->takeTurnLatencies();
    if (latencies.isEmpty()) {
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    qCInfo(lcAudio).noquote() << QStringLiteral("turns heard: %1, after median %2 ms, at most %3 ms")
                                     .arg(latencies.size())
                                     .arg(latencies.at(latencies.size() / 2), 0, 'f', 1)
                                     .arg(latencies.last(), 0, 'f', 1);
}

void HSpatialSound::setOutput(const QString& value)
{
    const QString next = value == speakers ? speakers : headphones;
    if (next == chosenOutput) {
        return;
    }
    chosenOutput = next;
    settings->setValue(outputKey, chosenOutput);
    emit outputChanged();
}

HAmbisonicDecoder::Output HSpatialSound::decoderOutput() const
{
    return chosenOutput == speakers ? HAmbisonicDecoder::Output::Speakers
                                    : HAmbisonicDecoder::Output::Headphones;
}

QString HSpatialSound::text() const
{
    return isActive() ? tr("Spatial sound · turns with the view") : tr("Stereo");
}

void HSpatialSound::attach(HSpatialAudioRenderer* playing)
{
    if (playing == renderer) {
        return;
    }
    renderer = playing;
    if (renderer) {
        renderer->setView(view, false);
        latencyReport.start();
    } else {
        latencyReport.stop();
    }
    emit activeChanged();
}

void HSpatialSound::detach(HSpatialAudioRenderer* stopped)
{
    if (stopped && stopped == renderer) {
        renderer = nullptr;
        latencyReport.stop();
        emit activeChanged();
    }
}

void HSpatialSound::setView(const QMatrix4x4& matrix)
{
    view = HAmbisonicRotation::forView(matrix);
    if (renderer) {
        renderer->setView(view);
    }
}
