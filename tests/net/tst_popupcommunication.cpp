#include "app/Application.h"
#include "net/HUdpSocket.h"

#include <QKeyEvent>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtTest>

#include <memory>

namespace {
const QStringList settingKeys{"application/communication/state",      "application/communication/ipMode",
                              "application/communication/ipCustom",   "application/communication/port",
                              "application/communication/rate",       "application/communication/urlMode",
                              "application/communication/orientation"};
const QUrl popupUrl("qrc:/qml/popup/PopupSoftwareCommunication.qml");
} // namespace

// Stands in for hGlobalObject's settings bridge: answers from a fixed set of stored values and
// records every write in order.
class SettingsBridge : public QObject
{
    Q_OBJECT

public:
    QVariantMap stored;
    QStringList writtenKeys;
    QVariantList writtenValues;

    Q_INVOKABLE QVariant getSetting(const QString& key, const QVariant& defaultValue) const
    {
        return stored.value(key, defaultValue);
    }
    Q_INVOKABLE void setSetting(const QString& key, const QVariant& value)
    {
        writtenKeys << key;
        writtenValues << value;
    }
};

// The settings popup of screen synchronisation, on its own and as the main scene loads it.
class TestPopupCommunication : public QObject
{
    Q_OBJECT

private:
    QQmlEngine engine;
    SettingsBridge bridge;

    std::unique_ptr<QObject> createPopup()
    {
        QQmlComponent component(&engine, popupUrl, QQmlComponent::PreferSynchronous);
        std::unique_ptr<QObject> popup(component.create());
        if (!popup) {
            qWarning().noquote() << component.errorString();
        }
        return popup;
    }

    // By object name, among children and among visual children (what a Repeater makes is only the
    // latter).
    static QObject* child(QObject* root, const QString& name)
    {
        QList<QObject*> pending{root};
        while (!pending.isEmpty()) {
            QObject* object = pending.takeFirst();
            if (object->objectName() == name) {
                return object;
            }
            pending += object->children();
            if (auto item = qobject_cast<QQuickItem*>(object)) {
                for (QQuickItem* visual : item->childItems()) {
                    pending << visual;
                }
            }
        }
        qFatal("no %s in the popup", qPrintable(name));
    }

private slots:
    void initTestCase()
    {
        Application::registerQmlTypes();
        engine.rootContext()->setContextProperty("hGlobalObject", &bridge);
    }

    void init()
    {
        bridge.stored.clear();
        bridge.writtenKeys.clear();
        bridge.writtenValues.clear();
    }

