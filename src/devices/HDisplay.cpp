#include "HDisplay.h"

HDisplay::HDisplay(QObject* parent)
    : QObject(parent), logMessageValue(tr("Other display screen is not supported on this platform.")),
      userMessageValue(logMessageValue)
{
}

void HDisplay::setLogMessage(const QString& value)
{
    if (value != logMessageValue) {
        logMessageValue = value;
        emit logMessageChanged();
    }
}

void HDisplay::setUserMessage(const QString& value)
{
    if (value != userMessageValue) {
        userMessageValue = value;
        emit userMessageChanged();
    }
}

void HDisplay::setAvailable(bool value)
{
    if (value != availableValue) {
        availableValue = value;
        emit availableChanged();
    }
}

void HDisplay::setProcessing(bool value)
{
    if (value != processingValue) {
        processingValue = value;
        emit processingChanged();
    }
}

void HDisplay::setFailed(bool value)
{
    if (value != failedValue) {
        failedValue = value;
        emit failedChanged();
    }
}

void HDisplay::setActivated(bool value)
{
    // No external display can be driven on this platform.
    Q_UNUSED(value)
}

bool HDisplay::isSupported() const
{
    return false;
}
