#include "FakeHttpServer.h"
#include "TestCertificateAuthority.h"
#include "app/Application.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "net/HHostingManager.h"
#include "session/HGlobalObject.h"
#include "session/HScreenPlace.h"

#include <QImage>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

// The real program's window, in this process: the controls that the media and the playlist call
// for, the title, which of the shortcut overlay and the bar's panels is up, and what the hosting
// popup shows of a failed login.
class TestControls : public QObject
{
    Q_OBJECT

public:
    // The hosting service's loopback stand-in, trusted, made before the program.
    FakeHttpServer* hosting = nullptr;

    QQuickView* view = nullptr;
    HGlobalObject* global = nullptr;
    QTemporaryDir media;

    QQuickItem* item(const char* name) const { return view->rootObject()->findChild<QQuickItem*>(name); }
    bool shown(const char* name) const { return item(name) && item(name)->isVisible(); }
    QString state(const char* name) const { return item(name)->property("state").toString(); }
    QString path(const char* name) const { return media.filePath(name); }

    // A press where the bar's button `name` stands, whether the bar is up or out of sight.
    void pressBar(const char* name) const
    {
        const QQuickItem* button = item(name);
        const QPointF centre = button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(int(centre.x()), view->height() - 20));
    }

private slots:
    void initTestCase()
    {
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            view = view ? view : qobject_cast<QQuickView*>(window);
        }
        QVERIFY(view && view->rootObject());
        global = qobject_cast<HGlobalObject*>(
            view->rootContext()->contextProperty("hGlobalObject").value<QObject*>());
        QVERIFY(global);
        QVERIFY(media.isValid());
        for (const auto& [name, colour] :
             {std::pair{"first.png", qRgb(200, 40, 40)}, {"second.png", qRgb(40, 200, 40)}}) {
            QImage photo(512, 256, QImage::Format_RGB32);
            photo.fill(colour);
            QVERIFY(photo.save(path(name)));
        }
        view->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(view));
        // The greeting goes by itself.
        QTRY_COMPARE_WITH_TIMEOUT(view->rootObject()->property("state").toString(), QString("Video"), 10000);
    }

    // Each row opens its files, then steps on with Right through `titles`: the controls follow
    // every entry, and the last step wraps round to the first.
    void controlsFitTheMedia_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("arrows");
        const QString clip = GYRE_SAMPLE_MEDIA_DIR "/sample-360-band-stacked.mp4";
        const QString clipName = "sample-360-band-stacked.mp4";
        QTest::addRow("one photo") << QStringList{path("first.png")} << QStringList{"first.png", "first.png"}
                                   << false;
        QTest::addRow("one video") << QStringList{clip} << QStringList{clipName} << false;
        QTest::addRow("two photos") << QStringList{path("second.png"), path("first.png")}
                                    << QStringList{"second.png", "first.png", "second.png"} << true;
        QTest::addRow("a video, then a photo")
            << QStringList{clip, path("first.png")} << QStringList{clipName, "first.png", clipName} << true;
    }
    void controlsFitTheMedia()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, titles);
        QFETCH(bool, arrows);
        global->openFiles(files, true);
        for (int step = 0; step < titles.size(); ++step) {
            if (step > 0) {
                QTest::keyClick(view, Qt::Key_Right);
            }
            const QString& title = titles.at(step);
            QTRY_COMPARE(view->title(), "Gyre Player - " + title);
            if (title.endsWith(".png")) {
                // The photo itself is drawn, not only named.
                const QRgb colour = title == "first.png" ? qRgb(200, 40, 40) : qRgb(40, 200, 40);
                QTRY_COMPARE(view->grabWindow().pixel(100, 100), colour);
            }
            const bool transport = title.endsWith(".mp4");
            for (const char* name :
                 {"playPauseButton", "positionText", "timelineSlider", "durationText", "soundButton"}) {
                QVERIFY2(shown(name) == transport, name);
            }
            QCOMPARE(shown("previousButton"), arrows);
            QCOMPARE(shown("nextButton"), arrows);
        }
    }

    void onePanelAtATime()
    {
        QMetaObject::invokeMethod(view->rootObject(), "changeState", Q_ARG(QVariant, "Video"),
                                  Q_ARG(QVariant, ""));
        QTest::keyClick(view, Qt::Key_H);
        QVERIFY(shown("help"));
        // The bar is out of sight: the first press on its menu button opens the menu.
        pressBar("menuButton");
        QCOMPARE(state("menuList"), QString("Shown"));
        QVERIFY(!shown("help"));
        QTest::keyClick(view, Qt::Key_H);
        QVERIFY(shown("help"));
        QCOMPARE(state("menuList"), QString("Hidden"));

        // Escape: the panel first, then full screen.
        view->showFullScreen();
        QTRY_VERIFY(view->windowStates() & Qt::WindowFullScreen);
        pressBar("effectsButton");
        QCOMPARE(state("effectsList"), QString("Shown"));
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(state("effectsList"), QString("Hidden"));
        QVERIFY(view->windowStates() & Qt::WindowFullScreen);
        QTest::keyClick(view, Qt::Key_Escape);
        QTRY_VERIFY(!(view->windowStates() & Qt::WindowFullScreen));
    }

    // A login that fails by an error answer, a reset or a stall: every text in the window (the
    // popup's message among them) is free of the password, which the field masks.
    void failedLoginShowsNoSecret_data()
    {
        QTest::addColumn<int>("status"); // 0: reset; -1: no answer within the 2 s timeout
        QTest::addRow("500") << 500;
        QTest::addRow("reset") << 0;
        QTest::addRow("stall") << -1;
    }
    void failedLoginShowsNoSecret()
    {
        QFETCH(int, status);
        const QString password = "Hush-9/x";
        const QString path = "/api/public/token/ana/Hush-9%2Fx";
        if (status == 0) {
            hosting->reset(path);
        } else if (status < 0) {
            hosting->hold(path);
        } else {
            hosting->queueResponse(path, status, "{}");
        }
        QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "onDisplayPopup",
                                          Q_ARG(QVariant, "qrc:/qml/popup/PopupHostingConnection.qml"),
                                          Q_ARG(QVariant, "Popup")));
        // The popup loads asynchronously: its bindings settle after its items exist.
        QTRY_VERIFY(item("passwordInput") && item("passwordInput")->property("input").value<QQuickItem*>());
        QQuickItem* field = item("passwordInput")->property("input").value<QQuickItem*>();
        QTRY_COMPARE(field->property("echoMode").toInt(), 2); // TextInput.Password
        auto* hostingManager = qobject_cast<HHostingManager*>(
            view->rootContext()->contextProperty("hHostingManager").value<QObject*>());
        QSignalSpy responses(hostingManager, &HHostingManager::requestResponse);
        hostingManager->requestConnection("ana", password);
        QTRY_COMPARE_WITH_TIMEOUT(responses.size(), 1, 5000);
        QTRY_VERIFY(!item("messageText")->property("text").toString().isEmpty());
        const QList<QQuickItem*> items = view->rootObject()->findChildren<QQuickItem*>();
        for (const QQuickItem* shown : items) {
            const QString text = shown->property("text").toString();
            QVERIFY2(!text.contains(password) && !text.contains("Hush-9%2Fx"), qPrintable(text));
        }
        QTest::keyClick(view, Qt::Key_Escape); // the message
        QTest::keyClick(view, Qt::Key_Escape); // the popup
        QTRY_VERIFY(!item("passwordInput"));
        hosting->release(path);
    }

    // The synchronisation popup's screen place: Save applies it at once (no restart) and keeps it;
    // opened again, the popup shows it; out-of-range values are brought into range.
    void screenPlaceIsSavedAndApplied()
    {
        const auto open = [this] {
            return QMetaObject::invokeMethod(view->rootObject(), "onDisplayPopup",
                                             Q_ARG(QVariant, "qrc:/qml/popup/PopupSoftwareCommunication.qml"),
                                             Q_ARG(QVariant, "Popup")) &&
                   // Its items exist before it is loaded; it answers once it has come in.
                   QTest::qWaitFor(
                       [this] { return item("popupLoader")->property("scale").toDouble() == 1.0; }, 5000);
        };
        QVERIFY(open());
        const std::pair<const char*, double> chosen[] = {{"yawOffset", 90},     {"pitchOffset", -15},
                                                         {"rollOffset", 5},     {"fov", 90},
                                                         {"domeAperture", 210}, {"domeTilt", 25}};
        for (const auto& [name, value] : chosen) {
            QVERIFY(item(name)->setProperty("value", value));
        }
        QVERIFY(QMetaObject::invokeMethod(item("saveButton"), "clicked"));
        QTRY_VERIFY(!item("domeTilt"));
        // The note that synchronisation itself changes at the next start.
        QObject* message = view->rootObject()->findChild<QObject*>("messageDialog");
        QVERIFY(message && QMetaObject::invokeMethod(message, "close"));
        HScreenPlace* place = global->screenPlace();
        for (const auto& [name, value] : chosen) {
            QCOMPARE(place->property(name).toDouble(), value);
        }
        QCOMPARE(global->getSetting("application/communication/yawOffset").toDouble(), 90.0);
        QCOMPARE(global->getSetting("view/domeAperture").toDouble(), 210.0);
        QVERIFY(open());
        QCOMPARE(item("fov")->property("value").toDouble(), 90.0);
        QVERIFY(QMetaObject::invokeMethod(item("closeButton"), "clicked"));
        QTRY_VERIFY(!item("domeTilt"));

        for (const char* name : {"yawOffset", "pitchOffset", "rollOffset", "fov", "domeTilt"}) {
            place->setProperty(name, 0.0);
        }
        place->setDomeAperture(180);
    }
};

int main(int argc, char** argv)
{
    HSettingsManager settings(QSettings::UserScope, ProductInfo::organizationName(),
                              ProductInfo::settingsApplicationName());
    // The program's own command line, which opens nothing; the test's arguments are the test's.
    int programArgc = 1;
    std::vector<char*> programArgv{argv[0], nullptr};
    Application app(programArgc, programArgv.data(), &settings);
    TestCertificateAuthority pki;
    FakeHttpServer hosting;
    if (!pki.create() || !hosting.listen(pki.serverCertificate(), pki.serverKey())) {
        qFatal("no loopback HTTPS server: %s", qPrintable(pki.error()));
    }
    pki.trust(true);
    qputenv("GYRE_HOSTING_API", (hosting.baseUrl().toString() + "api/").toUtf8());
    settings.setValue("application/hosting/timeout", 2);
    app.setup();
    TestControls test;
    test.hosting = &hosting;
    const int result = QTest::qExec(&test, argc, argv);
    app.tearDown();
    return result;
}

#include "tst_controls.moc"
