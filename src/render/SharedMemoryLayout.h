#pragma once

#include <QtEndian>
#include <QtGlobal>

// The layout of the shared-memory frame segment that another process (a producer) writes and the
// viewer reads: a fixed header, a table of slot descriptors, and each slot's pixel rows somewhere
// after its descriptor. Little-endian throughout; offsets in bytes.
namespace SharedMemoryLayout {

// The segment's name on every platform; the POSIX mapping adds the leading slash.
inline constexpr char segmentName[] = "MXQF_Shared_Memory";
// At the start of the segment, NUL-terminated: anything else is a producer we do not understand.
inline constexpr char versionText[] = "MXQF_Shared_Memory1.1";

// Header.
constexpr qint64 versionOffset = 0;
constexpr qint64 versionCapacity = 128;
constexpr qint64 producerHandleOffset = 128; // 32-bit, the producer's own
constexpr qint64 slotCountOffset = 136;      // 16-bit
constexpr qint64 consumerClosedOffset = 140; // 32-bit, the viewer writes 1 when it lets go
constexpr qint64 headerSize = 144;

// Slot descriptors follow the header.
constexpr qint64 slotTableOffset = headerSize;
constexpr qint64 slotDescriptorSize = 48;
// Inside a descriptor.
constexpr qint64 frameNumberOffset = 0; // 64-bit, written by our producer, never read by the viewer
constexpr qint64 dataOffsetOffset = 8;  // 32-bit, from the descriptor's start; 0 means no data
constexpr qint64 widthOffset = 16;      // 16-bit, pixels
constexpr qint64 heightOffset = 18;     // 16-bit, pixels
constexpr qint64 bytesPerLineOffset = 20;
constexpr qint64 frameReadyOffset = 40; // 16-bit, set by the producer, cleared by the viewer

// Pixels are red, green, blue bytes, rows top first.
constexpr int bytesPerPixel = 3;

constexpr qint64 slotDescriptor(int index)
{
    return slotTableOffset + slotDescriptorSize * index;
}

template <typename T>
T read(const uchar* base, qint64 offset)
{
    return qFromLittleEndian<T>(base + offset);
}

template <typename T>
void write(uchar* base, qint64 offset, T value)
{
    qToLittleEndian<T>(value, base + offset);
}

} // namespace SharedMemoryLayout
