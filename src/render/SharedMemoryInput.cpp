#include "SharedMemoryInput.h"

#include "RenderLogging.h"
#include "SharedMemoryFrame.h"
#include "base/HMonotonicClock.h"

#include <cstring>

namespace L = SharedMemoryLayout;

namespace {

qint64 nowMs()
{
    return qint64(HMonotonicClock::nowMs());
}

// A producer that flips between good and bad frames would otherwise log at its frame rate.
constexpr qint64 reportWindowMs = 10000;

} // namespace

SharedMemoryInput::SharedMemoryInput(const QString& name) : segmentName(name)
{
}

SharedMemoryInput::~SharedMemoryInput()
{
    const std::lock_guard<std::mutex> locker(lock);
    if (segment) {
        if (!segment->faulted() && segment->currentSize() >= L::headerSize) {
            L::write<quint32>(segment->data(), L::consumerClosedOffset, 1);
        }
        segment.reset();
        qCInfo(lcRender) << "Detached from shared-memory segment" << segmentName;
    }
}

bool SharedMemoryInput::understood(const HSharedMemorySegment& candidate)
{
    // The text with its terminating NUL: a longer text differs in that byte.
    return candidate.size() >= L::headerSize &&
           std::memcmp(candidate.data() + L::versionOffset, L::versionText, sizeof(L::versionText)) == 0;
}

QString SharedMemoryInput::headerFault(const HSharedMemorySegment& candidate) const
{
    if (candidate.size() < L::headerSize) {
        return QStringLiteral("segment %1 has %2 bytes, fewer than its header needs")
            .arg(segmentName)
            .arg(candidate.size());
    }
    if (!understood(candidate)) {
        return QStringLiteral("segment %1 is not of version %2")
            .arg(segmentName, QLatin1String(L::versionText));
    }
    QString fault;
    SharedMemoryFrame::slotCount(candidate.data(), candidate.size(), &fault);
    return fault;
}

void SharedMemoryInput::watch()
{
    const std::lock_guard<std::mutex> locker(lock);
    if (segment) {
        const qint64 size = segment->currentSize();
        if (segment->faulted() || (size >= 0 && size < segment->size())) {
            detach(QStringLiteral("shrank under the player"));
        } else if (!segment->isStillNamed()) {
            detach(QStringLiteral("was removed or replaced"));
        } else if (size != segment->size()) {
            detach(QStringLiteral("changed its size to %1 bytes").arg(size));
        }
    }
    if (!segment) {
        attach();
        return;
    }
    const QString fault = headerFault(*segment);
    if (!fault.isEmpty()) {
        headerInvalid = true;
        enter(State::Invalid, fault);
        return;
    }
    const quint32 handle = L::read<quint32>(segment->data(), L::producerHandleOffset);
    if (handle != producerHandle) {
        // Another producer took the segment over: its ring starts at the first slot.
        producerHandle = handle;
        slotIndex = 0;
    }
    if (headerInvalid) {
        headerInvalid = false;
        enter(State::Waiting, QStringLiteral("the header of segment %1 is sound again").arg(segmentName));
    }
    if (state() == State::Receiving && nowMs() - lastFrameMs.load() > stallMs) {
        enter(State::Waiting, QStringLiteral("no frame for %1 s").arg(stallMs / 1000));
    }
}

void SharedMemoryInput::attach()
{
    auto candidate = std::make_unique<HSharedMemorySegment>(segmentName);
    if (!candidate->open()) {
        enter(State::Waiting, QString());
        return; // no producer yet
    }
    const QString fault = headerFault(*candidate);
    if (!understood(*candidate)) {
        // Not a producer we understand: it learns that we let go, if it has room to be told.
        if (candidate->size() >= L::headerSize) {
            L::write<quint32>(candidate->data(), L::consumerClosedOffset, 1);
        }
        enter(State::Invalid, fault);
        return;
    }
    segment = std::move(candidate);
    attached.store(true, std::memory_order_release);
    slotIndex = 0;
    producerHandle = L::read<quint32>(segment->data(), L::producerHandleOffset);
    headerInvalid = !fault.isEmpty();
    report(QtInfoMsg, QStringLiteral("Attached to shared-memory segment %1 of %2 bytes")
                          .arg(segmentName)
                          .arg(segment->size()));
    enter(headerInvalid ? State::Invalid : State::Waiting, fault);
}

void SharedMemoryInput::detach(const QString& why)
{
    report(QtInfoMsg, QStringLiteral("Shared-memory segment %1 %2").arg(segmentName, why));
    segment.reset();
    attached.store(false, std::memory_order_release);
    headerInvalid = false;
    enter(State::Waiting, QString());
}

