#include "base/HSettingsManager.h"
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
const QByteArray fakeId = "gyre.test.rotation";

enum Kind
{
    BaseClass = -2, // no platform support at all
    NoBackend = -1,
    Full,
    NoZ,
    RefusesStart,
    Broken
};

// A rotation sensor backend driven by hand; its readings arrive synchronously.
class FakeBackend : public QSensorBackend
{
public:
    FakeBackend(QSensor* sensor, Kind backendKind) : QSensorBackend(sensor), kind(backendKind)
    {
        setReading<QRotationReading>(&values);
        static_cast<QRotationSensor*>(sensor)->setHasZ(kind != NoZ);
        latest = this;
    }
    void start() override
    {
        ++starts;
        if (kind == RefusesStart) {
            sensorStopped();
        }
    }
    void stop() override { ++stops; }
    void deliver(const QVector3D& angles)
    {
        values.setFromEuler(angles.x(), angles.y(), angles.z());
        newReadingAvailable();
    }

    static inline FakeBackend* latest = nullptr;
    int starts = 0;
    int stops = 0;

private:
    QRotationReading values;
    const Kind kind;
};

class FakeFactory : public QSensorBackendFactory
{
public:
    QSensorBackend* createBackend(QSensor* sensor) override
    {
        return kind == Broken ? nullptr : new FakeBackend(sensor, kind);
    }
    Kind kind = Full;
};

} // namespace

// The orientation sensor driven through a fake Qt Sensors backend, from its initialisation to the
// view turns it causes in the global object.
class TestSensor : public QObject
{
    Q_OBJECT

private:
    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};
    FakeFactory factory;

    void registerFake(Kind kind)
    {
        factory.kind = kind;
        QSensorManager::registerBackend(QRotationSensor::type, fakeId, &factory);
    }

    // The view must show what the global object would build itself from its (clamped) angles.
    void expectView(const HGlobalObject& view, double yawDegrees, double pitchDegrees)
    {
        QVERIFY2(std::abs(std::remainder(view.yaw() - yawDegrees * degree, 360 * degree)) < 1e-4,
                 qPrintable(QString("yaw %1°").arg(view.yaw() / degree)));
        QVERIFY2(std::abs(view.pitch() - pitchDegrees * degree) < 1e-4,
                 qPrintable(QString("pitch %1°").arg(view.pitch() / degree)));
        QCOMPARE(view.roll(), 0.0f);

        HGlobalObject own(&settings);
        own.setPitchMin(view.pitchMin());
        own.setPitchMax(view.pitchMax());
        own.setFov(view.fov());
        own.setYaw(view.yaw() + 1.0f, false); // so that the last write surely rebuilds the matrix
        own.setPitch(view.pitch(), false);
        own.setYaw(view.yaw(), true);
        for (int i = 0; i < 16; ++i) {
            QVERIFY(std::abs(view.rotationMatrix().constData()[i] - own.rotationMatrix().constData()[i]) <
                    1e-6f);
        }
    }

