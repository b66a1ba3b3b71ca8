#include "app/HSettingsManager.h"
#include "devices/HSensorQt.h"
#include "session/HGlobalObject.h"

#include <QGuiApplication>
#include <QRotationSensor>
#include <QSensorBackend>
#include <QSensorManager>
#include <QVector3D>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

constexpr double degree = 3.141592653589793 / 180.0;

// A rotation sensor backend the test drives by hand; readings arrive synchronously.
class FakeRotationBackend : public QSensorBackend
{
public:
    FakeRotationBackend(QSensor* sensor, bool hasZ, bool refusesStart)
        : QSensorBackend(sensor), refuses(refusesStart)
    {
        setReading<QRotationReading>(&values);
        addDataRate(1, 100);
        static_cast<QRotationSensor*>(sensor)->setHasZ(hasZ);
        current = this;
    }
    ~FakeRotationBackend() override
    {
        if (current == this) {
            current = nullptr;
        }
    }

    void start() override
    {
        ++starts;
        if (refuses) {
            sensorStopped();
        }
    }
    void stop() override { ++stops; }

    void deliver(qreal x, qreal y, qreal z)
    {
        values.setFromEuler(x, y, z);
        values.setTimestamp(++timestamp);
        newReadingAvailable();
    }

    static inline FakeRotationBackend* current = nullptr;
    int starts = 0;
    int stops = 0;

private:
    QRotationReading values;
    quint64 timestamp = 0;
    const bool refuses;
};

class FakeRotationFactory : public QSensorBackendFactory
{
public:
    enum Kind
    {
        Full,
        NoZ,
        RefusesStart,
        Broken
    };

    QSensorBackend* createBackend(QSensor* sensor) override
    {
        if (kind == Broken) {
            return nullptr;
        }
        return new FakeRotationBackend(sensor, kind != NoZ, kind == RefusesStart);
    }

    Kind kind = Full;
};

const QByteArray fakeId = "gyre.test.rotation";

} // namespace

// The orientation sensor driven through a fake Qt Sensors backend, from initialisation to the view
// turns it causes in the global object.
class TestSensor : public QObject
{
    Q_OBJECT

private:
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};
    FakeRotationFactory factory;

    void registerFake(FakeRotationFactory::Kind kind)
    {
        factory.kind = kind;
        QSensorManager::registerBackend(QRotationSensor::type, fakeId, &factory);
    }

    // The matrix the global object builds itself from the angles it holds.
    QMatrix4x4 ownMatrix(const HGlobalObject& view)
    {
        HGlobalObject fresh(&settings);
        fresh.setPitchMin(view.pitchMin());
        fresh.setPitchMax(view.pitchMax());
        fresh.setFov(view.fov());
        // Another yaw first, so that the last write surely rebuilds the matrix.
        fresh.setYaw(view.yaw() + 1.0f, false);
        fresh.setPitch(view.pitch(), false);
        fresh.setYaw(view.yaw(), true);
        return fresh.rotationMatrix();
    }

    static bool near(const QMatrix4x4& a, const QMatrix4x4& b)
    {
        for (int i = 0; i < 16; ++i) {
            if (!(std::abs(a.constData()[i] - b.constData()[i]) <= 1e-6f)) {
                return false;
            }
        }
        return true;
    }

    static void expectView(const HGlobalObject& view, double yawDegrees, double pitchDegrees)
    {
        QVERIFY2(std::abs(std::remainder(view.yaw() - yawDegrees * degree, 2 * 180 * degree)) < 1e-4,
                 qPrintable(QString("yaw %1°").arg(view.yaw() / degree)));
        QVERIFY2(std::abs(view.pitch() - pitchDegrees * degree) < 1e-4,
                 qPrintable(QString("pitch %1°").arg(view.pitch() / degree)));
        QCOMPARE(view.roll(), 0.0f);
    }

