#include "HFramePool.h"

#include "base/HMonotonicClock.h"

#include <algorithm>
#include <cstring>

HFramePool::Buffer::Buffer(const HFrameFormat& format) : bufferFormat(format)
{
    // Uninitialised: the decoder writes every byte of a picture before it is published.
    storage.reset(new uchar[format.bytes()]);
    uchar* next = storage.get();
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        planes[std::size_t(plane)] = next;
        next += format.planeBytes(plane);
    }
}

HFramePool::HFramePool(int size, int decoderPictures)
    : poolSize(std::max(size, 2)), decoderLimit(std::max(decoderPictures, 1))
{
}

void HFramePool::configure(const HFrameFormat& format)
{
    const std::lock_guard<std::mutex> locker(mutex);
    for (const std::shared_ptr<Buffer>& buffer : buffers) {
        if (buffer->heldByDecoder || buffer->state == Buffer::Reading) {
            retired.push_back(buffer);
        }
    }
    buffers.clear();
    if (newest) {
        // Published for a format that is gone, and never drawn.
        droppedCount.fetch_add(1);
        newest.reset();
    }
    currentFormat = format;
    ++currentGeneration;
}

void HFramePool::clear()
{
    configure(HFrameFormat());
}

void HFramePool::discardNewest()
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (newest) {
        newest->state = Buffer::Free;
        newest.reset();
        droppedCount.fetch_add(1);
    }
}

HFramePool::Buffer* HFramePool::acquire()
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (!currentFormat.isValid()) {
        return nullptr;
    }
    letGoOfSkipped();
    std::shared_ptr<Buffer> chosen;
    for (const std::shared_ptr<Buffer>& buffer : buffers) {
        if (buffer->state == Buffer::Free && !buffer->heldByDecoder) {
            chosen = buffer;
            break;
        }
    }
    if (!chosen && int(buffers.size()) >= poolSize && newest && !newest->heldByDecoder) {
        // Every buffer is in use and the renderer has not taken the newest picture: it goes.
        chosen = newest;
        newest.reset();
        droppedCount.fetch_add(1);
    }
    if (!chosen) {
        // Fewer buffers than the pool holds so far, or all of them in the decoder's and the
        // renderer's hands: one more rather than a wait.
        chosen.reset(new Buffer(currentFormat));
        chosen->generation = currentGeneration;
        buffers.push_back(chosen);
    }
    chosen->state = Buffer::Writing;
    chosen->heldByDecoder = true;
    chosen->written = false;
    chosen->acquisition = ++lastAcquisition;
    return chosen.get();
}

void HFramePool::letGoOfSkipped()
{
    for (;;) {
        int held = 0;
        Buffer* oldest = nullptr;
        for (const auto* list : {&buffers, &retired}) {
            for (const std::shared_ptr<Buffer>& buffer : *list) {
                if (buffer->heldByDecoder) {
                    ++held;
                    if (!oldest || buffer->acquisition < oldest->acquisition) {
                        oldest = buffer.get();
                    }
                }
            }
        }
        if (held < decoderLimit) {
            return;
        }
        if (oldest->written) {
            droppedCount.fetch_add(1); // decoded, but never shown
        }
        oldest->heldByDecoder = false;
        if (oldest->state == Buffer::Writing) {
            oldest->state = Buffer::Free;
        }
        forget(oldest);
    }
}

void HFramePool::complete(Buffer* buffer)
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (buffer) {
        buffer->written = true;
    }
}

void HFramePool::publish(Buffer* buffer)
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (!buffer || !buffer->heldByDecoder) {
        return; // let go of already
    }
    buffer->heldByDecoder = false;
    buffer->publicationTime = HMonotonicClock::nowMs();
    const std::shared_ptr<Buffer> published = find(buffer);
    if (!published || buffer->generation != currentGeneration || buffer->state != Buffer::Writing) {
        // A picture of a format that has been replaced.
        if (buffer->state == Buffer::Writing) {
            buffer->state = Buffer::Free;
        }
        forget(buffer);
        return;
    }
    if (newest) {
        newest->state = Buffer::Free;
        droppedCount.fetch_add(1);
    }
    published->state = Buffer::Ready;
    published->publication = ++lastPublication;
    newest = published;
    publishedCount.fetch_add(1);
}

void HFramePool::withdraw(Buffer* buffer)
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (!buffer || !buffer->heldByDecoder) {
        return;
    }
    buffer->heldByDecoder = false;
    if (buffer->state == Buffer::Writing) {
        buffer->state = Buffer::Free;
    }
    forget(buffer);
}

quint64 HFramePool::fingerprint(const Buffer& buffer)
{
    // Every byte counts, eight at a time: two pictures that differ anywhere differ here.
    quint64 hash = 0xcbf29ce484222325ULL;
    const HFrameFormat& format = buffer.format();
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        const uchar* bytes = buffer.plane(plane);
        const std::size_t size = format.planeBytes(plane);
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            quint64 word;
            std::memcpy(&word, bytes + i, 8);
            hash = (hash ^ word) * 0x100000001b3ULL;
            hash ^= hash >> 29;
        }
        for (; i < size; ++i) {
            hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
        }
    }
    return hash;
}

void HFramePool::forget(Buffer* buffer)
{
    // Only buffers of an earlier format are forgotten, once nobody holds them.
    if (buffer->generation == currentGeneration || buffer->heldByDecoder ||
        buffer->state == Buffer::Reading) {
        return;
    }
    retired.erase(std::remove_if(retired.begin(), retired.end(),
                                 [buffer](const std::shared_ptr<Buffer>& b) { return b.get() == buffer; }),
                  retired.end());
}

std::shared_ptr<const HFramePool::Buffer> HFramePool::takeNewest()
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (!newest) {
        return nullptr;
    }
    std::shared_ptr<Buffer> taken = std::move(newest);
    newest.reset();
    taken->state = Buffer::Reading;
    takenCount.fetch_add(1);
    return taken;
}

void HFramePool::finished(const std::shared_ptr<const Buffer>& buffer)
{
    const std::lock_guard<std::mutex> locker(mutex);
    if (!buffer) {
        return;
    }
    const std::shared_ptr<Buffer> own = find(buffer.get());
    if (!own || own->state != Buffer::Reading) {
        return;
    }
    own->state = Buffer::Free;
    forget(own.get());
}

quint64 HFramePool::generation() const
{
    const std::lock_guard<std::mutex> locker(mutex);
    return currentGeneration;
}

bool HFramePool::isCurrent(const std::shared_ptr<const Buffer>& buffer) const
{
    const std::lock_guard<std::mutex> locker(mutex);
    return buffer && buffer->generation == currentGeneration;
}

HFrameFormat HFramePool::format() const
{
    const std::lock_guard<std::mutex> locker(mutex);
    return currentFormat;
}

int HFramePool::allocated() const
{
    const std::lock_guard<std::mutex> locker(mutex);
    return int(buffers.size());
}

std::shared_ptr<HFramePool::Buffer> HFramePool::find(const Buffer* buffer) const
{
    for (const auto* list : {&buffers, &retired}) {
        for (const std::shared_ptr<Buffer>& candidate : *list) {
            if (candidate.get() == buffer) {
                return candidate;
            }
        }
    }
    return nullptr;
}
