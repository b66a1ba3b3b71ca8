#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>

class HSettingsManager;
class QQuickItem;
class QQuickWindow;
class QSGTextureProvider;
class QTimer;
class SharedMemoryManager;

// Tells the panorama view which OpenGL texture holds the current frame and when it may have
// changed. The frame is whatever the scene graph renders for a ShaderEffectSource that QML hands
// over; its texture provider is picked up once on the render thread, and from then on every new
// texture, and a tick once a second for still pictures, asks the view to repaint.
//
// The scene graph replaces the source's texture on the render thread while the GUI thread runs,
// so the texture's name is read there, after each rendered frame, and only the name crosses over.
//
// With "application/sharedmemory" set, the frames come from another process instead: the view is
// asked to repaint sixty times a second, and each paint takes the producer's next frame, if one is
// ready, through the shared-memory manager.
class HTextureProvider : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int textureId READ textureId WRITE setTextureId NOTIFY textureIdChanged)

public:
    HTextureProvider(QQuickWindow* window, HSettingsManager* settings, QObject* parent = nullptr);
    ~HTextureProvider() override;

    // Read by the view item on the render thread while it paints; in shared-memory mode this uploads
    // the next frame, so the scene graph's context must be current.
    int textureId() const;
    void setTextureId(int value);

    Q_INVOKABLE void setShaderEffectSource(QQuickItem* quickItem);
    // Frames from another process instead of the scene graph, chosen once at construction.
    Q_INVOKABLE bool isSharedMemory() const { return sharedMemory; }

signals:
    void textureIdChanged();
    void textureChanged();

private slots:
    // Render thread, GUI thread blocked in the scene graph's synchronisation.
    void onBeforeSynchronizing();
    void onQsgTextureChanged();

private:
    void watchSynchronizations();
    // Render thread, after a frame was rendered: the source has its texture for that frame.
    void readTextureId();

    std::atomic<int> textureIdValue{0};
    QPointer<QQuickItem> sourceItem;
    QPointer<QQuickWindow> window;
    // The source's scene-graph texture provider, used on the render thread only. It is the
    // scene graph's and goes with the source item's scene-graph resources.
    QSGTextureProvider* sgTextureProvider = nullptr;
    QMetaObject::Connection afterRenderingConnection;
    // Whether that provider has been found, and the name of its texture as last read.
    std::atomic<bool> sgTextureProviderFound{false};
    std::atomic<int> sgTextureId{0};
    QTimer* tickTimer = nullptr;
    QTimer* sharedMemoryTimer = nullptr;
    SharedMemoryManager* sharedMemoryManager = nullptr;
    bool sharedMemory = false;
    int sharedMemoryRate = 0;
};
