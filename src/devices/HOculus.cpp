#include "HOculus.h"

HOculus::HOculus(QObject* parent) : QObject(parent)
{
}

QString HOculus::logMessage() const
{
    return tr("Head-mounted display is not supported on this platform.");
}

void HOculus::setAvailable(bool value)
{
    Q_UNUSED(value)
}

void HOculus::setActivated(bool value)
{
    Q_UNUSED(value)
}
