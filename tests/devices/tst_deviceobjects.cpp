#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HOculus.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtTest>

#include <memory>

// The device objects that are not supported here, as the interface sees them from QML.
class TestDeviceObjects : public QObject
{
    Q_OBJECT

private:
    HOculus oculus;
    HLeap leap;
    HDisplay display;
    QQmlEngine engine;

    // Runs a QML snippet with the objects published as start-up publishes them.
    QVariant evaluate(const QString& expression)
    {
        QQmlComponent component(&engine);
        component.setData(("import QtQml 2.0\nQtObject { function run() { " + expression + " } }").toUtf8(),
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        if (!object) {
            qWarning().noquote() << component.errorString();
            return QVariant();
        }
        QVariant result;
        QMetaObject::invokeMethod(object.get(), "run", Q_RETURN_ARG(QVariant, result));
        return result;
    }

private slots:
    void initTestCase()
    {
        engine.rootContext()->setContextProperty("hOculus", &oculus);
        engine.rootContext()->setContextProperty("hLeap", &leap);
        engine.rootContext()->setContextProperty("hDisplay", &display);
    }

    void startState()
    {
        QCOMPARE(evaluate("return [hOculus.available, hLeap.available, hDisplay.available,"
                          " hOculus.isSupported(), hLeap.isSupported(), hDisplay.isSupported()]"
                          ".some(function (v) { return v !== false })"),
                 QVariant(false));
        QCOMPARE(evaluate("return hDisplay.logMessage"),
                 QVariant("Other display screen is not supported on this platform."));
        QCOMPARE(evaluate("return hDisplay.userMessage"),
                 QVariant("Other display screen is not supported on this platform."));
        QCOMPARE(evaluate("return hOculus.logMessage"),
                 QVariant("Head-mounted display is not supported on this platform."));
        QCOMPARE(evaluate("return hLeap.logMessage"),
                 QVariant("Hand tracking is not supported on this platform."));
        QCOMPARE(evaluate("return hLeap.logLink"), QVariant(""));
    }

    void writesFromQml_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("readBack");
        // The device objects that cannot be switched on ignore every write.
        QTest::addRow("hOculus.activated") << "hOculus"
                                           << "activated" << QVariant(true) << QVariant(false);
        QTest::addRow("hOculus.available") << "hOculus"
                                           << "available" << QVariant(true) << QVariant(false);
        QTest::addRow("hLeap.activated") << "hLeap"
                                         << "activated" << QVariant(true) << QVariant(false);
        QTest::addRow("hDisplay.activated") << "hDisplay"
                                            << "activated" << QVariant(true) << QVariant(false);
        // The display's texts and state flags are QML's to set.
        QTest::addRow("hDisplay.logMessage")
            << "hDisplay"
            << "logMessage" << QVariant("Searching") << QVariant("Searching");
        QTest::addRow("hDisplay.userMessage")
            << "hDisplay"
            << "userMessage" << QVariant("Try again") << QVariant("Try again");
        QTest::addRow("hDisplay.processing") << "hDisplay"
                                             << "processing" << QVariant(true) << QVariant(true);
        QTest::addRow("hDisplay.failed") << "hDisplay"
                                         << "failed" << QVariant(true) << QVariant(true);
    }
    void writesFromQml()
    {
        QFETCH(QString, object);
        QFETCH(QString, property);
        QFETCH(QVariant, written);
        QFETCH(QVariant, readBack);
        QObject* target = engine.rootContext()->contextProperty(object).value<QObject*>();
        const QByteArray signal = '2' + property.toLatin1() + "Changed()";
        QSignalSpy spy(target, signal.constData());
        QVERIFY(spy.isValid());
        const QVariant before = target->property(property.toLatin1());

        const QString literal =
            written.type() == QVariant::Bool ? written.toString() : '"' + written.toString() + '"';
        const QString access = object + '.' + property;
        QCOMPARE(evaluate(access + " = " + literal + "; return " + access), readBack);
        QCOMPARE(spy.count(), readBack == before ? 0 : 1);
        // The same value again changes nothing.
        evaluate(access + " = " + literal);
        QCOMPARE(spy.count(), readBack == before ? 0 : 1);
    }
};

QTEST_MAIN(TestDeviceObjects)

#include "tst_deviceobjects.moc"
