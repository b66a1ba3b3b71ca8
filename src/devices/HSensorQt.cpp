#include "HSensorQt.h"

#include "DevicesLogging.h"

#include <QCoreApplication>
#include <QRotationSensor>

#include <cmath>

HSensorQt::HSensorQt(HGlobalObject* globalObject, QObject* parent) : HSensor(globalObject, parent)
{
    setLogMessage(QString());

    // The report keeps the base class's translation context whatever the platform.
    const auto translated = [](const char* text) { return QCoreApplication::translate("HSensor", text); };
    const auto fail = [this, translated](const char* text) {
        appendLogMessage(translated(text));
        appendLogMessage(translated(QT_TRANSLATE_NOOP("HSensor", "Sensor initialization failed.\n")));
        qCInfo(lcDevices).noquote() << "No orientation sensor:"
                                    << logMessage().trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
    };

    if (QSensor::sensorsForType(QRotationSensor::type).isEmpty()) {
        fail(QT_TRANSLATE_NOOP("HSensor", "Error : no orientation sensor found.\n"));
        return;
    }

    // The default backend for the type: the first one registered, unless the Qt Sensors
    // configuration names another.
    auto* candidate = new QRotationSensor(this);
    if (!candidate->connectToBackend()) {
        delete candidate;
        fail(QT_TRANSLATE_NOOP("HSensor", "Error : cannot connect to sensor.\n"));
        return;
    }
    // Without the angle about the vertical (no compass or gyroscope behind it) turning the
    // device around would not turn the view.
    if (!candidate->hasZ()) {
        delete candidate;
        fail(QT_TRANSLATE_NOOP("HSensor", "Error : sensor data type is not supported.\n"));
        return;
    }

    sensor = candidate;
    connect(sensor, &QSensor::readingChanged, this, &HSensorQt::readingChanged);
    setAvailable(true);
    appendLogMessage(translated(QT_TRANSLATE_NOOP("HSensor", "Sensor initialization succeeded.\n")));
    qCInfo(lcDevices) << "Orientation sensor:" << sensor->identifier();
}

HSensorQt::~HSensorQt()
{
    if (sensor && subscribed) {
        sensor->stop();
    }
}

QMatrix3x3 HSensorQt::orientationFromEuler(qreal x, qreal y, qreal z)
{
    constexpr double radiansPerDegree = 3.141592653589793 / 180.0;
    const double sx = std::sin(x * radiansPerDegree), cx = std::cos(x * radiansPerDegree);
    const double sy = std::sin(y * radiansPerDegree), cy = std::cos(y * radiansPerDegree);
    const double sz = std::sin(z * radiansPerDegree), cz = std::cos(z * radiansPerDegree);
    // Rz(z) · Rx(x) · Ry(y), right-handed rotations on column vectors.
    // clang-format off
    const float rows[9] = {
        float(cz * cy - sz * sx * sy), float(-sz * cx), float(cz * sy + sz * sx * cy),
        float(sz * cy + cz * sx * sy), float(cz * cx),  float(sz * sy - cz * sx * cy),
        float(-cx * sy),               float(sx),       float(cx * cy)};
    // clang-format on
    return QMatrix3x3(rows);
}

void HSensorQt::setActivated(bool value)
{
    if (!available() || value == activated()) {
        return;
    }
    if (value) {
        subscribed = true;
        if (!sensor->start()) {
            subscribed = false;
            qCWarning(lcDevices) << "The orientation sensor did not start";
            return;
        }
    } else {
        subscribed = false;
        sensor->stop();
    }
    changeActivated(value);
}

bool HSensorQt::isSupported() const
{
    return true;
}

void HSensorQt::readingChanged()
{
    if (!subscribed) {
        return;
    }
    const QRotationReading* reading = sensor->reading();
    if (!reading) {
        return;
    }
    handleOrientation(orientationFromEuler(reading->x(), reading->y(), reading->z()));
}
