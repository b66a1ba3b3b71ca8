#pragma once

#include "HSigbusGuard.h"

#include <QString>
#include <QtGlobal>

// A named segment of shared memory, mapped whole and read-write: the one place that talks to the
// operating system's shared memory, so that another platform's named mapping can replace it.
// This one is POSIX (shm_open, fstat, mmap).
//
// The viewer opens a segment that a producer created; the producer (and tests standing in for
// one) create it, and the creator removes the name again when it closes. The producer may shrink
// the segment, remove it or put another under the name while the viewer has it mapped: the viewer
// asks currentSize() and isStillNamed(), and a read past the segment's real end reads zeros and
// marks it faulted() instead of ending the program.
class HSharedMemorySegment
{
public:
    explicit HSharedMemorySegment(const QString& name);
    ~HSharedMemorySegment();
    HSharedMemorySegment(const HSharedMemorySegment&) = delete;
    HSharedMemorySegment& operator=(const HSharedMemorySegment&) = delete;

    // Maps an existing segment with its size as it is now. False, with nothing mapped, when there is
    // no such segment or it cannot be mapped.
    bool open();
    // Creates the segment with the given size, filled with zeros, and maps it. A segment left under
    // the same name (by a producer that did not end cleanly) is replaced.
    bool create(qint64 size);
    // Unmaps; the creator also removes the name.
    void close();

    // The segment's size as it is now, which its creator may have changed; -1 when unknown.
    qint64 currentSize() const;
    // Whether the name still leads to this segment: false once it was removed or another segment
    // took the name.
    bool isStillNamed() const;
    // Whether a read went past the segment's real end since it was mapped (it read zeros).
    bool faulted() const { return guard.faulted(); }

    bool isOpen() const { return view != nullptr; }
    uchar* data() const { return view; }
    qint64 size() const { return viewSize; }
    const QString& name() const { return segmentName; }
    QString errorString() const { return error; }

    // Removes the name, whoever created it; the memory goes once every mapping of it is gone.
    static bool remove(const QString& name);

private:
    bool map(int descriptor, qint64 size);
    void keep(int descriptor);

    QString segmentName;
    QString error;
    uchar* view = nullptr;
    qint64 viewSize = 0;
    // The reserved range: the segment's pages and one inaccessible page behind them.
    void* reservation = nullptr;
    size_t reservationSize = 0;
    bool created = false;
    // Open while mapped, for the size and the identity.
    int descriptor = -1;
    quint64 device = 0;
    quint64 inode = 0;
    HSigbusGuard guard;
};
