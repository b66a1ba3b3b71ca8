#pragma once

#include <QObject>
#include <QString>

// A device this platform does not support, as QML sees it: always unavailable and off, so QML
// hides every control of the device; writes are accepted and ignored. The head-mounted display
// ("hOculus") and the hand tracker ("hLeap") are both one.
class HNullDevice : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool available READ available WRITE setAvailable NOTIFY availableChanged)
    Q_PROPERTY(bool activated READ activated WRITE setActivated NOTIFY activatedChanged)
    Q_PROPERTY(QString logMessage READ logMessage CONSTANT)
    // No driver to point the user to.
    Q_PROPERTY(QString logLink READ logLink CONSTANT)

public:
    explicit HNullDevice(const QString& logMessage, QObject* parent = nullptr)
        : QObject(parent), message(logMessage)
    {
    }

    bool available() const { return false; }
    bool activated() const { return false; }
    QString logMessage() const { return message; }
    QString logLink() const { return QString(); }
    void setAvailable(bool) {}
    void setActivated(bool) {}

    Q_INVOKABLE bool isSupported() const { return false; }

signals:
    void availableChanged();
    void activatedChanged();

private:
    const QString message;
};
