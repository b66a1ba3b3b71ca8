#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>

class HFrameTextureProvider;
class HSettingsManager;
class QQuickItem;
class QQuickWindow;
class QSGTextureProvider;
class QTimer;
class SharedMemoryManager;

// Tells the panorama view where its frames come from and when a new one is there. QML hands over
// the current media item (setShaderEffectSource: the video item, a photo, or any item that is a
// texture provider); the view samples that item's scene-graph texture provider on the render thread,
// and every frame the item announces (its frameAvailable() signal) asks the view to repaint.
//
// With "application/sharedmemory" set, the frames come from another process instead: a check sixty
// times a second asks the view to repaint when the producer has marked a frame ready, and the render
// thread takes it into the texture it then draws. The window says in words while no frames come.
// The environment variable GYRE_SHARED_MEMORY_NAME names another segment (for tests beside a
// real producer).
class HTextureProvider : public QObject
{
    Q_OBJECT
    // The name of the texture the view drew last; 0 before the first.
    Q_PROPERTY(int textureId READ textureId WRITE setTextureId NOTIFY textureIdChanged)
    // In shared-memory mode: no producer writes (or none for a while), or what it writes cannot
    // be read; both false otherwise.
    Q_PROPERTY(bool sharedMemoryWaiting READ sharedMemoryWaiting NOTIFY sharedMemoryStateChanged)
    Q_PROPERTY(bool sharedMemoryInvalid READ sharedMemoryInvalid NOTIFY sharedMemoryStateChanged)
    Q_PROPERTY(QString sharedMemoryName READ sharedMemoryName CONSTANT)

public:
    HTextureProvider(QQuickWindow* window, HSettingsManager* settings, QObject* parent = nullptr);
    ~HTextureProvider() override;

    int textureId() const { return textureIdValue; }
    void setTextureId(int value);

    Q_INVOKABLE void setShaderEffectSource(QQuickItem* quickItem);
    // Frames from another process instead of the media items, chosen once at construction.
    Q_INVOKABLE bool isSharedMemory() const { return sharedMemory; }
    bool sharedMemoryWaiting() const;
    bool sharedMemoryInvalid() const;
    QString sharedMemoryName() const;

    // Render thread, while the GUI thread waits (the view's synchronisation): what the view in that
    // window samples, or null when there is nothing to show.
    QSGTextureProvider* frameProvider(QQuickWindow* viewWindow);

signals:
    void textureIdChanged();
    void textureChanged();
    void sharedMemoryStateChanged();

private slots:
    void checkSharedMemory();
    void reportSharedMemoryStatistics();

private:
    // Render thread, with the scene graph's context current.
    void releaseSharedMemoryTexture();

    int textureIdValue = 0;
    QPointer<QQuickItem> sourceItem;
    QMetaObject::Connection frameConnection;
    QPointer<QQuickWindow> window;
    QTimer* sharedMemoryTimer = nullptr;
    SharedMemoryManager* sharedMemoryManager = nullptr;
    // Render thread: the shared-memory frames as the view samples them.
    HFrameTextureProvider* sharedMemoryProvider = nullptr;
    bool sharedMemory = false;
    int sharedMemoryRate = 0;
    // The input's state as QML last saw it: SharedMemoryInput::State, -1 outside the mode.
    int sharedMemoryStateValue = -1;
    qint64 reportedTaken = 0;
    qint64 reportedPresented = 0;
    qint64 reportedDropped = 0;
};
