#include "SharedMemoryFrame.h"

#include "SharedMemoryLayout.h"

namespace L = SharedMemoryLayout;

int SharedMemoryFrame::slotCount(const uchar* base, qint64 size, QString* fault)
{
    const int count = L::read<quint16>(base, L::slotCountOffset);
    if (count == 0) {
        *fault = QStringLiteral("the header has no slots");
        return 0;
    }
    if (L::slotDescriptor(count) > size) {
        // The slot count is wrong, so nothing in the table can be trusted.
        *fault =
            QStringLiteral("the header's %1 slots reach past the segment's %2 bytes").arg(count).arg(size);
        return 0;
    }
    return count;
}

SharedMemoryFrame SharedMemoryFrame::inSlot(const uchar* base, qint64 size, int slot)
{
    SharedMemoryFrame frame;
    frame.descriptor = L::slotDescriptor(slot);
    const qint64 dataOffset = L::read<quint32>(base, frame.descriptor + L::dataOffsetOffset);
    frame.pixels = frame.descriptor + dataOffset;
    frame.width = L::read<quint16>(base, frame.descriptor + L::widthOffset);
    frame.height = L::read<quint16>(base, frame.descriptor + L::heightOffset);
    frame.bytesPerLine = L::read<quint16>(base, frame.descriptor + L::bytesPerLineOffset);
    if (dataOffset == 0) {
        frame.fault = QStringLiteral("has no data");
    } else if (frame.width == 0 || frame.height == 0) {
        frame.fault = QStringLiteral("is %1 x %2 pixels").arg(frame.width).arg(frame.height);
    } else if (frame.bytesPerLine < frame.width * L::bytesPerPixel) {
        frame.fault =
            QStringLiteral("has lines of %1 bytes for %2 pixels").arg(frame.bytesPerLine).arg(frame.width);
    } else if (frame.pixels + qint64(frame.height) * frame.bytesPerLine > size) {
        frame.fault = QStringLiteral("has pixels reaching past the segment's %1 bytes").arg(size);
    }
    return frame;
}
