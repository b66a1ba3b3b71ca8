#include "HTextureProvider.h"

#include "HFrameTextureProvider.h"
#include "HSharedMemoryTexture.h"
#include "RenderLogging.h"
#include "SharedMemoryManager.h"
#include "base/HSettingsManager.h"

#include <QOpenGLTexture>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRunnable>
#include <QTimer>

#include <memory>

namespace {
const QString sharedMemoryKey = QStringLiteral("application/sharedmemory");

// Frees the shared-memory frames on the render thread, with the scene graph's context current:
// first what the view samples, then the manager's texture. Should the window go before the job
// runs, the job's own deletion still frees both.
class SharedMemoryReleaseJob : public QRunnable
{
public:
    SharedMemoryReleaseJob(HFrameTextureProvider* provider, std::unique_ptr<QOpenGLTexture> texture)
        : frames(provider), frameTexture(std::move(texture))
    {
    }
    void run() override
    {
        frames.reset();
        frameTexture.reset();
    }

private:
    std::unique_ptr<HFrameTextureProvider> frames;
    std::unique_ptr<QOpenGLTexture> frameTexture;
};
} // namespace

HTextureProvider::HTextureProvider(QQuickWindow* quickWindow, HSettingsManager* settings, QObject* parent)
    : QObject(parent), window(quickWindow)
{
    sharedMemory = settings->ensureValue(sharedMemoryKey, false).toBool();
    if (!sharedMemory) {
        return;
    }
    // The producer says nothing when it has written a frame: the ring is looked at sixty times a
    // second, and the view repaints when a frame is ready.
    const QString name = qEnvironmentVariable("GYRE_SHARED_MEMORY_NAME");
    sharedMemoryManager = name.isEmpty() ? new SharedMemoryManager() : new SharedMemoryManager(name);
    sharedMemoryStateValue = int(sharedMemoryManager->state());
    if (window) {
        // Direct: the textures go with the scene graph's context, which is current only there.
        connect(window, &QQuickWindow::sceneGraphInvalidated, this,
                &HTextureProvider::releaseSharedMemoryTexture, Qt::DirectConnection);
    }
    sharedMemoryRate = 60;
    sharedMemoryTimer = new QTimer(this);
    sharedMemoryTimer->setInterval(1000 / sharedMemoryRate);
    connect(sharedMemoryTimer, &QTimer::timeout, this, &HTextureProvider::checkSharedMemory);
    sharedMemoryTimer->start();
    auto* statistics = new QTimer(this);
    statistics->setInterval(1000);
    connect(statistics, &QTimer::timeout, this, &HTextureProvider::reportSharedMemoryStatistics);
    statistics->start();
}

HTextureProvider::~HTextureProvider()
{
    if (!sharedMemoryManager) {
        return;
    }
    sharedMemoryTimer->stop();
    // The program deletes the window first, which releases the textures on its render thread; a
    // window still there frees them before its next frame. The manager goes now: no event loop may
    // run after this, and its thread must not outlive the program. A view of this window no longer
    // samples the frames once their provider is gone, which its next synchronisation sees.
    if (window && (sharedMemoryProvider || sharedMemoryManager->textureSize().isValid())) {
        window->scheduleRenderJob(
            new SharedMemoryReleaseJob(sharedMemoryProvider, sharedMemoryManager->takeTexture()),
            QQuickWindow::BeforeSynchronizingStage);
        sharedMemoryProvider = nullptr;
    }
    delete sharedMemoryManager;
}

void HTextureProvider::setTextureId(int value)
{
    if (textureIdValue != value) {
        textureIdValue = value;
        emit textureIdChanged();
    }
}

void HTextureProvider::setShaderEffectSource(QQuickItem* quickItem)
{
    disconnect(frameConnection);
    sourceItem = quickItem;
    // An item that decodes frames says when it has a new one; a photo changes its texture itself.
    if (quickItem && quickItem->metaObject()->indexOfSignal("frameAvailable()") >= 0) {
        frameConnection = connect(quickItem, SIGNAL(frameAvailable()), this, SIGNAL(textureChanged()));
    }
    emit textureChanged();
}

QSGTextureProvider* HTextureProvider::frameProvider(QQuickWindow* viewWindow)
{
    if (sharedMemoryManager) {
        if (!sharedMemoryProvider && viewWindow == window) {
            sharedMemoryProvider =
                new HFrameTextureProvider(std::make_unique<HSharedMemoryTexture>(sharedMemoryManager));
        }
        return viewWindow == window ? sharedMemoryProvider : nullptr;
    }
    QQuickItem* item = sourceItem.data();
    if (!item || !viewWindow || item->window() != viewWindow || !item->isTextureProvider()) {
        return nullptr;
    }
    return item->textureProvider();
}

bool HTextureProvider::sharedMemoryWaiting() const
{
    return sharedMemoryStateValue == int(SharedMemoryInput::State::Waiting);
}

bool HTextureProvider::sharedMemoryInvalid() const
{
    return sharedMemoryStateValue == int(SharedMemoryInput::State::Invalid);
}

QString HTextureProvider::sharedMemoryName() const
{
    return sharedMemoryManager ? sharedMemoryManager->segmentName() : QString();
}

void HTextureProvider::checkSharedMemory()
{
    if (sharedMemoryManager->frameWaiting()) {
        emit textureChanged();
    }
    const int state = int(sharedMemoryManager->state());
    if (state != sharedMemoryStateValue) {
        sharedMemoryStateValue = state;
        emit sharedMemoryStateChanged();
    }
}

void HTextureProvider::reportSharedMemoryStatistics()
{
    // The same line as a video's: presented reached the window, dropped were skipped unread, and
    // decoded counts every frame taken from the producer.
    const SharedMemoryInput::Counts counts = sharedMemoryManager->counts();
    qCInfo(lcRenderStats).nospace() << "presented=" << counts.presented - reportedPresented
                                    << " dropped=" << counts.dropped - reportedDropped
                                    << " decoded=" << counts.taken - reportedTaken;
    reportedPresented = counts.presented;
    reportedDropped = counts.dropped;
    reportedTaken = counts.taken;
}

void HTextureProvider::releaseSharedMemoryTexture()
{
    delete sharedMemoryProvider;
    sharedMemoryProvider = nullptr;
    sharedMemoryManager->releaseTexture();
}