SharedMemoryInput::Next SharedMemoryInput::next(SharedMemoryFrame* frame)
{
    if (!segment || headerInvalid) {
        return Next::None;
    }
    // The producer may have shrunk the segment: then nothing past its new end may be touched.
    const qint64 size = segment->size();
    const qint64 real = segment->currentSize();
    if (segment->faulted() || (real >= 0 && real < size)) {
        headerInvalid = true;
        enter(State::Invalid, QStringLiteral("segment %1 shrank to %2 bytes").arg(segmentName).arg(real));
        return Next::None;
    }
    const uchar* base = segment->data();
    // Read once: the producer may change the header while we look.
    QString fault;
    const int slotCount = SharedMemoryFrame::slotCount(base, size, &fault);
    if (slotCount == 0 || !understood(*segment)) {
        headerInvalid = true;
        enter(State::Invalid, headerFault(*segment));
        return Next::None;
    }
    if (slotIndex >= slotCount) {
        slotIndex = 0; // the producer made its ring smaller
    }
    if (L::read<quint16>(base, L::slotDescriptor(slotIndex) + L::frameReadyOffset) == 0) {
        return Next::None;
    }
    // Pairs with the producer's release before it marks the slot ready.
    std::atomic_thread_fence(std::memory_order_acquire);
    *frame = SharedMemoryFrame::inSlot(base, size, slotIndex);
    return frame->fault.isEmpty() ? Next::Ready : Next::Faulty;
}

bool SharedMemoryInput::frameWaiting()
{
    // The render thread holds the lock while it uploads, and then a frame is on its way anyway.
    const std::unique_lock<std::mutex> locker(lock, std::try_to_lock);
    if (!locker.owns_lock()) {
        return false;
    }
    SharedMemoryFrame frame;
    const Next found = next(&frame);
    if (found == Next::Faulty) {
        skip(frame.descriptor, frame.fault);
    }
    return found == Next::Ready;
}

bool SharedMemoryInput::take(const std::function<void(const Frame&)>& upload)
{
    const std::lock_guard<std::mutex> locker(lock);
    SharedMemoryFrame frame;
    const Next found = next(&frame);
    if (found == Next::Faulty) {
        skip(frame.descriptor, frame.fault);
    }
    if (found != Next::Ready) {
        return false;
    }
    upload(Frame{segment->data() + frame.pixels, frame.width, frame.height, frame.bytesPerLine});
    if (segment->faulted()) {
        // Shrunk while we read: part of what went up was zeros, and the mapping is done for.
        taken.fetch_add(1);
        dropped.fetch_add(1);
        headerInvalid = true;
        enter(State::Invalid, QStringLiteral("segment %1 shrank while a frame was read").arg(segmentName));
        return true;
    }
    release(frame.descriptor);
    presented.fetch_add(1);
    lastFrameMs.store(nowMs());
    enter(State::Receiving, QStringLiteral("frames arrive from segment %1").arg(segmentName));
    return true;
}

void SharedMemoryInput::skip(qint64 descriptor, const QString& fault)
{
    const int slot = slotIndex;
    release(descriptor);
    dropped.fetch_add(1);
    enter(State::Invalid, QStringLiteral("slot %1 %2; skipped").arg(slot).arg(fault));
}

void SharedMemoryInput::release(qint64 descriptor)
{
    // The producer may reuse the slot once it reads 0: whatever read its pixels is done by then.
    std::atomic_thread_fence(std::memory_order_release);
    L::write<quint16>(segment->data(), descriptor + L::frameReadyOffset, 0);
    const int slotCount = L::read<quint16>(segment->data(), L::slotCountOffset);
    slotIndex = slotCount > 0 ? (slotIndex + 1) % slotCount : 0;
    taken.fetch_add(1);
}

SharedMemoryInput::Counts SharedMemoryInput::counts() const
{
    return Counts{taken.load(), presented.load(), dropped.load()};
}

void SharedMemoryInput::enter(State newState, const QString& why)
{
    const State old = State(currentState.exchange(int(newState), std::memory_order_acq_rel));
    if (old == newState || why.isEmpty()) {
        return;
    }
    if (newState == State::Invalid) {
        report(QtWarningMsg, QStringLiteral("Shared-memory frames: ") + why);
    } else {
        report(QtInfoMsg, QStringLiteral("Shared-memory frames: ") + why);
    }
}

void SharedMemoryInput::report(QtMsgType type, const QString& text)
{
    const qint64 now = nowMs();
    // Three lines in any ten seconds; the rest are counted and said with the next line.
    if (reportTimes[0] >= 0 && now - reportTimes[0] < reportWindowMs) {
        ++unreported;
        return;
    }
    std::memmove(reportTimes, reportTimes + 1, sizeof(reportTimes) - sizeof(reportTimes[0]));
    reportTimes[2] = now;
    const QString line =
        unreported ? QStringLiteral("%1 (%2 earlier changes not logged)").arg(text).arg(unreported) : text;
    unreported = 0;
    if (type == QtWarningMsg) {
        qCWarning(lcRender).noquote() << line;
    } else {
        qCInfo(lcRender).noquote() << line;
    }
}
