#include "HQQuickView.h"

#include "AppLogging.h"
#include "HCrashDumps.h"
#include "HCrashHandling.h"
#include "HExceptionHandler.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"
#include "base/ProductVersion.h"
#include "render/RenderLogging.h"
#include "session/HMediaFiles.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QLocale>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTextDocumentFragment>

HQQuickView::HQQuickView(bool demo, HSettingsManager* settings)
    : QQuickView(), updateChecker(settings, updateServerBase()), fullScreenState(demo), demoFlag(demo)
{
    connect(&updateChecker, &HUpdateManager::NewVersionAvailable, this, &HQQuickView::OnNewVersionAvailable);
    connect(&updateChecker, &HUpdateManager::AlreadyLatestVersion, this,
            &HQQuickView::OnAlreadyLatestVersion);
    connect(&updateChecker, &HUpdateManager::CheckFailed, this, [this](const QString& reason) {
        emit displayMessage(tr("Could not check for updates: %1.").arg(reason));
    });
    connect(this, &QWindow::windowStateChanged, this, &HQQuickView::onWindowStateChanged);
    connect(this, &QQuickWindow::beforeRendering, this, &HQQuickView::computeMaxTextureSize,
            Qt::DirectConnection);
    connect(this, &QQuickWindow::afterRendering, this, &HQQuickView::computeFps, Qt::DirectConnection);
    // The moment the first picture reaches the screen, for measuring how soon media follows.
    connect(
        this, &QQuickWindow::frameSwapped, this,
        [this] {
            if (!shownLogged.exchange(true)) {
                qCInfo(lcRenderStats) << "window shown";
            }
        },
        Qt::DirectConnection);

    updateChecker.initialize(QStringLiteral("hvd_zelmo"), ProductInfo::versionText(), QString());
    findCrash(settings);
}

void HQQuickView::findCrash(HSettingsManager* settings)
{
    // Told once: the next start after this one says nothing of the same crash.
    const QString seenKey = QStringLiteral("application/crash/lastSeen");
    crashFolder = HCrashDumps::directory();
    const QFileInfo dump = HCrashDumps::newestSince(crashFolder, settings->getDateTime(seenKey));
    if (!dump.exists()) {
        return;
    }
    settings->setValue(seenKey, dump.lastModified());
    crashNoteText =
        tr("%1 closed unexpectedly on %2.")
            .arg(ProductInfo::displayName(), QLocale().toString(dump.lastModified(), QLocale::LongFormat));
    qCInfo(lcApp).noquote() << "Crash found from the last run:" << dump.filePath();
}

void HQQuickView::dismissCrashNote()
{
    if (!crashNoteText.isEmpty()) {
        crashNoteText.clear();
        emit crashNoteChanged();
    }
}

void HQQuickView::openCrashFolder() const
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(crashFolder));
}

QString HQQuickView::updateServerBase()
{
    QString base = qEnvironmentVariable("GYRE_UPDATE_SERVER", QStringLiteral(GYRE_UPDATE_SERVER_DEFAULT));
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    return base;
}

void HQQuickView::checkUpdate()
{
    updateChecker.requestCheck(true);
}

QString HQQuickView::newVersion() const
{
    // A release's build number beyond the usual 400 is what tells it from the one installed.
    const ProductVersion& latest = updateChecker.latestVersion();
    return latest.buildNumber() > 400
               ? tr("%1 (build %2)").arg(latest.displayString()).arg(latest.buildNumber())
               : latest.displayString();
}

QString HQQuickView::newVersionDate() const
{
    return updateChecker.latestVersionDate().toString(Qt::TextDate);
}

