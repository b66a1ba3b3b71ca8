#include "QuickTestSetup.h"

#include "ControlBarStandIn.h"
#include "HostingServerFixture.h"
#include "MainSceneStandIn.h"
#include "SensorStandIn.h"
#include "WarningCounter.h"
#include "app/Application.h"
#include "app/HQQuickView.h"
#include "base/HSettingsManager.h"
#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HOculus.h"
#include "net/HHostingManager.h"
#include "net/VideosListModel.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "session/HGlobalObject.h"
#include "session/HPictureLayout.h"
#include "video/HVideoPlugin.h"

#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QUrl>

namespace {
constexpr int imageDisplayDuration = 1000;
}

QuickTestSetup::QuickTestSetup() = default;

QuickTestSetup::~QuickTestSetup()
{
    deleteCoreObjects();
}

void QuickTestSetup::applicationAvailable()
{
    // run-test.sh gives every test program a private profile, so this store starts empty.
    settings = std::make_unique<HSettingsManager>(QSettings::UserScope, QStringLiteral("Zelmo"),
                                                  QStringLiteral("Gyre Player test"));
    // Photos of a playlist step on after a second rather than half a minute, so that tests can
    // watch them do it.
    settings->setValue(QStringLiteral("application/playlist/imageDisplayDuration"), imageDisplayDuration);
    Application::registerQmlTypes();
    if (qEnvironmentVariableIsSet("GYRE_QUICK_TEST_HOSTING")) {
        hostingServer = std::make_unique<HostingServerFixture>();
        if (!hostingServer->start()) {
            qFatal("The hosting service stand-in does not start: %s", qPrintable(hostingServer->error()));
        }
    }
}

void QuickTestSetup::qmlEngineAvailable(QQmlEngine* engine)
{
    // The previous file's scene is gone by now; its core objects go with it.
    deleteCoreObjects();

    engine->addImportPath(QStringLiteral(":/"));

    // In start-up's order: the video plugin registers the VLC item before any scene loads.
    videoPlugin = new HVideoPlugin(settings.get(), &hardwareDecoding);
    view = new HQQuickView(qEnvironmentVariableIsSet("GYRE_QUICK_TEST_DEMO"), settings.get());
    display = new HDisplay();
    // Watches the player's own window, which the tests do not show: its texture never changes.
    textureProvider = new HTextureProvider(view, settings.get());
    global = new HGlobalObject(settings.get());
    picture = new HPictureLayout(settings.get(), global);
    shaderBuilder = new HShaderCodeBuilder();
    oculus = new HOculus();
    leap = new HLeap();
    hostingManager = new HHostingManager(settings.get());
    sensor = new SensorStandIn(global);
    root = new MainSceneStandIn();
    controlBar = new ControlBarStandIn();

    QQmlContext* context = engine->rootContext();
    context->setContextProperty(QStringLiteral("hVideoPlugin"), videoPlugin);
    context->setContextProperty(QStringLiteral("hView"), view);
    context->setContextProperty(QStringLiteral("hShaderCodeBuilder"), shaderBuilder);
    context->setContextProperty(QStringLiteral("hGlobalObject"), global);
    context->setContextProperty(QStringLiteral("hPicture"), picture);
    context->setContextProperty(QStringLiteral("hTextureProvider"), textureProvider);
    context->setContextProperty(QStringLiteral("hSensor"), sensor);
    context->setContextProperty(QStringLiteral("hOculus"), oculus);
    context->setContextProperty(QStringLiteral("hLeap"), leap);
    context->setContextProperty(QStringLiteral("hDisplay"), display);
    context->setContextProperty(QStringLiteral("hHostingManager"), hostingManager);
    context->setContextProperty(QStringLiteral("videosListModel"), hostingManager->videosListModel());
    context->setContextProperty(QStringLiteral("hostingServer"), hostingServer.get());
    context->setContextProperty(QStringLiteral("warningCounter"), &warningCounter);
    context->setContextProperty(QStringLiteral("root"), root);
    context->setContextProperty(QStringLiteral("h_bar"), controlBar);
    context->setContextProperty(QStringLiteral("testMediaDir"),
                                QUrl::fromLocalFile(QStringLiteral(GYRE_TEST_MEDIA_DIR "/")));
}

void QuickTestSetup::cleanupTestCase()
{
    deleteCoreObjects();
    hostingServer.reset();
}

void QuickTestSetup::deleteCoreObjects()
{
    // Start-up's tear-down order: the video plugin first.
    delete videoPlugin;
    videoPlugin = nullptr;
    delete view;
    view = nullptr;
    delete picture;
    picture = nullptr;
    delete global;
    global = nullptr;
    delete shaderBuilder;
    shaderBuilder = nullptr;
    delete oculus;
    oculus = nullptr;
    delete leap;
    leap = nullptr;
    delete display;
    display = nullptr;
    delete sensor;
    sensor = nullptr;
    delete hostingManager;
    hostingManager = nullptr;
    delete textureProvider;
    textureProvider = nullptr;
    delete root;
    root = nullptr;
    delete controlBar;
    controlBar = nullptr;
}
