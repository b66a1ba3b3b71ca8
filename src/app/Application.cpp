#include "Application.h"

#include "AppLogging.h"
#include "HCommandLine.h"
#include "HCoreObjects.h"
#include "HOpenGLCheck.h"
#include "HQQuickView.h"
#include "HTranslations.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "net/HTrustedAuthorities.h"
#include "session/HGlobalObject.h"
#include "session/HResumeStore.h"
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
    // First: the command line's help is translated already.
    translations = std::make_unique<HTranslations>(settings);
    translations->install();
    arguments = HCommandLine::parse(QCoreApplication::arguments());

    // Before any connection: the update check starts with the window.
    HTrustedAuthorities::addFromFile(
        settings->ensureValue(QStringLiteral("application/network/caCertificates"), QString()).toString());

    // Before the scene loads: it registers the video item's QML type and decides hardware decoding.
    videoSelector = new HVideoPlugin(settings);

    window = new HQQuickView(arguments.value(QStringLiteral("demo")).toBool(), settings);
    connect(window, &QQuickWindow::sceneGraphInitialized, this, &Application::checkOpenGLVersion,
            Qt::DirectConnection);
    // QQuickCloseEvent is private to Qt Quick, so the pointer-to-member form cannot name it.
    connect(window, SIGNAL(closing(QQuickCloseEvent*)), this, SLOT(quit()));
    // The program ends only by Ctrl+Q or the main window's close: not because a message box or
    // file dialog closed at a moment when Qt counted no other visible window.
    setQuitOnLastWindowClosed(false);

    QQmlEngine* engine = window->engine();
    // The media player module lives in the resources.
    engine->addImportPath(QStringLiteral(":/"));

    core =
        std::make_unique<HCoreObjects>(settings, window, arguments.value(QStringLiteral("udp")).toString());

    engine->addImportPath(QCoreApplication::applicationDirPath() + QStringLiteral("/QtPlugins/"));

    QQmlContext* context = window->rootContext();
    context->setContextProperty(QStringLiteral("hVideoPlugin"), videoSelector);
    context->setContextProperty(QStringLiteral("hView"), window);
    context->setContextProperty(QStringLiteral("hLanguage"), translations.get());
    core->publish(context);
    HCoreObjects::registerQmlTypes();

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
        // A plain start brings back the list that was open last, at the entry that was shown.
        const QList<QUrl> last = core->resumeStore()->lastList();
        if (!last.isEmpty()) {
            core->globalObject()->openFiles(last, true);
            const int index = core->resumeStore()->lastListIndex();
            if (index > 0 && index < last.size()) {
                core->globalObject()->setPlayListIndex(index);
            }
        }
        return;
    }
    QStringList files = arguments.value(QStringLiteral("files")).toStringList();
    for (QString& file : files) {
        const QUrl url = HGlobalObject::urlFromText(file);
        if (url.isLocalFile() && QDir::isRelativePath(url.toLocalFile())) {
            file = QDir::cleanPath(QDir(launchDirectory).absoluteFilePath(url.toLocalFile()));
        }
    }
    core->globalObject()->openFiles(files, true);
}

void Application::tearDown()
{
    // Kept for older versions of the program, which read it at start.
    settings->setValue(hardwareDecodingKey, videoSelector->hardwareDecoding());
    deleteCoreObjects();
}

void Application::deleteCoreObjects()
{
    // The scene goes before the objects it binds to; its bindings would read them as null.
    deleteAndForget(window);
    deleteAndForget(videoSelector);
    core.reset();
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