private slots:
    void cleanup()
    {
        QSensorManager::unregisterBackend(QRotationSensor::type, fakeId);
        FakeBackend::latest = nullptr;
    }

    void initialisation_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("switchesOn");
        QTest::addColumn<QString>("log");
        QTest::addRow("platform without sensors")
            << int(BaseClass) << false << false << "Orientation sensor is not supported on this platform.\n";
        QTest::addRow("no backend")
            << int(NoBackend) << false << false
            << "Error : no orientation sensor found.\nSensor initialization failed.\n";
        QTest::addRow("backend not created")
            << int(Broken) << false << false
            << "Error : cannot connect to sensor.\nSensor initialization failed.\n";
        QTest::addRow("no angle about the vertical")
            << int(NoZ) << false << false
            << "Error : sensor data type is not supported.\nSensor initialization failed.\n";
        QTest::addRow("backend refuses to start")
            << int(RefusesStart) << true << false << "Sensor initialization succeeded.\n";
        QTest::addRow("full orientation")
            << int(Full) << true << true << "Sensor initialization succeeded.\n";
    }
    void initialisation()
    {
        QFETCH(int, kind);
        QFETCH(bool, available);
        QFETCH(bool, switchesOn);
        QFETCH(QString, log);
        if (kind >= 0) {
            registerFake(Kind(kind));
        }
        HGlobalObject view(&settings);
        std::unique_ptr<HSensor> sensor(kind == BaseClass ? new HSensor(&view) : new HSensorQt(&view));
        QCOMPARE(sensor->available(), available);
        QCOMPARE(sensor->logMessage(), log);
        QCOMPARE(sensor->isSupported(), kind != BaseClass);

        // Writing the property as QML does switches only a sensor that starts on.
        QSignalSpy activatedSpy(sensor.get(), &HSensor::activatedChanged);
        QVERIFY(sensor->setProperty("activated", true));
        QCOMPARE(sensor->activated(), switchesOn);
        QCOMPARE(activatedSpy.count(), switchesOn ? 1 : 0);
        if (kind == RefusesStart) {
            QCOMPARE(FakeBackend::latest->starts, 1);
            view.setYaw(1.0f, true);
            FakeBackend::latest->deliver({90, 0, 0});
            QCOMPARE(view.yaw(), 1.0f);
        }
    }

    void turningTheDevice_data()
    {
        QTest::addColumn<QVector3D>("held");   // reading at switch-on (x, y, z in degrees)
        QTest::addColumn<QVector3D>("turned"); // a later reading
        QTest::addColumn<bool>("wholeSphere"); // pitch limits ±90°, else the default band
        QTest::addColumn<double>("yaw");       // expected view, degrees
        QTest::addColumn<double>("pitch");
        // Held upright (x = 90) facing north; z grows as the device turns left, seen from above.
        QTest::addRow("turned right") << QVector3D(90, 0, 0) << QVector3D(90, 0, -30) << true << 30.0 << 0.0;
        QTest::addRow("turned left facing east")
            << QVector3D(90, 0, -90) << QVector3D(90, 0, -60) << true << -30.0 << 0.0;
        QTest::addRow("top tilted away, turned right")
            << QVector3D(90, 0, -90) << QVector3D(70, 0, -120) << true << 30.0 << 20.0;
        QTest::addRow("top tilted near looks up")
            << QVector3D(90, 0, 0) << QVector3D(70, 180, 180) << true << 0.0 << -20.0;
        // With fov 30 the default band (-15°..45°) allows pitch from -30° to 0°.
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
        registerFake(Full);
        HGlobalObject view(&settings);
        view.setFov(30);
        if (wholeSphere) {
            view.setPitchMin(-float(90 * degree));
            view.setPitchMax(float(90 * degree));
        }
        HSensorQt sensor(&view);
        sensor.setActivated(true);
        FakeBackend::latest->deliver(held);
        FakeBackend::latest->deliver(turned);
        expectView(view, yaw, pitch);
    }

    void switchingOffAndOnRecentres()
    {
        registerFake(Full);
        HGlobalObject view(&settings);
        HSensorQt sensor(&view);
        FakeBackend* backend = FakeBackend::latest;
        view.setYaw(1.0f, true);
        backend->deliver({90, 0, -30}); // not switched on yet: ignored
        QCOMPARE(view.yaw(), 1.0f);

        QSignalSpy activatedSpy(&sensor, &HSensor::activatedChanged);
        sensor.setActivated(true);
        sensor.setActivated(true);
        QCOMPARE(activatedSpy.count(), 1);
        QCOMPARE(backend->starts, 1);
        // The first reading looks straight ahead, at the pitch nearest to level that the band allows.
        backend->deliver({90, 0, 0});
        expectView(view, 0, -15);
        backend->deliver({90, 0, -30});
        expectView(view, 30, -15);

        sensor.setActivated(false);
        QCOMPARE(activatedSpy.count(), 2);
        QCOMPARE(backend->stops, 1);
        expectView(view, 30, -15);
        // A reading that still arrives after stop() moves nothing.
        QSignalSpy matrixSpy(&view, &HGlobalObject::rotationMatrixChanged);
        backend->deliver({90, 0, -60});
        QCOMPARE(matrixSpy.count(), 0);

        sensor.setActivated(true);
        backend->deliver({90, 0, -60});
        expectView(view, 0, -15);
        backend->deliver({90, 0, -90});
        expectView(view, 30, -15);
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
