#pragma once

#include <QQuickItem>

// The item the interface places for hand-tracking pointers. Without hand tracking it has no content
// and its properties always read 0, whatever QML writes.
class HLeapFingerOGL : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(int cameraId READ cameraId WRITE setCameraId NOTIFY cameraIdChanged)
    Q_PROPERTY(double userValue READ userValue WRITE setUserValue NOTIFY userValueChanged)
    Q_PROPERTY(int oculusMode READ oculusMode WRITE setOculusMode NOTIFY oculusModeChanged)
    Q_PROPERTY(double lensLimit READ lensLimit WRITE setLensLimit NOTIFY lensLimitChanged)

public:
    explicit HLeapFingerOGL(QQuickItem* parent = nullptr);

    int cameraId() const { return 0; }
    double userValue() const { return 0.0; }
    int oculusMode() const { return 0; }
    double lensLimit() const { return 0.0; }

    void setCameraId(int value);
    void setUserValue(double value);
    void setOculusMode(int value);
    void setLensLimit(double value);

    Q_INVOKABLE bool isSupported() const { return false; }

signals:
    void cameraIdChanged();
    void userValueChanged();
    void oculusModeChanged();
    void lensLimitChanged();
};
