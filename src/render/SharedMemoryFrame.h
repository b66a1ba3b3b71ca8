#pragma once

#include <QString>
#include <QtGlobal>

// What the producer's header and slot table say, checked against the segment's size before
// anything they point at is read: the producer is another program, and its header outside input.
// Every read is of the segment's first `size` bytes only.
struct SharedMemoryFrame
{
    // The ring's slot count, or 0 when the header has no slots or its table reaches past the
    // segment; `fault` then says which. `size` is at least the header's.
    static int slotCount(const uchar* base, qint64 size, QString* fault);
    // The frame slot `slot` (below slotCount()) describes; check fault before using it.
    static SharedMemoryFrame inSlot(const uchar* base, qint64 size, int slot);

    qint64 descriptor = 0;
    // From the segment's start.
    qint64 pixels = 0;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    // Empty when the frame lies whole inside the segment.
    QString fault;
};
