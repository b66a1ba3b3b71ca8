#include "app/Application.h"
#include "app/HQQuickView.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
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

#include <QQmlContext>
#include <QQuickItem>
#include <QUdpSocket>
#include <QtTest>

// The whole start-up and tear-down in one process, as the player runs them. Built three times:
// started with no argument, with --demo, the other options and one file, and with three files.
#if defined(GYRE_TEST_DEMO_START)
constexpr bool demoStart = true, playlistStart = false;
#elif defined(GYRE_TEST_PLAYLIST_START)
constexpr bool demoStart = false, playlistStart = true;
#else
constexpr bool demoStart = false, playlistStart = false;
#endif

namespace {
// The folder the test was started from, before it made the program's folder current as main() does.
QString launchDirectory;
// The demo start's slave listens here, a port nothing else used when the test started.
quint16 slavePort = 0;
} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

public:
    TestApplication(Application& application, HSettingsManager& store) : app(application), settings(store) {}

private:
    Application& app;
    HSettingsManager& settings;
    bool hardwareDecoding = false;

private slots:
    void initTestCase()
    {
        app.setup(&hardwareDecoding);
        QVERIFY(app.mainWindow());
        QVERIFY(app.mainWindow()->errors().isEmpty());
        QVERIFY(QTest::qWaitForWindowExposed(app.mainWindow()));
    }

    // Command-line files are opened last, named relative to the folder the program was started
    // in, not to the program's folder that start-up makes current; the media loader names the
    // first in the title. One file opens on its own, without a playlist ("first.jpg" does not
    // exist: the media loader is the one that finds out).
    void startState()
    {
        HQQuickView* window = app.mainWindow();
        QCOMPARE(app.commandLine().isEmpty(), !demoStart && !playlistStart);
        QCOMPARE(window->demoMode(), demoStart);
        QCOMPARE(window->fullScreen(), demoStart);
        QCOMPARE(window->windowState() == Qt::WindowFullScreen, demoStart);

        const QDir launch(launchDirectory);
        QList<QUrl> playlist;
        if (playlistStart) {
            QVERIFY(QDir::currentPath() != launchDirectory);
            for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
                playlist << QUrl::fromLocalFile(launch.filePath(name));
            }
        }
        QCOMPARE(app.globalObject()->playList(), playlist);
        QCOMPARE(app.globalObject()->playListIndex(), playlistStart ? 0 : -1);
        const QString opened = demoStart ? "first.jpg" : playlistStart ? "a.jpg" : "";
        QCOMPARE(window->QWindow::title(),
                 opened.isEmpty()
                     ? QString("Gyre Player")
                     : "Gyre Player - " + QUrl::fromLocalFile(launch.filePath(opened)).toString());
        QCOMPARE(window->minimumSize(), QSize(1200, 200));
        QCOMPARE(QCoreApplication::organizationName(), QString("Zelmo"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Gyre Player 1.0"));
    }

    // The core objects reach QML as context properties under the names the scene uses.
    // The selector works on main()'s flag itself, and the video item reads that same flag.
    void videoBackEndUsesTheProcessFlag()
    {
        HVideoPlugin* plugin = app.videoPlugin();
        QCOMPARE(plugin->getCurrentPlugin(), QString("vlc"));
        QCOMPARE(HuiQuickVideoPlayerVlc::hardwareDecodingFlag(), &hardwareDecoding);
        plugin->setCurrentPlugin("vlc_hw");
        QCOMPARE(hardwareDecoding, true);
        plugin->setCurrentPlugin("vlc");
        QCOMPARE(hardwareDecoding, false);

        // The restart message shows in the scene's message dialog, which holds the window (and
        // its closing) until it is closed.
        QObject* dialog = app.mainWindow()->rootObject()->findChild<QObject*>("messageDialog");
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->property("visible").toBool());
        QMetaObject::invokeMethod(dialog, "close");
        QTRY_VERIFY(!dialog->property("visible").toBool());
    }

    // "-u slave" beats the stored "master" for this run only; without the option the stored role (none
    // here) leaves synchronisation off.
    void udpRoleComesFromTheCommandLine()
    {
        HUdpSocket* udp = app.udpSynchroniser();
        QCOMPARE(udp->isSlave(), demoStart);
        QCOMPARE(udp->isMaster(), false);
        if (demoStart) {
            QCOMPARE(udp->socket()->localPort(), slavePort);
            QCOMPARE(settings.value("application/communication/state", QString()).toString(),
                     QString("master"));
        } else {
            QVERIFY(!udp->socket());
        }
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
        QCOMPARE(window->demoMode(), demoStart);

        window->fullScreenMode(startedFullScreen);
        QTRY_COMPARE(window->fullScreen(), startedFullScreen);
        window->fullScreenMode(startedFullScreen);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(window->demoMode(), demoStart);
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
        QVERIFY(!app.videoPlugin());
        QCOMPARE(HuiQuickVideoPlayerVlc::hardwareDecodingFlag(), nullptr);

        settings.sync();
        QSettings stored(settings.fileName(), QSettings::NativeFormat);
        // The first-start keys of the core objects, the back end chosen above, and the flag; the
        // demo start stored its synchronisation settings itself.
        QStringList keys{"application/playlist/imageDisplayDuration", "application/sharedmemory",
                         "application/touchMode", "application/videoPlugin", "vlc/hardwareDecoding"};
        if (demoStart) {
            keys = QStringList{"application/communication/port", "application/communication/state"} + keys;
        }
        QCOMPARE(stored.allKeys(), keys);
        QCOMPARE(stored.value("application/playlist/imageDisplayDuration").toInt(), 30000);
        QCOMPARE(stored.value("application/sharedmemory").toBool(), false);
        QCOMPARE(stored.value("application/touchMode").toBool(), true);
        QCOMPARE(stored.value("vlc/hardwareDecoding").toBool(), true);
    }
};

int main(int, char** argv)
{
    HSettingsManager store(QSettings::UserScope, ProductInfo::organizationName(),
                           ProductInfo::settingsApplicationName());
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    if (demoStart) {
        arguments << "--demo"
                  << "-u"
                  << "slave"
                  << "--oculus"
                  << "first.jpg";
    }
    // Three photos named as typed in their own folder.
    QTemporaryDir photos;
    if (playlistStart) {
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
    }
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
    // Nothing here asks for updates; should anything, it reaches no server.
    qputenv("GYRE_UPDATE_SERVER", "http://127.0.0.1:9/");
    if (demoStart) {
        QUdpSocket probe;
        probe.bind(QHostAddress::Any, 0, QUdpSocket::DontShareAddress);
        slavePort = probe.localPort();
        store.setValue("application/communication/state", "master");
        store.setValue("application/communication/port", slavePort);
    }
    TestApplication test(app, store);
    // The test runner sees only the program name, so the player's own options don't confuse it.
    return QTest::qExec(&test, QStringList{QString::fromLocal8Bit(argv[0])} +
                                   QCoreApplication::arguments().mid(arguments.size()));
}
#include "tst_application.moc"
