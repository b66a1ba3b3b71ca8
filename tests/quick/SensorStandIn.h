#pragma once

#include "devices/HSensor.h"

// An orientation sensor ("hSensor") that a test can make present: unavailable at first, like the
// base class on a machine without a sensor; once made available, switching it on and off works.
class SensorStandIn : public HSensor
{
    Q_OBJECT

public:
    using HSensor::HSensor;

    Q_INVOKABLE void makeAvailable(bool value)
    {
        if (!value) {
            changeActivated(false);
        }
        setAvailable(value);
    }

public slots:
    void setActivated(bool value) override
    {
        if (available()) {
            changeActivated(value);
        }
    }
};
