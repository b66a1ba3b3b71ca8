#include "Application.h"

#include "AppLogging.h"
#include "HCommandLine.h"
#include "HOpenGLCheck.h"
#include "HQQuickView.h"
#include "HSettingsManager.h"
#include "ProductInfo.h"
#include "video/HVideoPlugin.h"

#include <QMessageBox>
#include <QOpenGLContext>
#include <QQmlContext>
#include <QQmlEngine>

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
    delete videoSelector;
    delete window;
}

void Application::setup(bool* hardwareDecoding)
{
    hardwareDecodingFlag = hardwareDecoding;
    arguments = HCommandLine::parse(QCoreApplication::arguments());

    *hardwareDecodingFlag = settings->getBool(hardwareDecodingKey, *hardwareDecodingFlag);
    // Before the scene loads: it registers the video item's QML type.
    videoSelector = new HVideoPlugin(settings, hardwareDecodingFlag);

    window = new HQQuickView(arguments.value(QStringLiteral("demo")).toBool());
    connect(window, &QQuickWindow::sceneGraphInitialized, this, &Application::checkOpenGLVersion,
            Qt::DirectConnection);
    // QQuickCloseEvent is private to Qt Quick, so the pointer-to-member form cannot name it.
    connect(window, SIGNAL(closing(QQuickCloseEvent*)), this, SLOT(quit()));

    QQmlEngine* engine = window->engine();
    // The media player module lives in the resources.
    engine->addImportPath(QStringLiteral(":/"));
    engine->addImportPath(QCoreApplication::applicationDirPath() + QStringLiteral("/QtPlugins/"));

    QQmlContext* context = window->rootContext();
    context->setContextProperty(QStringLiteral("hVideoPlugin"), videoSelector);
    context->setContextProperty(QStringLiteral("hView"), window);

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

    delete videoSelector;
    videoSelector = nullptr;
    delete window;
    window = nullptr;
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
