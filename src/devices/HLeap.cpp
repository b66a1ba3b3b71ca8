#include "HLeap.h"

HLeap::HLeap(QObject* parent) : QObject(parent)
{
}

QString HLeap::logMessage() const
{
    return tr("Hand tracking is not supported on this platform.");
}

void HLeap::setAvailable(bool value)
{
    Q_UNUSED(value)
}

void HLeap::setActivated(bool value)
{
    Q_UNUSED(value)
}
