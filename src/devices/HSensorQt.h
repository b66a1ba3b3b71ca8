#pragma once

#include "HSensor.h"

class QRotationSensor;

// The orientation sensor through Qt Sensors: the default rotation sensor backend, if one exists and
// reports a full orientation (its z angle included), steers the view while activated.
class HSensorQt : public HSensor
{
    Q_OBJECT

public:
    explicit HSensorQt(HGlobalObject* globalObject, QObject* parent = nullptr);
    ~HSensorQt() override;

    // The rotation from device to world coordinates for a rotation reading's angles (degrees):
    // z about the vertical, then x about the turned x axis, then y about the twice-turned y axis.
    static QMatrix3x3 orientationFromEuler(qreal x, qreal y, qreal z);

public slots:
    void setActivated(bool value) override;
    bool isSupported() const override;

private:
    void readingChanged();

    QRotationSensor* sensor = nullptr;
    // Set while subscribed: a sensor may still deliver readings after stop().
    bool subscribed = false;
};
