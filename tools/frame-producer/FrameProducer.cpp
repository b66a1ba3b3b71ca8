#include "FrameProducer.h"

#include "render/SharedMemoryLayout.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <unistd.h>

namespace L = SharedMemoryLayout;

namespace {
constexpr qint64 dataAlignment = 64;

qint64 alignUp(qint64 value)
{
    return (value + dataAlignment - 1) / dataAlignment * dataAlignment;
}
} // namespace

FrameProducer::FrameProducer(const Options& producerOptions, QTextStream& output)
    : options(producerOptions), out(output), segment(producerOptions.name)
{
}

QSize FrameProducer::frameSize(qint64 frame) const
{
    return options.resizeAt >= 0 && frame >= options.resizeAt ? options.resizedSize : options.size;
}

int FrameProducer::bytesPerLine(const QSize& size) const
{
    return size.width() * L::bytesPerPixel + options.linePadding;
}

bool FrameProducer::createSegment(QString* error)
{
    for (const QSize& size : {options.size, options.resizedSize}) {
        if (size.isValid() && bytesPerLine(size) > 0xffff) {
            *error =
                QStringLiteral("lines of %1 bytes do not fit the header's 16 bits").arg(bytesPerLine(size));
            return false;
        }
    }
    slotCapacity = alignUp(qint64(options.size.height()) * bytesPerLine(options.size));
    if (options.resizedSize.isValid()) {
        slotCapacity = std::max(
            slotCapacity, alignUp(qint64(options.resizedSize.height()) * bytesPerLine(options.resizedSize)));
    }
    firstData = alignUp(L::slotDescriptor(options.slotCount));
    if (!segment.create(firstData + slotCapacity * options.slotCount)) {
        *error = segment.errorString();
        return false;
    }
    writeHeader();
    nextSlot = 0;
    out << "ready " << segment.name() << ' ' << segment.size() << " bytes, " << options.slotCount
        << " slots of " << options.size.width() << 'x' << options.size.height() << Qt::endl;
    return true;
}

void FrameProducer::writeHeader()
{
    uchar* base = segment.data();
    std::memset(base + L::versionOffset, 0, size_t(L::versionCapacity));
    std::memcpy(base + L::versionOffset, options.versionText.constData(),
                size_t(std::min<qint64>(options.versionText.size(), L::versionCapacity - 1)));
    L::write<quint32>(base, L::producerHandleOffset, quint32(::getpid()));
    L::write<quint16>(base, L::slotCountOffset, quint16(options.slotCount));
    for (int slot = 0; slot < options.slotCount; ++slot) {
        const qint64 descriptor = L::slotDescriptor(slot);
        L::write<quint32>(base, descriptor + L::dataOffsetOffset,
                          quint32(firstData + slot * slotCapacity - descriptor));
    }
}

int FrameProducer::run(const volatile std::sig_atomic_t& stop)
{
    const qint64 interval = qint64(1e9 / options.rate);
    QElapsedTimer clock;
    clock.start();
    qint64 due = 0;
    QByteArray input;
    for (qint64 frame = 0; !stop; ++frame) {
        checkSegment();
        if (options.count >= 0 && frame >= options.count) {
            // Done writing; the segment stays for the viewer until we are stopped.
            while (!stop) {
                checkSegment();
                QThread::msleep(5);
            }
            break;
        }
        const QSize size = frameSize(frame);
        if (options.input && !readFrame(size, &input)) {
            out << "end of input after " << frame << " frames" << Qt::endl;
            return 0;
        }
        while (!stop && clock.nsecsElapsed() < due) {
            QThread::usleep(ulong(std::min<qint64>(2000, (due - clock.nsecsElapsed()) / 1000 + 1)));
        }
        while (!stop && slotReady(nextSlot)) {
            checkSegment(); // may start the ring again at slot 0
            QThread::msleep(1);
        }
        if (stop) {
            break;
        }
        if (options.input) {
            writeFrame(nextSlot, frame, size, reinterpret_cast<const uchar*>(input.constData()),
                       size.width() * L::bytesPerPixel);
        } else {
            const QImage& image = pattern.frame(size, quint64(frame));
            writeFrame(nextSlot, frame, size, image.constBits(), image.bytesPerLine());
        }
        nextSlot = (nextSlot + 1) % options.slotCount;
        // After a wait for the viewer, go on at the rate rather than catch up in a burst.
        due = std::max(due + interval, clock.nsecsElapsed() - interval);
    }
    return 0;
}

