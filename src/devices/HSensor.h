#pragma once

#include <QGenericMatrix>
#include <QMatrix4x4>
#include <QObject>
#include <QString>

class HGlobalObject;

// The orientation sensor as QML sees it ("hSensor"): whether a sensor exists, whether it steers the
// view, and a report of how its initialisation went. The platform subclass finds the device and
// feeds its orientation to handleOrientation(); turning it into view changes happens here, so it
// is the same on every platform. On a platform without a subclass the sensor is unavailable.
class HSensor : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString logMessage READ logMessage WRITE setLogMessage NOTIFY logMessageChanged)
    Q_PROPERTY(bool activated READ activated WRITE setActivated NOTIFY activatedChanged)
    Q_PROPERTY(bool available READ available NOTIFY availableChanged)

public:
    explicit HSensor(HGlobalObject* globalObject, QObject* parent = nullptr);

    QString logMessage() const { return logMessageValue; }
    bool activated() const { return activatedValue; }
    bool available() const { return availableValue; }

    void setLogMessage(const QString& value);

public slots:
    // Writing the activated property lands here; without a device there is nothing to switch.
    virtual void setActivated(bool value);
    virtual bool isSupported() const;

signals:
    void logMessageChanged();
    // Orientation reaches QML through the global object only; these four are never emitted.
    void yawChanged();
    void pitchChanged();
    void rollChanged();
    void activatedChanged();
    void availableChanged();
    void rotationMatrixChanged();

protected:
    void setAvailable(bool value);
    // Adds a line to the initialisation report without announcing it: the report is complete
    // before anyone can listen.
    void appendLogMessage(const QString& text);

    // Stores the new state after the subclass has subscribed or unsubscribed. Switching off
    // settles the roll and forgets the reference, so the next switch-on re-centres the view.
    void changeActivated(bool value);

    // One orientation of the device, as the rotation from device to world coordinates (rows of
    // the upper 3 × 3 block). The first one after switching on becomes the reference; every one
    // turns the view by the device's rotation since then.
    void handleOrientation(const QMatrix3x3& orientation);

private:
    QString logMessageValue;
    bool activatedValue = false;
    bool availableValue = false;
    HGlobalObject* const global;
    QMatrix4x4 referenceValue;
    bool hasReferenceValue = false;
};
