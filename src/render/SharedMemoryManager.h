#pragma once

#include "SharedMemoryInput.h"
#include "SharedMemoryLayout.h"

#include <QObject>

#include <atomic>
#include <memory>

class QOpenGLTexture;
class SharedMemoryThread;

// Frames that another process (a producer) renders, shown instead of a media file's: the producer
// writes them into a ring of slots in a named shared-memory segment, and this turns them into one
// OpenGL texture. A background thread watches for the segment ten times a second, attaches to it
// and follows the producer when it comes back with a new one; the render thread takes at most one
// frame per call of textureId(), strictly in ring order.
//
// The producer is another program, so its header is outside input (SharedMemoryInput checks it).
class SharedMemoryManager : public QObject
{
    Q_OBJECT

public:
    explicit SharedMemoryManager(
        const QString& segmentName = QString::fromLatin1(SharedMemoryLayout::segmentName),
        QObject* parent = nullptr);
    // Stops the watching thread and, when attached, tells the producer (consumerClosed) and detaches.
    // The texture must have been released before, on the thread of its context.
    ~SharedMemoryManager() override;

    // Render thread, with the OpenGL context of the texture current: uploads the next frame if the
    // producer marked it ready, and returns the frame texture's name, 0 until a first frame came.
    int textureId();
    // With the texture's context current (for instance when the scene graph lets go of it).
    void releaseTexture();
    // For deletion on the right thread by whoever holds the context.
    std::unique_ptr<QOpenGLTexture> takeTexture();

    bool isAttached() const { return input.isAttached(); }
    // Any thread: whether the producer has marked the slot that the next textureId() reads.
    bool frameWaiting() { return input.frameWaiting(); }
    SharedMemoryInput::State state() const { return input.state(); }
    SharedMemoryInput::Counts counts() const { return input.counts(); }
    const QString& segmentName() const { return input.name(); }
    // The frame texture's size, or none before the first frame; with the texture's context current.
    QSize textureSize() const;

private:
    friend class SharedMemoryThread;
    // The thread's work: watches every 100 ms until interrupted.
    void watch(QThread* thread);
    void upload(const SharedMemoryInput::Frame& frame);

    SharedMemoryInput input;
    std::unique_ptr<QOpenGLTexture> texture;
    // The watching thread's last write.
    std::atomic<bool> watchFinished{false};
    SharedMemoryThread* thread = nullptr;
};