private slots:
    void cleanup() { QSensorManager::unregisterBackend(QRotationSensor::type, fakeId); }

    void withoutPlatformSupport()
    {
        HGlobalObject view(&settings);
        HSensor sensor(&view);
        QSignalSpy activatedSpy(&sensor, &HSensor::activatedChanged);
        QCOMPARE(sensor.logMessage(), QString("Orientation sensor is not supported on this platform.\n"));
        QVERIFY(!sensor.isSupported());
        QVERIFY(sensor.setProperty("activated", true));
        QVERIFY(!sensor.activated());
        QCOMPARE(activatedSpy.count(), 0);
    }

    void initialisation_data()
    {
        QTest::addColumn<int>("backend"); // -1: none registered
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("log");
        QTest::addRow("no backend")
            << -1 << false << "Error : no orientation sensor found.\nSensor initialization failed.\n";
        QTest::addRow("backend not created")
            << int(FakeRotationFactory::Broken) << false
            << "Error : cannot connect to sensor.\nSensor initialization failed.\n";
        QTest::addRow("no angle about the vertical")
            << int(FakeRotationFactory::NoZ) << false
            << "Error : sensor data type is not supported.\nSensor initialization failed.\n";
        QTest::addRow("full orientation")
            << int(FakeRotationFactory::Full) << true << "Sensor initialization succeeded.\n";
    }
    void initialisation()
    {
        QFETCH(int, backend);
        QFETCH(bool, available);
        QFETCH(QString, log);
        if (backend >= 0) {
            registerFake(FakeRotationFactory::Kind(backend));
        }
        HGlobalObject view(&settings);
        HSensorQt sensor(&view);
        QCOMPARE(sensor.available(), available);
        QCOMPARE(sensor.logMessage(), log);
        QVERIFY(sensor.isSupported());

        // Switching on does something only with a usable sensor.
        QSignalSpy activatedSpy(&sensor, &HSensor::activatedChanged);
        QVERIFY(sensor.setProperty("activated", true));
        QCOMPARE(sensor.activated(), available);
        QCOMPARE(activatedSpy.count(), available ? 1 : 0);
    }

    void firstReadingCentresTheView()
    {
        registerFake(FakeRotationFactory::Full);
        HGlobalObject view(&settings);
        HSensorQt sensor(&view);
        view.setYaw(1.0f, true);
        FakeRotationBackend* backend = FakeRotationBackend::current;
        QVERIFY(backend);

        // Not yet switched on: readings are not asked for, and ignored if they come.
        backend->deliver(40, 10, 70);
        QCOMPARE(view.yaw(), 1.0f);

        sensor.setActivated(true);
        QCOMPARE(backend->starts, 1);
        backend->deliver(40, 10, 70);
        // Straight ahead, at the pitch nearest to level that the picture's band allows (-15°).
        expectView(view, 0, -15);
        QVERIFY(near(view.rotationMatrix(), ownMatrix(view)));
    }

    void turningTheDevice_data()
    {
        QTest::addColumn<QVector3D>("held");   // reading at activation (x, y, z degrees)
        QTest::addColumn<QVector3D>("turned"); // a later reading
        QTest::addColumn<bool>("wholeSphere"); // pitch limits ±90°, else the default band
        QTest::addColumn<double>("yaw");       // expected view, degrees
        QTest::addColumn<double>("pitch");
        // Held upright facing north (x = 90); z grows turning left, as seen from above.
        QTest::addRow("turned right") << QVector3D(90, 0, 0) << QVector3D(90, 0, -30) << true << 30.0 << 0.0;
        QTest::addRow("turned left") << QVector3D(90, 0, 0) << QVector3D(90, 0, 30) << true << -30.0 << 0.0;
        QTest::addRow("turned right facing east")
            << QVector3D(90, 0, -90) << QVector3D(90, 0, -120) << true << 30.0 << 0.0;
        QTest::addRow("top tilted away looks down")
            << QVector3D(90, 0, 0) << QVector3D(70, 0, 0) << true << 0.0 << 20.0;
        QTest::addRow("top tilted near looks up")
            << QVector3D(90, 0, 0) << QVector3D(70, 180, 180) << true << 0.0 << -20.0;
        QTest::addRow("turned and tilted")
            << QVector3D(90, 0, -90) << QVector3D(70, 0, -120) << true << 30.0 << 20.0;
        // With fov 30 the default band (-15°..45°) allows pitch -30°..0°.
        QTest::addRow("looking down stops at the band")
            << QVector3D(90, 0, 0) << QVector3D(70, 0, 0) << false << 0.0 << 0.0;
        QTest::addRow("looking up stops at the band")
            << QVector3D(90, 0, 0) << QVector3D(10, 180, 180) << false << 0.0 << -30.0;
    }
    void turningTheDevice()
    {
        QFETCH(QVector3D, held);
        QFETCH(QVector3D, turned);
        QFETCH(bool, wholeSphere);
        QFETCH(double, yaw);
        QFETCH(double, pitch);
        registerFake(FakeRotationFactory::Full);
        HGlobalObject view(&settings);
        view.setFov(30);
        if (wholeSphere) {
            view.setPitchMin(-float(90 * degree));
            view.setPitchMax(float(90 * degree));
        }
        HSensorQt sensor(&view);
        sensor.setActivated(true);
        FakeRotationBackend::current->deliver(held.x(), held.y(), held.z());
        FakeRotationBackend::current->deliver(turned.x(), turned.y(), turned.z());
        expectView(view, yaw, pitch);
        // What is shown is the clamped orientation, as the global object builds it.
        QVERIFY(near(view.rotationMatrix(), ownMatrix(view)));
    }

    void switchingOffAndOnRecentres()
    {
        registerFake(FakeRotationFactory::Full);
        HGlobalObject view(&settings);
        HSensorQt sensor(&view);
        FakeRotationBackend* backend = FakeRotationBackend::current;
        QSignalSpy activatedSpy(&sensor, &HSensor::activatedChanged);
        sensor.setActivated(true);
        sensor.setActivated(true);
        QCOMPARE(activatedSpy.count(), 1);
        backend->deliver(90, 0, 0);
        backend->deliver(90, 0, -30);
        expectView(view, 30, -15);

        sensor.setActivated(false);
        QCOMPARE(activatedSpy.count(), 2);
        QCOMPARE(backend->stops, 1);
        QCOMPARE(view.roll(), 0.0f);
        QVERIFY(near(view.rotationMatrix(), ownMatrix(view)));

        // A reading that still arrives after stop() moves nothing.
        QSignalSpy matrixSpy(&view, &HGlobalObject::rotationMatrixChanged);
        backend->deliver(90, 0, -60);
        QCOMPARE(matrixSpy.count(), 0);
        expectView(view, 30, -15);

        // Switched on again, the device's current orientation is straight ahead.
        sensor.setActivated(true);
        backend->deliver(90, 0, -60);
        expectView(view, 0, -15);
        backend->deliver(90, 0, -90);
        expectView(view, 30, -15);
    }

    void refusedStartLeavesItOff()
    {
        registerFake(FakeRotationFactory::RefusesStart);
        HGlobalObject view(&settings);
        HSensorQt sensor(&view);
        QVERIFY(sensor.available());
        QSignalSpy activatedSpy(&sensor, &HSensor::activatedChanged);
        sensor.setActivated(true);
        QCOMPARE(FakeRotationBackend::current->starts, 1);
        QVERIFY(!sensor.activated());
        QCOMPARE(activatedSpy.count(), 0);
        view.setYaw(1.0f, true);
        FakeRotationBackend::current->deliver(90, 0, 0);
        QCOMPARE(view.yaw(), 1.0f);
    }
};

int main(int argc, char** argv)
{
    // Only the test's own backend, never a sensor plug-in of the machine.
    qputenv("QT_SENSORS_LOAD_PLUGINS", "0");
    QGuiApplication app(argc, argv);
    TestSensor test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sensor.moc"
