#pragma once

#include "HNullDevice.h"

#include <QCoreApplication>

// The head-mounted display ("hOculus"): none is supported on this platform.
class HOculus : public HNullDevice
{
    Q_OBJECT

public:
    explicit HOculus(QObject* parent = nullptr)
        : HNullDevice(QCoreApplication::translate("HOculus",
                                                  "Head-mounted display is not supported on this platform."),
                      parent)
    {
    }
};
