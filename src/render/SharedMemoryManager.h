#pragma once

#include "HSharedMemorySegment.h"
#include "SharedMemoryLayout.h"

#include <QObject>

#include <atomic>
#include <memory>

class QOpenGLTexture;
class SharedMemoryThread;

// Frames that another process (a producer) renders, shown instead of a media file's: the producer
// writes them into a ring of slots in a named shared-memory segment, and this turns them into one
// OpenGL texture. A background thread waits for the segment to appear and attaches to it; the
// render thread then takes at most one frame per call of textureId(), strictly in ring order.
//
// The producer is another program, so its header is outside input: every field is checked against
// the mapping's size before anything it points at is read, and a slot that does not describe a
// frame inside the mapping is skipped.
class SharedMemoryManager : public QObject
{
    Q_OBJECT

public:
    explicit SharedMemoryManager(
        const QString& segmentName = QString::fromLatin1(SharedMemoryLayout::segmentName),
        QObject* parent = nullptr);
    // Stops the attach thread and, when attached, tells the producer (consumerClosed) and detaches.
    // The texture must have been released before, on the thread of its context.
    ~SharedMemoryManager() override;

    // Render thread, with the OpenGL context of the texture current: uploads the next frame if the
    // producer marked it ready, and returns the frame texture's name, 0 until a first frame came.
    int textureId();
    // With the texture's context current (for instance when the scene graph lets go of it).
    void releaseTexture();
    // For deletion on the right thread by whoever holds the context.
    std::unique_ptr<QOpenGLTexture> takeTexture();

    bool isAttached() const { return ready.load(std::memory_order_acquire); }
    // Any thread: whether the producer has marked the slot that the next textureId() reads.
    bool frameWaiting() const;
    // The frame texture's size, or none before the first frame; with the texture's context current.
    QSize textureSize() const;

private:
    friend class SharedMemoryThread;
    // The thread's work: tries every 100 ms until attached or interrupted.
    void attach(QThread* thread);
    bool tryAttach();
    void upload(const uchar* pixels, int width, int height, int bytesPerLine);
    void clearFrameReady(qint64 descriptor);
    // Logs a fault of the producer's header once, not at every poll.
    void reportOnce(const QString& fault);

    HSharedMemorySegment segment;
    std::unique_ptr<QOpenGLTexture> texture;
    // Written by the render thread, read by frameWaiting() on any.
    std::atomic<int> slotIndex{0};
    // Written once by the attach thread, after the segment is mapped.
    std::atomic<bool> ready{false};
    // The attach thread's last write.
    std::atomic<bool> attachFinished{false};
    SharedMemoryThread* thread = nullptr;
    QString lastFault;
};
