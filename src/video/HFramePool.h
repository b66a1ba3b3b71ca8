#pragma once

#include "render/HFrameFormat.h"

#include <mutex>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

// The few picture buffers that the decoder writes into and the render thread uploads from. The
// decoder never waits for the renderer: it takes a free buffer, or, when there is none, the newest
// picture that was never drawn (a dropped frame). A published picture is the newest until the
// renderer takes it or a newer one overtakes it, which also counts as a drop. One mutex guards the
// state changes only; the pixels are written and read outside it.
//
// Buffer states: free -> writing (decoder) -> ready (newest) -> reading (render thread) -> free. The
// decoder fills a buffer between acquire() and complete(), then holds it until its presentation
// time, when publish() makes it the newest. It holds at most `decoderPictures` buffers at a time: a
// further acquire() means it let go of the oldest without showing it (a late picture it skipped),
// which counts as a drop. configure() starts buffers of a new format; a buffer of an old format that
// is being read stays valid until the reader is done with it.
class HFramePool
{
public:
    class Buffer
    {
    public:
        const HFrameFormat& format() const { return bufferFormat; }
        uchar* plane(int index) const { return planes[std::size_t(index)]; }
        // Publication order, from 1.
        quint64 serial() const { return publication; }
        // When the decoder handed it over (libvlc shows a picture when it is due), in milliseconds
        // of the monotonic clock.
        double publishedAt() const { return publicationTime; }

    private:
        friend class HFramePool;
        enum State
        {
            Free,
            Writing,
            Ready,
            Reading
        };
        explicit Buffer(const HFrameFormat& format);
        HFrameFormat bufferFormat;
        std::unique_ptr<uchar[]> storage;
        std::array<uchar*, 3> planes{};
        State state = Free;
        bool heldByDecoder = false;
        bool written = false;
        // When the decoder took it, to let go of the oldest first.
        quint64 acquisition = 0;
        quint64 generation = 0;
        quint64 publication = 0;
        double publicationTime = 0;
    };

    explicit HFramePool(int size = 3, int decoderPictures = 1);

    // Decoder side (libvlc's video threads).
    void configure(const HFrameFormat& format);
    void clear();
    // Drops the newest picture if the renderer has not taken it (the media it belongs to is gone).
    void discardNewest();
    // A buffer to write the next picture into, or null when no format is configured.
    Buffer* acquire();
    // The decoder has written the whole picture (it may still wait to be shown).
    void complete(Buffer* buffer);
    // The picture's time has come: it becomes the newest, and the decoder lets go of the buffer.
    void publish(Buffer* buffer);
    // The decoder lets go of the buffer without showing it and without a drop: the picture repeats
    // the one shown before.
    void withdraw(Buffer* buffer);
    // A cheap fingerprint of a written picture, to tell a repeated picture from a new one.
    static quint64 fingerprint(const Buffer& buffer);

    // Render side: the newest picture not taken yet, or null. Hand it back with finished().
    std::shared_ptr<const Buffer> takeNewest();
    void finished(const std::shared_ptr<const Buffer>& buffer);
    // Whether the pool was configured anew since a buffer of that generation was handed out: the
    // picture shown then belongs to another format or media.
    quint64 generation() const;
    bool isCurrent(const std::shared_ptr<const Buffer>& buffer) const;

    HFrameFormat format() const;
    // Counted since construction: pictures published, pictures overtaken before they were taken,
    // pictures taken by the renderer.
    int published() const { return publishedCount.load(); }
    int dropped() const { return droppedCount.load(); }
    int taken() const { return takenCount.load(); }
    // Buffers allocated for the current format (they are made when first needed).
    int allocated() const;

private:
    std::shared_ptr<Buffer> find(const Buffer* buffer) const;
    void letGoOfSkipped();
    void forget(Buffer* buffer);

    // The standard one, which ThreadSanitizer sees (Qt's own is built without it).
    mutable std::mutex mutex;
    const int poolSize;
    const int decoderLimit;
    quint64 lastAcquisition = 0;
    HFrameFormat currentFormat;
    quint64 currentGeneration = 0;
    quint64 lastPublication = 0;
    std::vector<std::shared_ptr<Buffer>> buffers;
    // Buffers of an earlier format still held by the decoder or the renderer.
    std::vector<std::shared_ptr<Buffer>> retired;
    std::shared_ptr<Buffer> newest;
    std::atomic<int> publishedCount{0};
    std::atomic<int> droppedCount{0};
    std::atomic<int> takenCount{0};
};
