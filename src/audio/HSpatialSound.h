#pragma once

#include "HAmbisonicDecoder.h"
#include "HAmbisonicRotation.h"

#include <QMatrix4x4>
#include <QObject>
#include <QTimer>

class HSettingsManager;
class HSpatialAudioRenderer;

// The program's spatial sound: whether the sound now playing turns with the view, where it goes
// ("application/audio/spatialOutput": "Headphones", the default, or "Speakers"), and the view it
// turns with. The view comes from the global object's rotation matrix, so dragging, keys, the
// orientation sensor and a synchronisation master all turn the sound as they turn the picture.
class HSpatialSound : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString output READ output WRITE setOutput NOTIFY outputChanged)
    Q_PROPERTY(bool active READ isActive NOTIFY activeChanged)
    Q_PROPERTY(QString text READ text NOTIFY activeChanged)

public:
    explicit HSpatialSound(HSettingsManager* settings, QObject* parent = nullptr);

    QString output() const { return chosenOutput; }
    void setOutput(const QString& value);
    HAmbisonicDecoder::Output decoderOutput() const;

    bool isActive() const { return renderer != nullptr; }
    QString text() const;

    // The renderer of the ambisonic track that plays now, or none (GUI thread).
    void attach(HSpatialAudioRenderer* playing);
    void detach(HSpatialAudioRenderer* stopped);

public slots:
    void setView(const QMatrix4x4& view);

signals:
    void outputChanged();
    void activeChanged();

private:
    void reportLatencies();

    HSettingsManager* settings;
    QString chosenOutput;
    HAmbisonicRotation::Matrix view = HAmbisonicRotation::identity();
    HSpatialAudioRenderer* renderer = nullptr;
    // Once a second while spatial sound plays: how soon the turns of that second were heard.
    QTimer latencyReport;
};
