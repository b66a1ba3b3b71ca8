#include "HDisplay.h"
#include "base/HAssign.h"

HDisplay::HDisplay(QObject* parent)
    : QObject(parent), logMessageValue(tr("Other display screen is not supported on this platform.")),
      userMessageValue(logMessageValue)
{
}

void HDisplay::setLogMessage(const QString& value)
{
    if (assignChanged(logMessageValue, value)) {
        emit logMessageChanged();
    }
}

void HDisplay::setUserMessage(const QString& value)
{
    if (assignChanged(userMessageValue, value)) {
        emit userMessageChanged();
    }
}

void HDisplay::setAvailable(bool value)
{
    if (assignChanged(availableValue, value)) {
        emit availableChanged();
    }
}

void HDisplay::setProcessing(bool value)
{
    if (assignChanged(processingValue, value)) {
        emit processingChanged();
    }
}

void HDisplay::setFailed(bool value)
{
    if (assignChanged(failedValue, value)) {
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