    // Each edit is "objectName.property" = value, or "objectName.clicked" for a click.
    void saveWritesTheSevenSettingsInOrder_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QVariantMap>("edits");
        QTest::addColumn<QVariantList>("written");
        const QVariantMap custom{{settingKeys[0], "master"},   {settingKeys[1], "custom"},
                                 {settingKeys[2], "10.0.0.7"}, {settingKeys[3], 9000},
                                 {settingKeys[4], 40},         {settingKeys[5], 2},
                                 {settingKeys[6], false}};
        QTest::addRow("fresh profile")
            << QVariantMap() << QVariantMap()
            << QVariantList{"off", "localhost", HUdpSocket::defaultCustomAddress(), 7755, 20, 0, true};
        QTest::addRow("empty third octet")
            << QVariantMap{{settingKeys[0], "master"},
                           {settingKeys[1], "custom"},
                           {settingKeys[2], "192.168.5.20"}}
            << QVariantMap{{"octet2.text", ""}}
            << QVariantList{"master", "custom", "192.168.0.20", 7755, 20, 0, true};
        QTest::addRow("port beyond 16 bits")
            << custom << QVariantMap{{"portSpinBox.value", 999999}}
            << QVariantList{"master", "custom", "10.0.0.7", 65535, 40, 2, false};
        // The configuration group is disabled then, and still written as stored.
        QTest::addRow("switched off") << custom << QVariantMap{{"stateOff.clicked", true}}
                                      << QVariantList{"off", "custom", "10.0.0.7", 9000, 40, 2, false};
        QTest::addRow("switched to slave, movies, no orientation")
            << QVariantMap()
            << QVariantMap{{"stateSlave.clicked", true},
                           {"urlModeMovies.clicked", true},
                           {"orientationOff.clicked", true}}
            << QVariantList{"slave", "localhost", HUdpSocket::defaultCustomAddress(), 7755, 20, 1, false};
    }
    void saveWritesTheSevenSettingsInOrder()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QVariantMap, edits);
        QFETCH(QVariantList, written);
        bridge.stored = stored;
        QSignalSpy warnings(&engine, &QQmlEngine::warnings);
        std::unique_ptr<QObject> popup = createPopup();
        QVERIFY(popup);
        QSignalSpy closed(popup.get(), SIGNAL(close()));
        for (auto edit = edits.cbegin(); edit != edits.cend(); ++edit) {
            const QStringList parts = edit.key().split('.');
            QObject* target = child(popup.get(), parts[0]);
            if (parts[1] == "clicked") {
                QVERIFY(QMetaObject::invokeMethod(target, "clicked"));
            } else {
                QVERIFY(target->setProperty(qPrintable(parts[1]), edit.value()));
            }
        }
        QVERIFY(bridge.writtenKeys.isEmpty());

        QVERIFY(QMetaObject::invokeMethod(child(popup.get(), "saveButton"), "clicked"));
        QCOMPARE(bridge.writtenKeys, settingKeys);
        QCOMPARE(bridge.writtenValues, written);
        QCOMPARE(closed.size(), 1);
        // On its own, without the scene's message dialog, the popup saves without a script error.
        QCOMPARE(warnings.size(), 0);
    }

    void keysClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("closes");
        QTest::addRow("Escape") << int(Qt::Key_Escape) << 1;
        QTest::addRow("Return") << int(Qt::Key_Return) << 1;
        QTest::addRow("Enter") << int(Qt::Key_Enter) << 1;
        QTest::addRow("a letter") << int(Qt::Key_A) << 0;
    }
    void keysClose()
    {
        QFETCH(int, key);
        QFETCH(int, closes);
        std::unique_ptr<QObject> popup = createPopup();
        QVERIFY(popup);
        QSignalSpy closed(popup.get(), SIGNAL(close()));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        press.ignore();
        QCoreApplication::sendEvent(popup.get(), &press);
        QCOMPARE(closed.size(), closes);
        // No key reaches the scene behind the popup.
        QVERIFY(press.isAccepted());
        QVERIFY(bridge.writtenKeys.isEmpty());
    }

    // In the main scene the restart message goes to the scene's message dialog.
    void restartMessage()
    {
        QSignalSpy warnings(&engine, &QQmlEngine::warnings);
        QQmlComponent scene(&engine);
        scene.setData("import QtQuick 2.0\n"
                      "FocusScope {\n"
                      "    id: root\n"
                      "    property var shown: []\n"
                      "    function onDisplayMessage(message, icon) { shown = shown.concat([message]) }\n"
                      "    Loader { objectName: \"host\"; focus: true; source: \"" +
                          popupUrl.toString().toUtf8() +
                          "\" }\n"
                          "}\n",
                      QUrl("qrc:/test/scene.qml"));
        std::unique_ptr<QObject> root(scene.create());
        QVERIFY2(root, qPrintable(scene.errorString()));
        QObject* popup = child(root.get(), "host")->property("item").value<QObject*>();
        QVERIFY(popup);
        QVERIFY(QMetaObject::invokeMethod(child(popup, "saveButton"), "clicked"));
        QCOMPARE(root->property("shown").toStringList(),
                 QStringList{"You must restart to apply modifications on UDP communication."});
        QCOMPARE(bridge.writtenKeys, settingKeys);
        QCOMPARE(warnings.size(), 0);
    }
};

QTEST_MAIN(TestPopupCommunication)
#include "tst_popupcommunication.moc"
