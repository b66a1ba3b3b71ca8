#include "Application.h"

#include "AppLogging.h"
#include "HCommandLine.h"
#include "HOpenGLCheck.h"
#include "HQQuickView.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HLeapFingerOGL.h"
#include "devices/HOculus.h"
#include "devices/HSensorQt.h"
#include "net/HHostingManager.h"
#include "net/HUdpSocket.h"
#include "net/VideosListModel.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/VeyrixView.h"
#include "session/HDropArea.h"
#include "session/HGlobalObject.h"
#include "session/HPictureLayout.h"
#include "video/HVideoPlugin.h"

#include <QDir>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QQmlContext>
#include <QQmlEngine>
#include <qqml.h>

namespace {
const QString hardwareDecodingKey = QStringLiteral("vlc/hardwareDecoding");

template <typename T>
void deleteAndForget(T*& object)
{
    delete object;
    object = nullptr;
}
} // namespace

Application::Application(int& argc, char** argv, HSettingsManager* settingsStore)
    : QApplication(argc, argv), settings(settingsStore), launchDirectory(QDir::currentPath())
{
}

Application::~Application()
{
    // tearDown() normally ran already; this only matters when exec() was never reached.
    deleteCoreObjects();
}

void Application::setup()
{
    arguments = HCommandLine::parse(QCoreApplication::arguments());

    // Before the scene loads: it registers the video item's QML type and decides hardware decoding.
    videoSelector = new HVideoPlugin(settings);

    window = new HQQuickView(arguments.value(QStringLiteral("demo")).toBool(), settings);
    connect(window, &QQuickWindow::sceneGraphInitialized, this, &Application::checkOpenGLVersion,
            Qt::DirectConnection);
    // QQuickCloseEvent is private to Qt Quick, so the pointer-to-member form cannot name it.
    connect(window, SIGNAL(closing(QQuickCloseEvent*)), this, SLOT(quit()));

    QQmlEngine* engine = window->engine();
    // The media player module lives in the resources.
    engine->addImportPath(QStringLiteral(":/"));

    display = new HDisplay();
    frameTextureProvider = new HTextureProvider(window, settings);
    global = new HGlobalObject(settings);
    picture = new HPictureLayout(settings, global);
    shaderBuilder = new HShaderCodeBuilder();
    oculus = new HOculus();
    leap = new HLeap();
    udpSocket = new HUdpSocket(global, arguments.value(QStringLiteral("udp")).toString(), nullptr);
    hostingManager = new HHostingManager(settings);

    sensor = new HSensorQt(global);

    engine->addImportPath(QCoreApplication::applicationDirPath() + QStringLiteral("/QtPlugins/"));

    QQmlContext* context = window->rootContext();
    context->setContextProperty(QStringLiteral("hVideoPlugin"), videoSelector);
    context->setContextProperty(QStringLiteral("hView"), window);
    context->setContextProperty(QStringLiteral("hShaderCodeBuilder"), shaderBuilder);
    context->setContextProperty(QStringLiteral("hOculus"), oculus);
    context->setContextProperty(QStringLiteral("hLeap"), leap);
    context->setContextProperty(QStringLiteral("hGlobalObject"), global);
    context->setContextProperty(QStringLiteral("hPicture"), picture);
    context->setContextProperty(QStringLiteral("hSensor"), sensor);
    context->setContextProperty(QStringLiteral("hDisplay"), display);
    context->setContextProperty(QStringLiteral("hHostingManager"), hostingManager);
    context->setContextProperty(QStringLiteral("hTextureProvider"), frameTextureProvider);
    context->setContextProperty(QStringLiteral("videosListModel"), hostingManager->videosListModel());

    registerQmlTypes();

    window->setSource(QUrl(QStringLiteral("qrc:/qml/main_newui.qml")));
    for (const QQmlError& error : window->errors()) {
        qCCritical(lcApp).noquote() << error.toString();
    }

    window->setTitle(ProductInfo::displayName());
    window->setFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                     Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint |
                     Qt::WindowFullscreenButtonHint);
    window->setMinimumSize(QSize(1200, 200));
    window->setResizeMode(QQuickView::SizeRootObjectToView);
    if (window->fullScreen()) {
        window->showFullScreen();
    } else {
        window->show();
    }

    QCoreApplication::setOrganizationName(ProductInfo::organizationName());
    QCoreApplication::setApplicationName(ProductInfo::settingsApplicationName());

    // Last, once the scene and with it the media loader exist.
    openCommandLineFiles();
}

void Application::openCommandLineFiles()
{
    if (!arguments.contains(QStringLiteral("files"))) {
        return;
    }
    QStringList files = arguments.value(QStringLiteral("files")).toStringList();
    for (QString& file : files) {
        const QUrl url = HGlobalObject::urlFromText(file);
        if (url.isLocalFile() && QDir::isRelativePath(url.toLocalFile())) {
            file = QDir::cleanPath(QDir(launchDirectory).absoluteFilePath(url.toLocalFile()));
        }
    }
    global->openFiles(files, true);
}

void Application::tearDown()
{
    // Kept for older versions of the program, which read it at start.
    settings->setValue(hardwareDecodingKey, videoSelector->hardwareDecoding());
    deleteCoreObjects();
}

void Application::deleteCoreObjects()
{
    deleteAndForget(videoSelector);
    deleteAndForget(window);
    deleteAndForget(picture);
    deleteAndForget(global);
    deleteAndForget(shaderBuilder);
    deleteAndForget(oculus);
    deleteAndForget(leap);
    deleteAndForget(display);
    deleteAndForget(sensor);
    deleteAndForget(udpSocket);
    deleteAndForget(hostingManager);
    deleteAndForget(frameTextureProvider);
}

void Application::registerQmlTypes()
{
    // QML only names the enumerations of these (HShaderCodeBuilder.RECTILINEAR, HUdpSocket.Movies);
    // their one instance, where there is one, is a context property.
    qmlRegisterUncreatableType<HShaderCodeBuilder>("Veyrix", 1, 0, "HShaderCodeBuilder",
                                                   QStringLiteral("Enums only"));
    qmlRegisterUncreatableType<HHostingManager>("Veyrix", 1, 0, "HHostingManager",
                                                QStringLiteral("Enums only"));
    qmlRegisterUncreatableType<HUdpSocket>("Veyrix", 1, 0, "HUdpSocket", QStringLiteral("Enums only"));
    qmlRegisterType<HDropArea>("Veyrix", 1, 0, "HDropArea");
    qmlRegisterType<HLeapFingerOGL>("Veyrix", 1, 0, "HLeapFingerOGL");
    qmlRegisterType<VeyrixView>("Veyrix", 1, 0, "VeyrixView");
    // VeyrixView.init takes the context objects by their own types.
    qRegisterMetaType<HGlobalObject*>();
    qRegisterMetaType<HTextureProvider*>();
}

void Application::checkOpenGLVersion()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (HOpenGLCheck::isSufficient(context)) {
        return;
    }
    qCCritical(lcApp) << "OpenGL context is insufficient:"
                      << (context ? context->format() : QSurfaceFormat());
    QMetaObject::invokeMethod(this, &Application::displayOpenGLErrorMessage, Qt::QueuedConnection);
}

void Application::displayOpenGLErrorMessage()
{
    QMessageBox box(QMessageBox::Critical, ProductInfo::displayName(), tr("OpenGL 2.0 minimum is required."));
    box.exec();
    QCoreApplication::quit();
}
