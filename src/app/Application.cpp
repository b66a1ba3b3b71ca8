#include "Application.h"

#include "AppLogging.h"
#include "HCommandLine.h"
#include "HOpenGLCheck.h"
#include "HQQuickView.h"
#include "HSettingsManager.h"
#include "ProductInfo.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/VeyrixView.h"
#include "session/HGlobalObject.h"

#include <QMessageBox>
#include <QOpenGLContext>
#include <QQmlContext>
#include <QQmlEngine>
#include <qqml.h>

namespace {
const QString hardwareDecodingKey = QStringLiteral("vlc/hardwareDecoding");
}

Application::Application(int& argc, char** argv, HSettingsManager* settingsStore)
    : QApplication(argc, argv), settings(settingsStore)
{
}

Application::~Application()
{
    // tearDown() normally ran already; this only matters when exec() was never reached.
    delete window;
    delete global;
    delete shaderBuilder;
    delete frameTextureProvider;
}

void Application::setup(bool* hardwareDecoding)
{
    hardwareDecodingFlag = hardwareDecoding;
    arguments = HCommandLine::parse(QCoreApplication::arguments());

    *hardwareDecodingFlag = settings->getBool(hardwareDecodingKey, *hardwareDecodingFlag);

    window = new HQQuickView(arguments.value(QStringLiteral("demo")).toBool(), settings);
    connect(window, &QQuickWindow::sceneGraphInitialized, this, &Application::checkOpenGLVersion,
            Qt::DirectConnection);
    // QQuickCloseEvent is private to Qt Quick, so the pointer-to-member form cannot name it.
    connect(window, SIGNAL(closing(QQuickCloseEvent*)), this, SLOT(quit()));

    QQmlEngine* engine = window->engine();
    // The media player module lives in the resources.
    engine->addImportPath(QStringLiteral(":/"));

    frameTextureProvider = new HTextureProvider(window, settings);
    global = new HGlobalObject(settings);
    shaderBuilder = new HShaderCodeBuilder();

    engine->addImportPath(QCoreApplication::applicationDirPath() + QStringLiteral("/QtPlugins/"));

    QQmlContext* context = window->rootContext();
    context->setContextProperty(QStringLiteral("hView"), window);
    context->setContextProperty(QStringLiteral("hShaderCodeBuilder"), shaderBuilder);
    context->setContextProperty(QStringLiteral("hGlobalObject"), global);
    context->setContextProperty(QStringLiteral("hTextureProvider"), frameTextureProvider);

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
}

void Application::tearDown()
{
    settings->setValue(hardwareDecodingKey, *hardwareDecodingFlag);

    delete window;
    window = nullptr;
    delete global;
    global = nullptr;
    delete shaderBuilder;
    shaderBuilder = nullptr;
    delete frameTextureProvider;
    frameTextureProvider = nullptr;
}

void Application::registerQmlTypes()
{
    // QML only names the builder's enumerations (HShaderCodeBuilder.RECTILINEAR); the one
    // instance is the context property.
    qmlRegisterUncreatableType<HShaderCodeBuilder>("Veyrix", 1, 0, "HShaderCodeBuilder",
                                                   QStringLiteral("Enums only"));
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
