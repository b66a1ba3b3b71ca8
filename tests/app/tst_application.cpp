#include "FakeHttpServer.h"
#include "app/Application.h"
#include "app/HQQuickView.h"
#include "app/HSettingsManager.h"
#include "app/ProductInfo.h"
#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HOculus.h"
#include "devices/HSensor.h"
#include "net/HHostingManager.h"
#include "net/HUdpSocket.h"
#include "net/VideosListModel.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "session/HGlobalObject.h"

#include "video/HVideoPlugin.h"
#include "video/HuiQuickVideoPlayerVlc.h"
#include <QDir>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlError>
#include <QUdpSocket>
#include <QtTest>

namespace {
// The folder the test was started from, before it made the program's folder current as main() does.
QString launchDirectory;
// The demo start's slave listens here, a port nothing else used when the test started.
quint16 slavePort = 0;
} // namespace

// The whole start-up and tear-down in one process, as the player runs them. Built three times:
// started with no argument, with --demo, the other options and one file, and with three files.
class TestApplication : public QObject
{
    Q_OBJECT

public:
    TestApplication(Application& application, HSettingsManager& store, FakeHttpServer& updateServer)
        : app(application), settings(store), updates(updateServer)
    {
    }

private:
    static bool demoStart()
    {
#ifdef GYRE_TEST_DEMO_START
        return true;
#else
        return false;
#endif
    }

    static bool playlistStart()
    {
#ifdef GYRE_TEST_PLAYLIST_START
        return true;
#else
        return false;
#endif
    }

    static int gpuMaxTextureSize()
    {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        if (!context.create() || !context.makeCurrent(&surface)) {
            return -1;
        }
        GLint size = 0;
        context.functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        return size;
    }

    Application& app;
    HSettingsManager& settings;
    FakeHttpServer& updates;
    bool hardwareDecoding = false;

private slots:
    void initTestCase()
    {
        app.setup(&hardwareDecoding);
        QVERIFY(app.mainWindow());
        QVERIFY(app.mainWindow()->errors().isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(app.mainWindow()));
    }

