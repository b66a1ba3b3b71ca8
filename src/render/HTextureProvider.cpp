#include "HTextureProvider.h"

#include "RenderLogging.h"
#include "SharedMemoryManager.h"
#include "app/HSettingsManager.h"

#include <QOpenGLTexture>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRunnable>
#include <QSGTexture>
#include <QSGTextureProvider>
#include <QTimer>

#include <memory>

namespace {
const QString sharedMemoryKey = QStringLiteral("application/sharedmemory");
constexpr int tickInterval = 1000;

// Deletes the shared-memory frame texture on the render thread, with the scene graph's context
// current.
class TextureReleaseJob : public QRunnable
{
public:
    explicit TextureReleaseJob(std::unique_ptr<QOpenGLTexture> releasedTexture)
        : texture(std::move(releasedTexture))
    {
    }
    void run() override { texture.reset(); }

private:
    std::unique_ptr<QOpenGLTexture> texture;
};
} // namespace

HTextureProvider::HTextureProvider(QQuickWindow* quickWindow, HSettingsManager* settings, QObject* parent)
    : QObject(parent), window(quickWindow)
{
    sharedMemory = settings->ensureValue(sharedMemoryKey, false).toBool();
    if (sharedMemory) {
        // Frames from another process are polled: each poll asks the view to repaint, and the paint
        // takes the next frame, once the producer's segment exists and holds one.
        sharedMemoryManager = new SharedMemoryManager();
        if (window) {
            // Direct: the texture goes with the scene graph's context, which is current only there.
            connect(
                window, &QQuickWindow::sceneGraphInvalidated, this,
                [manager = sharedMemoryManager] { manager->releaseTexture(); }, Qt::DirectConnection);
        }
        sharedMemoryRate = 60;
        sharedMemoryTimer = new QTimer();
        sharedMemoryTimer->setInterval(1000 / sharedMemoryRate);
        connect(sharedMemoryTimer, &QTimer::timeout, this, &HTextureProvider::onQsgTextureChanged);
        sharedMemoryTimer->start();
    }

    // A still picture never announces a new texture: repaint it once a second all the same.
    tickTimer = new QTimer(this);
    connect(tickTimer, &QTimer::timeout, this, &HTextureProvider::onQsgTextureChanged);
    tickTimer->setInterval(tickInterval);
    tickTimer->setSingleShot(false);
    tickTimer->start();
}

HTextureProvider::~HTextureProvider()
{
    if (sharedMemoryTimer) {
        sharedMemoryTimer->stop();
        delete sharedMemoryTimer;
    }
    if (sharedMemoryManager) {
        // Deleted now rather than later: no event loop may run after this, and the manager's
        // thread must not outlive the program. The program deletes the window first, which
        // releases the texture; a window still there deletes it at its next frame.
        if (window) {
            if (auto texture = sharedMemoryManager->takeTexture()) {
                window->scheduleRenderJob(new TextureReleaseJob(std::move(texture)),
                                          QQuickWindow::BeforeSynchronizingStage);
            }
        }
        delete sharedMemoryManager;
    }
    tickTimer->stop();
}

int HTextureProvider::textureId() const
{
    if (sharedMemoryManager) {
        return sharedMemoryManager->textureId();
    }
    return textureIdValue.load();
}

void HTextureProvider::setTextureId(int value)
{
    if (textureIdValue.exchange(value) != value) {
        emit textureIdChanged();
    }
}

void HTextureProvider::setShaderEffectSource(QQuickItem* quickItem)
{
    sourceItem = quickItem;
    watchSynchronizations();
}

void HTextureProvider::watchSynchronizations()
{
    if (!window) {
        qCWarning(lcRender) << "No window to take the frame texture from";
        return;
    }
    // Direct: the item's texture provider may only be asked for on the render thread.
    connect(window, &QQuickWindow::beforeSynchronizing, this, &HTextureProvider::onBeforeSynchronizing,
            Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
}

void HTextureProvider::onBeforeSynchronizing()
{
    if (!sourceItem) {
        return;
    }
    QSGTextureProvider* provider = sourceItem->textureProvider();
    if (!provider) {
        return; // try again at the next synchronisation
    }
    sgTextureProvider = provider;
    // The provider lives on the render thread: its announcements reach the slot queued.
    connect(provider, &QSGTextureProvider::textureChanged, this, &HTextureProvider::onQsgTextureChanged);
    // A new texture (a new size of frame) appears while the frame is rendered, after the
    // announcement; its name is read once the frame is done.
    disconnect(afterRenderingConnection);
    afterRenderingConnection = connect(window, &QQuickWindow::afterRendering, this,
                                       &HTextureProvider::readTextureId, Qt::DirectConnection);
    // The scene graph deletes the provider when it lets go of its resources (a window closed or
    // its graphics context lost): forget its texture and look for the next provider.
    connect(
        provider, &QObject::destroyed, this,
        [this, provider] {
            if (provider != sgTextureProvider) {
                return; // an earlier source's
            }
            disconnect(afterRenderingConnection);
            sgTextureProvider = nullptr;
            sgTextureProviderFound = false;
            sgTextureId = 0;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    setTextureId(0);
                    if (sourceItem) {
                        watchSynchronizations();
                    }
                },
                Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    if (QSGTexture* texture = provider->texture()) {
        sgTextureId = texture->textureId();
    }
    sgTextureProviderFound = true;
    disconnect(window, &QQuickWindow::beforeSynchronizing, this, &HTextureProvider::onBeforeSynchronizing);
}

void HTextureProvider::readTextureId()
{
    if (!sgTextureProvider) {
        return;
    }
    // A provider without a texture keeps the name read last.
    QSGTexture* texture = sgTextureProvider->texture();
    if (texture && int(texture->textureId()) != sgTextureId.load()) {
        sgTextureId = int(texture->textureId());
        QMetaObject::invokeMethod(this, &HTextureProvider::onQsgTextureChanged, Qt::QueuedConnection);
    }
}

void HTextureProvider::onQsgTextureChanged()
{
    if (sharedMemory) {
        emit textureChanged();
        return;
    }
    if (!sgTextureProviderFound) {
        return;
    }
    setTextureId(sgTextureId.load());
    emit textureChanged();
}