bool FrameProducer::readFrame(const QSize& size, QByteArray* pixels)
{
    pixels->resize(size.width() * size.height() * L::bytesPerPixel);
    return std::fread(pixels->data(), 1, size_t(pixels->size()), options.input) == size_t(pixels->size());
}

void FrameProducer::writeFrame(int slot, qint64 frame, const QSize& size, const uchar* pixels,
                               int sourceBytesPerLine)
{
    uchar* base = segment.data();
    const qint64 descriptor = L::slotDescriptor(slot);
    const int lineBytes = bytesPerLine(size);
    uchar* target = base + firstData + slot * slotCapacity;
    for (int row = 0; row < size.height(); ++row) {
        std::memcpy(target + qint64(row) * lineBytes, pixels + qint64(row) * sourceBytesPerLine,
                    size_t(size.width() * L::bytesPerPixel));
    }
    L::write<quint64>(base, descriptor + L::frameNumberOffset, quint64(frame));
    // Written with every frame, so that a descriptor someone overwrote is whole again.
    L::write<quint32>(base, descriptor + L::dataOffsetOffset, quint32(target - base - descriptor));
    L::write<quint16>(base, descriptor + L::widthOffset, quint16(size.width()));
    L::write<quint16>(base, descriptor + L::heightOffset, quint16(size.height()));
    L::write<quint16>(base, descriptor + L::bytesPerLineOffset, quint16(lineBytes));
    // The frame is complete before the viewer can see the flag.
    std::atomic_thread_fence(std::memory_order_release);
    L::write<quint16>(base, descriptor + L::frameReadyOffset, 1);
    if (options.verbose) {
        out << "frame " << frame << " slot " << slot << Qt::endl;
    }
}

bool FrameProducer::slotReady(int slot) const
{
    return L::read<quint16>(segment.data(), L::slotDescriptor(slot) + L::frameReadyOffset) != 0;
}

void FrameProducer::checkSegment()
{
    if (segment.faulted() || segment.currentSize() != segment.size()) {
        QString error;
        if (!createSegment(&error)) {
            out << "cannot make the segment anew: " << error << Qt::endl;
        }
        return;
    }
    uchar* base = segment.data();
    if (std::memcmp(base + L::versionOffset, options.versionText.constData(),
                    size_t(options.versionText.size())) != 0 ||
        base[options.versionText.size()] != 0 ||
        L::read<quint16>(base, L::slotCountOffset) != options.slotCount ||
        L::read<quint32>(base, L::producerHandleOffset) != quint32(::getpid())) {
        // Somebody wrote over the header: ours again, and the ring from its start.
        writeHeader();
        for (int slot = 0; slot < options.slotCount; ++slot) {
            L::write<quint16>(base, L::slotDescriptor(slot) + L::frameReadyOffset, 0);
        }
        nextSlot = 0;
        out << "header written again" << Qt::endl;
        return;
    }
    if (L::read<quint32>(base, L::consumerClosedOffset) == 0) {
        return;
    }
    for (int slot = 0; slot < options.slotCount; ++slot) {
        L::write<quint16>(base, L::slotDescriptor(slot) + L::frameReadyOffset, 0);
    }
    nextSlot = 0;
    L::write<quint32>(base, L::consumerClosedOffset, 0);
    out << "viewer closed" << Qt::endl;
}
