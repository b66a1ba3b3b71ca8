#include "HLeapFingerOGL.h"

HLeapFingerOGL::HLeapFingerOGL(QQuickItem* parent) : QQuickItem(parent)
{
}

void HLeapFingerOGL::setCameraId(int value)
{
    Q_UNUSED(value)
}

void HLeapFingerOGL::setUserValue(double value)
{
    Q_UNUSED(value)
}

void HLeapFingerOGL::setOculusMode(int value)
{
    Q_UNUSED(value)
}

void HLeapFingerOGL::setLensLimit(double value)
{
    Q_UNUSED(value)
}
