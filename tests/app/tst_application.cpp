#include "app/Application.h"
#include "app/HQQuickView.h"
#include "app/HSettingsManager.h"
#include "app/ProductInfo.h"
#include "video/HVideoPlugin.h"
#include "video/HuiQuickVideoPlayerVlc.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQmlContext>
#include <QQmlError>
#include <QtTest>

// The whole start-up and tear-down in one process, as the player runs them. Built twice: once
// started with no argument, once with --demo and the other options.
class TestApplication : public QObject
{
    Q_OBJECT

public:
    TestApplication(Application& application, HSettingsManager& store) : app(application), settings(store) {}

private:
    static bool demoStart()
    {
#ifdef GYRE_TEST_DEMO_START
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
        } else {
            QVERIFY(app.commandLine().isEmpty());
        }
        QCOMPARE(window->demoMode(), demoStart());
        QCOMPARE(window->fullScreen(), demoStart());
        QCOMPARE(window->windowState() == Qt::WindowFullScreen, demoStart());
    }

    void windowShape()
    {
        HQQuickView* window = app.mainWindow();
        QCOMPARE(window->QWindow::title(), QString("Gyre Player"));
        QCOMPARE(window->minimumSize(), QSize(1200, 200));
        QVERIFY(window->flags() & Qt::WindowFullscreenButtonHint);
        QCOMPARE(window->resizeMode(), QQuickView::SizeRootObjectToView);
        QCOMPARE(window->rootContext()->contextProperty("hView").value<QObject*>(), window);
        QCOMPARE(QCoreApplication::organizationName(), QString("Zelmo"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Gyre Player 1.0"));
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

    // Last: closing the window ends the event loop, and tear-down stores the decoding flag.
    void closingEndsTheLoopAndStoresTheFlag()
    {
        QVERIFY(!settings.contains("vlc/hardwareDecoding"));
        hardwareDecoding = true;
        QTimer::singleShot(0, app.mainWindow(), &QWindow::close);
        QCOMPARE(app.exec(), 0);
        app.tearDown();
        QVERIFY(!app.mainWindow());
        QVERIFY(!app.videoPlugin());
        QCOMPARE(HuiQuickVideoPlayerVlc::hardwareDecodingFlag(), nullptr);

        settings.sync();
        QSettings stored(settings.fileName(), QSettings::NativeFormat);
        // The flag, and the back end chosen above: no object of today's start-up writes a first-start key.
        QCOMPARE(stored.allKeys(), (QStringList{"application/videoPlugin", "vlc/hardwareDecoding"}));
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
    TestApplication test(app, store);
    // The test runner sees only the program name, so the player's own options don't confuse it.
    return QTest::qExec(&test, QStringList{QString::fromLocal8Bit(argv[0])} +
                                   QCoreApplication::arguments().mid(arguments.size()));
}
#include "tst_application.moc"
