#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HOculus.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtTest>

#include <memory>

// The device objects that this platform does not support, as the interface sees them from QML.
class TestDeviceObjects : public QObject
{
    Q_OBJECT

private:
    HOculus oculus;
    HLeap leap;
    HDisplay display;
    QQmlEngine engine;

    QVariant evaluate(const QString& body)
    {
        QQmlComponent component(&engine);
        component.setData(("import QtQml 2.0\nQtObject { function run() { " + body + " } }").toUtf8(),
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVariant result;
        if (object) {
            QMetaObject::invokeMethod(object.get(), "run", Q_RETURN_ARG(QVariant, result));
        }
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
        QCOMPARE(
            evaluate("return [hOculus.available, hLeap.available, hDisplay.available, hOculus.isSupported(),"
                     " hLeap.isSupported(), hDisplay.isSupported()].join()"),
            QVariant("false,false,false,false,false,false"));
        QCOMPARE(evaluate("return [hDisplay.logMessage, hDisplay.userMessage, hOculus.logMessage,"
                          " hLeap.logMessage, hLeap.logLink].join('|')"),
                 QVariant("Other display screen is not supported on this platform.|"
                          "Other display screen is not supported on this platform.|"
                          "Head-mounted display is not supported on this platform.|"
                          "Hand tracking is not supported on this platform.|"));
    }

    // What cannot be switched on ignores the writes; the display's texts are QML's to set.
    void writesFromQml_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("written"); // a QML literal
        QTest::addColumn<QVariant>("readBack");
        QTest::addRow("hOculus.activated") << "hOculus.activated"
                                           << "true" << QVariant(false);
        QTest::addRow("hOculus.available") << "hOculus.available"
                                           << "true" << QVariant(false);
        QTest::addRow("hDisplay.activated") << "hDisplay.activated"
                                            << "true" << QVariant(false);
        QTest::addRow("hDisplay.logMessage") << "hDisplay.logMessage"
                                             << "'Searching'" << QVariant("Searching");
    }
    void writesFromQml()
    {
        QFETCH(QString, property);
        QFETCH(QString, written);
        QFETCH(QVariant, readBack);
        const QStringList parts = property.split('.');
        QObject* target = engine.rootContext()->contextProperty(parts[0]).value<QObject*>();
        QSignalSpy spy(target, ('2' + parts[1] + "Changed()").toLatin1().constData());
        QVERIFY(spy.isValid());
        const int expectedSignals = target->property(qPrintable(parts[1])) == readBack ? 0 : 1;

        QCOMPARE(evaluate(property + " = " + written + "; return " + property), readBack);
        QCOMPARE(spy.count(), expectedSignals);
        evaluate(property + " = " + written); // the same value again announces nothing
        QCOMPARE(spy.count(), expectedSignals);
    }
};

QTEST_MAIN(TestDeviceObjects)

#include "tst_deviceobjects.moc"
