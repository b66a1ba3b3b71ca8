#pragma once

#include <QObject>
#include <QString>

// The hand tracker as QML sees it ("hLeap"). None is supported on this platform: the object always
// reads unavailable and off, so QML hides every control of the device.
class HLeap : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool available READ available WRITE setAvailable NOTIFY availableChanged)
    Q_PROPERTY(bool activated READ activated WRITE setActivated NOTIFY activatedChanged)
    Q_PROPERTY(QString logMessage READ logMessage CONSTANT)
    Q_PROPERTY(QString logLink READ logLink CONSTANT)

public:
    explicit HLeap(QObject* parent = nullptr);

    bool available() const { return false; }
    bool activated() const { return false; }
    QString logMessage() const;
    // No driver to point the user to.
    QString logLink() const { return QString(); }

    // Writes are accepted and ignored.
    void setAvailable(bool value);
    void setActivated(bool value);

    Q_INVOKABLE bool isSupported() const { return false; }

signals:
    void availableChanged();
    void activatedChanged();
};
