#include "base/HSettingsManager.h"
#include "session/HGlobalObject.h"

#include <QtTest>

#include <cmath>
#include <limits>

// The view state's numbers and the bridge to the settings store.
class TestGlobalObject : public QObject
{
    Q_OBJECT

private:
    static constexpr double pi = 3.141592653589793;
    static constexpr float floatPi = 3.14159274f; // the float nearest to π, just above it

    // Nine significant digits name a float exactly, and a failed comparison stays readable.
    static QString exact(float value) { return QString::number(double(value), 'g', 9); }

    // Ry(-yaw) · Rx(-pitch) · Rz(roll) from the elementary rotations on column vectors, in double.
    static QMatrix4x4 composed(double yaw, double pitch, double roll)
    {
        using M = QGenericMatrix<3, 3, double>; // values in row-major order
        const double cy = std::cos(-yaw), sy = std::sin(-yaw), cp = std::cos(-pitch), sp = std::sin(-pitch);
        const double cr = std::cos(roll), sr = std::sin(roll);
        const double ry[] = {cy, 0, sy, 0, 1, 0, -sy, 0, cy};
        const double rx[] = {1, 0, 0, 0, cp, -sp, 0, sp, cp};
        const double rz[] = {cr, -sr, 0, sr, cr, 0, 0, 0, 1};
        const M m = M(ry) * M(rx) * M(rz);
        QMatrix4x4 result;
        for (int i = 0; i < 9; ++i) {
            result(i / 3, i % 3) = float(m(i / 3, i % 3));
        }
        return result;
    }

    static bool near(const QMatrix4x4& a, const QMatrix4x4& b, float tolerance = 1e-6f)
    {
        for (int i = 0; i < 16; ++i) {
            if (!(std::abs(a.constData()[i] - b.constData()[i]) <= tolerance)) {
                return false;
            }
        }
        return true;
    }

