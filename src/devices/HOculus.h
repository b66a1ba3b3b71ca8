#pragma once

#include <QObject>
#include <QString>

// The head-mounted display as QML sees it ("hOculus"). None is supported on this platform: the
// object always reads unavailable and off, so QML hides every control of the device.
class HOculus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool available READ available WRITE setAvailable NOTIFY availableChanged)
    Q_PROPERTY(bool activated READ activated WRITE setActivated NOTIFY activatedChanged)
    Q_PROPERTY(QString logMessage READ logMessage CONSTANT)

public:
    explicit HOculus(QObject* parent = nullptr);

    bool available() const { return false; }
    bool activated() const { return false; }
    QString logMessage() const;

    // Writes are accepted and ignored.
    void setAvailable(bool value);
    void setActivated(bool value);

    Q_INVOKABLE bool isSupported() const { return false; }

signals:
    void availableChanged();
    void activatedChanged();
};
