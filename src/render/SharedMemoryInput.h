#pragma once

#include "HSharedMemorySegment.h"
#include "SharedMemoryLayout.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

struct SharedMemoryFrame;

// The producer's segment as the viewer follows it: which segment is mapped, whether its header
// can be trusted, which slot of the ring comes next, and what has been taken from it. The producer
// is another program that may go away, come back with a new segment, or write anything at all into
// the one it has: none of that may stop the viewer, cost it a core or fill its log.
//
// A watcher calls watch() every 100 ms; the render thread takes frames with take(), handing in what
// to do with the pixels (no OpenGL here). Every read of the segment happens under one lock, after
// its real size was checked.
class SharedMemoryInput
{
public:
    enum class State
    {
        Waiting,   // no segment, or no frame for a while
        Invalid,   // a segment whose header or frames fail their checks
        Receiving, // frames arrive
    };
    struct Frame
    {
        const uchar* pixels = nullptr;
        int width = 0;
        int height = 0;
        int bytesPerLine = 0;
    };
    // Since construction: slots taken from the ring, those uploaded, those skipped unread.
    struct Counts
    {
        qint64 taken = 0;
        qint64 presented = 0;
        qint64 dropped = 0;
    };

    explicit SharedMemoryInput(const QString& segmentName);
    // Tells the producer that the viewer lets go (consumerClosed) and unmaps.
    ~SharedMemoryInput();
    SharedMemoryInput(const SharedMemoryInput&) = delete;
    SharedMemoryInput& operator=(const SharedMemoryInput&) = delete;

    // Attaches to the producer's segment, lets go of one that was removed, replaced, resized or
    // shrunk under us (and attaches to its successor), re-checks the header, and notices a stall.
    void watch();
    // Any thread: whether the next slot holds a frame for take(). A ready slot that describes no
    // frame inside the segment is skipped (cleared) here, without a repaint.
    bool frameWaiting();
    // The next frame, if the producer marked it ready, given to `upload` while it is held; true
    // when a frame was uploaded. At most one per call, strictly in ring order.
    bool take(const std::function<void(const Frame&)>& upload);

    State state() const { return State(currentState.load(std::memory_order_acquire)); }
    bool isAttached() const { return attached.load(std::memory_order_acquire); }
    Counts counts() const;
    const QString& name() const { return segmentName; }

    // Without a new frame for this long, the producer counts as gone.
    static constexpr qint64 stallMs = 3000;

private:
    enum class Next
    {
        None,
        Ready,
        Faulty
    };
    Next next(SharedMemoryFrame* frame);
    void attach();
    void detach(const QString& why);
    void skip(qint64 descriptor, const QString& fault);
    void release(qint64 descriptor);
    void enter(State state, const QString& why);
    void report(QtMsgType type, const QString& text);
    QString headerFault(const HSharedMemorySegment& candidate) const;
    static bool understood(const HSharedMemorySegment& candidate);

    const QString segmentName;
    // Everything below it, and every read of the mapping.
    mutable std::mutex lock;
    std::unique_ptr<HSharedMemorySegment> segment;
    int slotIndex = 0;
    quint32 producerHandle = 0;
    // The header failed its checks: nothing is read until watch() finds it sound again.
    bool headerInvalid = false;
    QString lastFault;
    // The last log lines' times, for a limit on how many a misbehaving producer causes.
    qint64 reportTimes[3] = {-1, -1, -1};
    int unreported = 0;

    std::atomic<int> currentState{int(State::Waiting)};
    std::atomic<bool> attached{false};
    std::atomic<qint64> taken{0};
    std::atomic<qint64> presented{0};
    std::atomic<qint64> dropped{0};
    std::atomic<qint64> lastFrameMs{0};
};