    // Limits and field of view under which no pitch between the poles is clamped.
    static void openAllPitches(HGlobalObject& object)
    {
        object.setPitchMin(-float(pi / 2));
        object.setPitchMax(float(pi / 2));
        object.setFov(0.0f);
    }

    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player test"};

private slots:
    void yawWraps_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("stored");
        QTest::addRow("4.0") << 4.0f << -2.2831855f;
        QTest::addRow("7.0") << 7.0f << 0.7168145f;
        QTest::addRow("-4.0") << -4.0f << 2.2831855f;
        QTest::addRow("float pi stays") << floatPi << floatPi;
        QTest::addRow("float -pi becomes float pi") << -floatPi << floatPi;
        QTest::addRow("three turns") << 20.0f << float(20.0 - 3 * 6.2831854820251465);
    }
    void yawWraps()
    {
        QFETCH(float, value);
        QFETCH(float, stored);
        HGlobalObject object(&settings);
        QSignalSpy yawSpy(&object, &HGlobalObject::yawChanged);
        QSignalSpy matrixSpy(&object, &HGlobalObject::rotationMatrixChanged);
        object.setYaw(value, false);
        QCOMPARE(exact(object.yaw()), exact(stored));
        object.setYaw(value, true); // the same value: nothing moves
        QCOMPARE(yawSpy.count(), 1);
        QCOMPARE(matrixSpy.count(), 0);
        // Written as a property (as QML does), the angle rebuilds the matrix.
        QVERIFY(object.setProperty("yaw", 1.0));
        QVERIFY(near(object.rotationMatrix(), composed(1.0, 0.0, 0.0)));
    }

    void pitchIsClamped_data()
    {
        QTest::addColumn<float>("fov");
        QTest::addColumn<float>("pitchMin");
        QTest::addColumn<float>("pitchMax");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("stored");
        const float min = -0.2617994f, max = 0.7853982f;
        QTest::addRow("defaults, 0") << 60.0f << min << max << 0.0f << -0.2617994f;
        QTest::addRow("fov 30, inside") << 30.0f << min << max << -0.3f << -0.3f;
        QTest::addRow("fov 30, above") << 30.0f << min << max << 0.2f << 0.0f;
        QTest::addRow("fov 30, below") << 30.0f << min << max << -0.9f << -0.5235988f;
        // Band narrower than the view: upper (-0.4235988) is tested before lower (0.4235988).
        QTest::addRow("narrow band, above upper") << 60.0f << -0.1f << 0.1f << 0.0f << -0.4235988f;
        QTest::addRow("narrow band, below upper") << 60.0f << -0.1f << 0.1f << -1.0f << 0.4235988f;
    }
    void pitchIsClamped()
    {
        QFETCH(float, fov);
        QFETCH(float, pitchMin);
        QFETCH(float, pitchMax);
        QFETCH(float, value);
        QFETCH(float, stored);
        HGlobalObject object(&settings);
        object.setPitchMin(pitchMin);
        object.setPitchMax(pitchMax);
        if (fov != object.fov()) {
            object.setFov(fov); // which may already bring the initial pitch (0) into the range
        }
        const float before = object.pitch();
        QSignalSpy matrixSpy(&object, &HGlobalObject::rotationMatrixChanged);
        object.setPitch(value, true);
        QVERIFY2(std::abs(object.pitch() - stored) < 1e-6f, qPrintable(exact(object.pitch())));
        QCOMPARE(matrixSpy.count(), object.pitch() == before ? 0 : 1);
        QVERIFY(near(object.rotationMatrix(), composed(0.0, double(object.pitch()), 0.0)));
    }

    void fovChangeKeepsAValidPitch()
    {
        HGlobalObject object(&settings);
        object.setPitch(0.0f, true);
        const float fifteenDown = object.pitch();
        QSignalSpy pitchSpy(&object, &HGlobalObject::pitchChanged);
        QSignalSpy fovSpy(&object, &HGlobalObject::fovChanged);
        object.setFov(30.0f);
        object.setFov(60.0f);
        QCOMPARE(fovSpy.count(), 2);
        QCOMPARE(pitchSpy.count(), 0);
        QCOMPARE(exact(object.pitch()), exact(fifteenDown));

        // A wider view pushes the pitch back to the bound and rebuilds the matrix.
        object.setFov(30.0f);
        object.setPitch(-0.5f, true);
        QSignalSpy matrixSpy(&object, &HGlobalObject::rotationMatrixChanged);
        object.setFov(60.0f);
        QCOMPARE(exact(object.pitch()), exact(fifteenDown));
        QCOMPARE(matrixSpy.count(), 1);
    }

    void matrixWrites()
    {
        const QMatrix4x4 m = composed(1.0, -0.25, 0.0);
        HGlobalObject fromQml(&settings);
        fromQml.setFov(30.0f);
        QSignalSpy qmlSpy(&fromQml, &HGlobalObject::rotationMatrixChanged);
        QVERIFY(fromQml.setProperty("rotationMatrix", m));
        QVERIFY(fromQml.setProperty("rotationMatrix", m));
        QCOMPARE(qmlSpy.count(), 1);
        QCOMPARE(fromQml.yaw(), 0.0f);
        QCOMPARE(fromQml.pitch(), 0.0f);

        HGlobalObject fromSensor(&settings);
        fromSensor.setFov(30.0f);
        QSignalSpy sensorSpy(&fromSensor, &HGlobalObject::rotationMatrixChanged);
        fromSensor.setRotationMatrix(m, true);
        QVERIFY(std::abs(fromSensor.yaw() - 1.0f) < 1e-6f);
        QVERIFY(std::abs(fromSensor.pitch() + 0.25f) < 1e-6f);
        QCOMPARE(sensorSpy.count(), 1); // the angles do not rebuild the matrix in turn

        // Beyond the band the pitch is clamped, but the matrix stays as the sensor gave it.
        const QMatrix4x4 up = composed(-2.0, 0.6, 0.0);
        fromSensor.setFov(60.0f);
        fromSensor.setRotationMatrix(up, true);
        QVERIFY(std::abs(fromSensor.yaw() + 2.0f) < 1e-6f);
        QVERIFY(std::abs(fromSensor.pitch() + 0.2617994f) < 1e-6f);
        QCOMPARE(fromSensor.rotationMatrix(), up);
    }

    // Over a grid of angles, poles included: the matrix is the composition, and reading the
    // angles back from it gives the same view.
    void matrixAndAnglesRoundTrip()
    {
        for (int y = -12; y <= 12; ++y) {
            for (int p = -6; p <= 6; ++p) {
                HGlobalObject source(&settings);
                openAllPitches(source);
                source.setYaw(float(y * pi / 12.5), true);
                source.setPitch(float(p * pi / 12), true);
                const QString where = QString("yaw %1 pitch %2").arg(source.yaw()).arg(source.pitch());
                QVERIFY2(near(source.rotationMatrix(), composed(source.yaw(), source.pitch(), 0)),
                         qPrintable(where));

                HGlobalObject target(&settings);
                openAllPitches(target);
                target.setRotationMatrix(source.rotationMatrix(), true);
                const double yawError = std::remainder(double(target.yaw()) - double(source.yaw()), 2 * pi);
                QVERIFY2(std::abs(yawError) < 1e-5, qPrintable(where + " -> yaw " + exact(target.yaw())));
                QVERIFY2(std::abs(target.pitch() - source.pitch()) < 1e-5f,
                         qPrintable(where + " -> pitch " + exact(target.pitch())));
            }
        }
    }

    void touchModeFirstStart_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addRow("first start") << QVariant();
        QTest::addRow("stored false") << QVariant(false);
    }
    void touchModeFirstStart()
    {
        QFETCH(QVariant, stored);
        HSettingsManager store(QSettings::UserScope, "Zelmo",
                               QString("touch %1").arg(QTest::currentDataTag()));
        if (stored.isValid()) {
            store.setValue("application/touchMode", stored);
        }
        const bool expected = stored.isValid() ? stored.toBool() : true;
        HGlobalObject object(&store);
        QCOMPARE(object.touchMode(), expected);
        object.setTouchMode(!expected); // not written back
        store.sync();
        QCOMPARE(QSettings(store.fileName(), QSettings::NativeFormat).value("application/touchMode"),
                 QVariant(expected));
    }
};

QTEST_MAIN(TestGlobalObject)
#include "tst_globalobject.moc"