QString HQQuickView::newChangeLog() const
{
    // Rich text whose links open a browser: only what came over HTTPS is shown as such.
    if (QUrl(updateChecker.serverBaseAddress()).scheme() == QLatin1String("https")) {
        return updateChecker.changeLog();
    }
    return QTextDocumentFragment::fromHtml(updateChecker.changeLog())
        .toPlainText()
        .toHtmlEscaped()
        .replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

QString HQQuickView::urlDownload() const
{
    return updateChecker.downloadUrl();
}

QString HQQuickView::urlHistory() const
{
    return updateChecker.historyUrl();
}

void HQQuickView::OnNewVersionAvailable()
{
    newVersionAvailable = true;
    emit displayPopup(QStringLiteral("qrc:/qml/popup/PopupUpdateAvailable.qml"));
}

void HQQuickView::OnAlreadyLatestVersion()
{
    emit displayMessage(
        tr("There is no update for this product.\nYour are already running the most up to date "
           "version : %1.")
            .arg(ProductVersion(ProductInfo::versionText()).displayString()));
}

QSize HQQuickView::maxTextureSize() const
{
    const int half = maxTextureHalfSize.load();
    return QSize(half, half);
}

void HQQuickView::fullScreenMode(bool enabled)
{
    if (enabled) {
        showFullScreen();
    } else {
        showNormal();
    }
}

QString HQQuickView::title() const
{
    return QStringLiteral("%1 %2").arg(ProductInfo::displayName(),
                                       ProductVersion(ProductInfo::versionText()).displayString());
}

void HQQuickView::updateTitle(const QUrl& newSource)
{
    QString text = ProductInfo::displayName();
    const QString name = newSource.isEmpty() ? QString() : HMediaFiles::displayName(newSource);
    if (!name.isEmpty()) {
        text += QStringLiteral(" - %1").arg(name);
    }
    setTitle(text);
}

QString HQQuickView::halvaneTeam() const
{
    static const QStringList team = {QStringLiteral("Maren Osterhout"), QStringLiteral("Ilias Brandvold"),
                                     QStringLiteral("Corentin Vasseur"), QStringLiteral("Noor Achterberg"),
                                     QStringLiteral("Tobiasz Lenart")};
    return team.join(QStringLiteral(", "));
}

QString HQQuickView::copyright() const
{
    return tr("Copyright © %1 %2. All rights reserved.")
        .arg(copyrightDates(), ProductInfo::organizationName());
}

QString HQQuickView::copyrightDates() const
{
    return QStringLiteral("2025-2026");
}

void HQQuickView::OnMiniDump()
{
    HExceptionHandler* handler = HCrashHandling::exceptionHandler();
    if (!handler) {
        qCWarning(lcApp) << "No dump written: crash handling is not installed";
        return;
    }
    handler->writeMinidump();
}

void HQQuickView::onWindowStateChanged(Qt::WindowState windowsState)
{
    const bool isFullScreen = windowsState == Qt::WindowFullScreen;
    if (isFullScreen != fullScreenState) {
        fullScreenState = isFullScreen;
        emit fullScreenChanged();
    }
}

void HQQuickView::computeMaxTextureSize()
{
    // Only the first frame asks; the answer does not change for the window's life.
    disconnect(this, &QQuickWindow::beforeRendering, this, &HQQuickView::computeMaxTextureSize);

    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context) {
        qCWarning(lcApp) << "No current OpenGL context: the maximum texture size stays unknown";
        return;
    }
    GLint maxSize = 0;
    context->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureHalfSize.store(maxSize / 2);
    emit maxTextureSizeChanged();
}

void HQQuickView::computeFps()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (now > lastSecond) {
        lastSecond = now;
        framesPerSecond.store(frameCounter + 1);
        qCDebug(lcRenderStats) << "window frames in the last second:" << frameCounter + 1;
        if (lcRenderResources().isInfoEnabled()) {
            if (QOpenGLContext* context = QOpenGLContext::currentContext()) {
                qCInfo(lcRenderResources, "textures alive: %d", liveTextures.count(context->functions()));
            }
        }
        frameCounter = 0;
        emit fpsChanged();
    } else {
        ++frameCounter;
    }
}

void HQQuickView::mouseMoveEvent(QMouseEvent* event)
{
    QQuickView::mouseMoveEvent(event);
    emit mouseMoved();
}

bool HQQuickView::nativeEvent(const QByteArray& eventType, void* message, long* result)
{
    emit signalNativeEvent(eventType, message, result);
    return false;
}
