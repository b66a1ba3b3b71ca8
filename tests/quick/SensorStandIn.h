#pragma once

#include "devices/HSensor.h"

// An orientation sensor that switches on and off when asked, without a device behind it: what the
// components under test see of a machine with a sensor. It reads unavailable until a test says
// otherwise (setPresent), as on a machine without one.
class SensorStandIn : public HSensor
{
    Q_OBJECT

public:
    using HSensor::HSensor;

    Q_INVOKABLE void setPresent(bool present) { setAvailable(present); }

public slots:
    void setActivated(bool value) override { changeActivated(value); }
    bool isSupported() const override { return true; }
};
