#pragma once

#include "HNullDevice.h"

#include <QCoreApplication>

// The hand tracker ("hLeap"): none is supported on this platform.
class HLeap : public HNullDevice
{
    Q_OBJECT

public:
    explicit HLeap(QObject* parent = nullptr)
        : HNullDevice(
              QCoreApplication::translate("HLeap", "Hand tracking is not supported on this platform."),
              parent)
    {
    }
};