    void commandLineReachesTheWindow()
    {
        HQQuickView* window = app.mainWindow();
        if (demoStart()) {
            QCOMPARE(app.commandLine().value("udp").toString(), QString("slave"));
            QCOMPARE(app.commandLine().value("oculus").toBool(), true);
            QCOMPARE(app.commandLine().value("files").toStringList(), QStringList{"first.jpg"});
        } else if (playlistStart()) {
            QCOMPARE(app.commandLine().value("udp").toString(), QString());
            QCOMPARE(app.commandLine().value("files").toStringList(),
                     (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        } else {
            QVERIFY(app.commandLine().isEmpty());
        }
        QCOMPARE(window->demoMode(), demoStart());
        QCOMPARE(window->fullScreen(), demoStart());
        QCOMPARE(window->windowState() == Qt::WindowFullScreen, demoStart());
    }

    // The last step of the set-up opens the files, named relative to the folder the program was
    // started in, not to the program's folder that start-up makes current.
    void commandLineFilesAreOpened()
    {
        HGlobalObject* global = app.globalObject();
        if (playlistStart()) {
            QVERIFY(QDir::currentPath() != launchDirectory);
            const QDir photos(launchDirectory);
            QCOMPARE(global->playList(), (QList<QUrl>{QUrl::fromLocalFile(photos.filePath("a.jpg")),
                                                      QUrl::fromLocalFile(photos.filePath("b.jpg")),
                                                      QUrl::fromLocalFile(photos.filePath("c.jpg"))}));
            QCOMPARE(global->playListIndex(), 0);
            QVERIFY(!global->playListIsEmpty());
        } else {
            // One file opens on its own, without a playlist. "first.jpg" does not exist: nothing
            // here looks, the media loader is the one that finds out.
            QVERIFY(global->playList().isEmpty());
            QCOMPARE(global->playListIndex(), -1);
        }
    }

    void windowShape()
    {
        HQQuickView* window = app.mainWindow();
        // The media loader names the media it opened from the command line.
        QString title = "Gyre Player";
        if (demoStart()) {
            title += " - " + QUrl::fromLocalFile(QDir(launchDirectory).filePath("first.jpg")).toString();
        } else if (playlistStart()) {
            title += " - " + QUrl::fromLocalFile(QDir(launchDirectory).filePath("a.jpg")).toString();
        }
        QCOMPARE(window->QWindow::title(), title);
        QCOMPARE(window->minimumSize(), QSize(1200, 200));
        QVERIFY(window->flags() & Qt::WindowFullscreenButtonHint);
        QCOMPARE(window->resizeMode(), QQuickView::SizeRootObjectToView);
        QCOMPARE(window->rootContext()->contextProperty("hView").value<QObject*>(), window);
        QCOMPARE(QCoreApplication::organizationName(), QString("Zelmo"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Gyre Player 1.0"));
    }

    // The core objects reach QML as context properties under the names the scene uses; the
    // enumeration holders cannot be made from QML.
    void coreObjectsArePublished()
    {
        QQmlContext* context = app.mainWindow()->rootContext();
        const QList<QPair<const char*, QObject*>> published{
            {"hGlobalObject", app.globalObject()},
            {"hShaderCodeBuilder", app.shaderCodeBuilder()},
            {"hOculus", app.oculusObject()},
            {"hLeap", app.leapObject()},
            {"hSensor", app.orientationSensor()},
            {"hDisplay", app.displayObject()},
            {"hHostingManager", app.hostingClient()},
            {"hTextureProvider", app.textureProvider()},
            {"videosListModel", app.hostingClient()->videosListModel()}};
        for (const auto& [name, object] : published) {
            QVERIFY2(object, name);
            QCOMPARE(context->contextProperty(name).value<QObject*>(), object);
        }
        // Whatever sensors the machine has, the sensor is the platform's own.
        QVERIFY(app.orientationSensor()->isSupported());
        QVERIFY(!app.textureProvider()->isSharedMemory());

        QQmlComponent instance(app.mainWindow()->engine());
        instance.setData("import Veyrix 1.0\nHShaderCodeBuilder {}", QUrl());
        QVERIFY(instance.isError());
        QVERIFY2(instance.errorString().contains("Enums only"), qPrintable(instance.errorString()));
    }

    void videoBackEndIsPublished()
    {
        HVideoPlugin* plugin = app.videoPlugin();
        QVERIFY(plugin);
        QCOMPARE(app.mainWindow()->rootContext()->contextProperty("hVideoPlugin").value<QObject*>(), plugin);
        QCOMPARE(plugin->getCurrentPlugin(), QString("vlc"));
        // The selector works on main()'s flag itself, and the video item reads that same flag.
        QCOMPARE(HuiQuickVideoPlayerVlc::hardwareDecodingFlag(), &hardwareDecoding);
        plugin->setCurrentPlugin("vlc_hw");
        QCOMPARE(hardwareDecoding, true);
        plugin->setCurrentPlugin("vlc");
        QCOMPARE(hardwareDecoding, false);
    }

    // "-u slave" beats the stored "master" for this run only; without the option the stored role (none
    // here) leaves synchronisation off.
    void udpRoleComesFromTheCommandLine()
    {
        HUdpSocket* udp = app.udpSynchroniser();
        QVERIFY(udp);
        QCOMPARE(udp->isSlave(), demoStart());
        QCOMPARE(udp->isMaster(), false);
        if (demoStart()) {
            QCOMPARE(udp->socket()->localPort(), slavePort);
            QCOMPARE(settings.value("application/communication/state", QString()).toString(),
                     QString("master"));
        } else {
            QVERIFY(!udp->socket());
        }
    }

    void titles_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("title");
        QTest::addRow("nothing shown") << ""
                                       << "Gyre Player";
        QTest::addRow("a file") << "file:///home/ana/Videos/reef 360.mp4"
                                << "Gyre Player - file:///home/ana/Videos/reef 360.mp4";
        QTest::addRow("a stream") << "https://example.org/live.m3u8"
                                  << "Gyre Player - https://example.org/live.m3u8";
    }
    void titles()
    {
        QFETCH(QString, source);
        QFETCH(QString, title);
        HQQuickView* window = app.mainWindow();
        window->updateTitle(source);
        QCOMPARE(window->QWindow::title(), title);
        QCOMPARE(window->HQQuickView::title(), QString("Gyre Player 1.0.0"));
    }

    void maxTextureSizeIsHalfTheGpuLimit()
    {
        const int limit = gpuMaxTextureSize();
        QVERIFY(limit > 0);
        HQQuickView* window = app.mainWindow();
        QTRY_COMPARE(window->maxTextureSize(), QSize(limit / 2, limit / 2));
    }

    void framesAreCounted()
    {
        HQQuickView* window = app.mainWindow();
        QSignalSpy spy(window, &HQQuickView::fpsChanged);
        // Keep the scene drawing for a little over a second.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 1300) {
            window->update();
            QTest::qWait(20);
        }
        QVERIFY(window->fps() >= 1);
        QVERIFY(spy.count() >= 1);
    }

    void fullScreenFollowsTheWindowState()
    {
        HQQuickView* window = app.mainWindow();
        QSignalSpy spy(window, &HQQuickView::fullScreenChanged);
        const bool startedFullScreen = window->fullScreen();

        // As the window manager would: the state changes without fullScreenMode() being asked.
        window->setWindowState(startedFullScreen ? Qt::WindowNoState : Qt::WindowFullScreen);
        QTRY_COMPARE(window->fullScreen(), !startedFullScreen);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(window->demoMode(), demoStart());

        window->fullScreenMode(startedFullScreen);
        QTRY_COMPARE(window->fullScreen(), startedFullScreen);
        window->fullScreenMode(startedFullScreen);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(window->demoMode(), demoStart());
    }

    void updateCheckReachesQml()
    {
        HQQuickView* window = app.mainWindow();
        QSignalSpy popups(window, &HQQuickView::displayPopup);
        QSignalSpy messages(window, &HQQuickView::displayMessage);
        QVERIFY(!window->isNewVersionAvailable());

        updates.setResponse("/hvd_zelmo/stable/version", 200, "1.0.1.400_2014-06-01");
        updates.setResponse("/hvd_zelmo/stable/changelog", 200, "<ul><li>Faster 8K</li></ul>");
        window->checkUpdate();
        QTRY_COMPARE(popups.size(), 1);
        QCOMPARE(popups.at(0).at(0).toString(), QString("qrc:/qml/popup/PopupUpdateAvailable.qml"));
        QVERIFY(window->isNewVersionAvailable());
        QCOMPARE(window->newVersion(), QString("1.0.1"));
        QCOMPARE(window->newVersionDate(), QDate(2014, 6, 1).toString(Qt::TextDate));
        QCOMPARE(window->newChangeLog(), QString("<ul><li>Faster 8K</li></ul>"));
        const QString channel = updates.baseUrl().toString() + "hvd_zelmo/stable/";
        QVERIFY(window->urlDownload().startsWith(channel));
        QCOMPARE(window->urlHistory(), channel + "history?src=hvd_zelmo/1.0.0.400");

        // Once there is nothing newer, a manual check says so with the window's title.
        updates.setResponse("/hvd_zelmo/stable/version", 200, "1.0.0.400_2014-01-01");
        QTRY_VERIFY(!window->updateManager()->isRunning());
        window->checkUpdate();
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).at(0).toString(),
                 QString("There is no update for this product.\nYour are already running the most up to "
                         "date version : Gyre Player 1.0.0."));
        QCOMPARE(popups.size(), 1);

        // The scene shows it in its message dialog, which holds the window until it is closed.
        QObject* dialog = window->rootObject()->findChild<QObject*>("messageDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("visible").toBool());
        QMetaObject::invokeMethod(dialog, "close");
        QTRY_VERIFY(!dialog->property("visible").toBool());
    }

    // Last: closing the window ends the event loop, and tear-down stores the decoding flag.
    void closingEndsTheLoopAndStoresTheFlag()
    {
        QVERIFY(!settings.contains("vlc/hardwareDecoding"));
        hardwareDecoding = true;
        QTimer::singleShot(0, app.mainWindow(), &QWindow::close);
        QCOMPARE(app.exec(), 0);
        app.tearDown();
        QVERIFY(!app.mainWindow());
        QVERIFY(!app.globalObject());
        QVERIFY(!app.shaderCodeBuilder());
        QVERIFY(!app.videoPlugin());
        QVERIFY(!app.textureProvider());
        QVERIFY(!app.udpSynchroniser());
        QCOMPARE(HuiQuickVideoPlayerVlc::hardwareDecodingFlag(), nullptr);

        settings.sync();
        QSettings stored(settings.fileName(), QSettings::NativeFormat);
        // The first-start keys of the core objects, the back end and the update check made above,
        // and the flag; the demo start stored its synchronisation settings itself.
        QStringList keys{"application/playlist/imageDisplayDuration",
                         "application/sharedmemory",
                         "application/touchMode",
                         "application/videoPlugin",
                         "general/last_update_check",
                         "vlc/hardwareDecoding"};
        if (demoStart()) {
            keys.prepend("application/communication/state");
            keys.prepend("application/communication/port");
        }
        QCOMPARE(stored.allKeys(), keys);
        QCOMPARE(stored.value("application/playlist/imageDisplayDuration").toInt(), 30000);
        QCOMPARE(stored.value("application/sharedmemory").toBool(), false);
        QCOMPARE(stored.value("application/touchMode").toBool(), true);
        QCOMPARE(stored.value("vlc/hardwareDecoding").toBool(), true);
    }
};

int main(int argc, char** argv)
{
    Q_UNUSED(argc)
    HSettingsManager store(QSettings::UserScope, ProductInfo::organizationName(),
                           ProductInfo::settingsApplicationName());
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
#ifdef GYRE_TEST_DEMO_START
    arguments << "--demo"
              << "-u"
              << "slave"
              << "--oculus"
              << "first.jpg";
#endif
#ifdef GYRE_TEST_PLAYLIST_START
    // Three photos named as typed in their own folder.
    QTemporaryDir photos;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        QFile photo(photos.filePath(name));
        if (!photo.open(QIODevice::WriteOnly)) {
            return 1;
        }
    }
    QDir::setCurrent(photos.path());
    arguments << "a.jpg"
              << "b.jpg"
              << "c.jpg";
#endif
    launchDirectory = QDir::currentPath();
    std::vector<QByteArray> storage;
    std::vector<char*> appArgv;
    for (const QString& argument : arguments) {
        storage.push_back(argument.toLocal8Bit());
    }
    for (QByteArray& bytes : storage) {
        appArgv.push_back(bytes.data());
    }
    appArgv.push_back(nullptr);
    int appArgc = int(storage.size());
    Application app(appArgc, appArgv.data(), &store);
    QDir::setCurrent(QCoreApplication::applicationDirPath()); // as main() does
    FakeHttpServer updates;
    if (!updates.listen()) {
        return 1;
    }
    qputenv("GYRE_UPDATE_SERVER", updates.baseUrl().toEncoded());
#ifdef GYRE_TEST_DEMO_START
    {
        QUdpSocket probe;
        probe.bind(QHostAddress::Any, 0, QUdpSocket::DontShareAddress);
        slavePort = probe.localPort();
    }
    store.setValue("application/communication/state", "master");
    store.setValue("application/communication/port", slavePort);
#endif
    TestApplication test(app, store, updates);
    // The test runner sees only the program name, so the player's own options don't confuse it.
    return QTest::qExec(&test, QStringList{QString::fromLocal8Bit(argv[0])} +
                                   QCoreApplication::arguments().mid(arguments.size()));
}
#include "tst_application.moc"
