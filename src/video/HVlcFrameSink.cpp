#include "HVlcFrameSink.h"

#include "HVideoFrameTexture.h"
#include "VideoLogging.h"

#include <vlc/vlc.h>

#include <cstring>

namespace {

// The decoder may pad the picture it proposes (H.264 adds a couple of rows); a difference larger
// than this is a different picture, not padding.
constexpr unsigned maxPadding = 64;

// The decoder's own chromas of 8-bit 4:2:0 pictures. J420 is the full-range (JPEG) variant.
bool isPlanar420(const char* chroma)
{
    for (const char* planar : {"I420", "IYUV", "YV12", "J420", "NV12", "NV21"}) {
        if (std::strncmp(chroma, planar, 4) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

HVlcFrameSink::HVlcFrameSink(libvlc_media_player_t* mediaPlayer, std::shared_ptr<HVideoFeed> videoFeed)
    : player(mediaPlayer), feed(std::move(videoFeed))
{
    libvlc_video_set_callbacks(player, &HVlcFrameSink::lockFrame, &HVlcFrameSink::unlockFrame,
                               &HVlcFrameSink::displayFrame, this);
    libvlc_video_set_format_callbacks(player, &HVlcFrameSink::formatSetup, &HVlcFrameSink::formatCleanup);
}

void HVlcFrameSink::setPaused(bool nowPaused)
{
    if (nowPaused && !paused.load()) {
        pausedPictureKnown = false;
    }
    paused = nowPaused;
}

QSize HVlcFrameSink::pictureSize(unsigned proposedWidth, unsigned proposedHeight) const
{
    // libvlc proposes the decoder's buffer size, which can be larger than the picture; accepting it
    // makes libvlc rescale every frame. The media's video track knows the picture's own size.
    // Careful: this runs on a decoder thread that stop() and set_media() wait for while they hold the
    // player's input lock, so nothing here may take that lock (libvlc_video_get_track() does).
    QSize size{int(proposedWidth), int(proposedHeight)};
    libvlc_media_t* current = libvlc_media_player_get_media(player);
    if (!current) {
        return size;
    }
    libvlc_media_track_t** tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(current, &tracks);
    for (unsigned i = 0; i < count; ++i) {
        const libvlc_media_track_t* track = tracks[i];
        if (track->i_type != libvlc_track_video) {
            continue;
        }
        const unsigned width = track->video->i_width;
        const unsigned height = track->video->i_height;
        if (width > 0 && height > 0 && width <= proposedWidth && height <= proposedHeight &&
            proposedWidth - width < maxPadding && proposedHeight - height < maxPadding) {
            size = QSize(int(width), int(height));
            break;
        }
    }
    if (count > 0) {
        libvlc_media_tracks_release(tracks, count);
    }
    libvlc_media_release(current);
    return size;
}

unsigned HVlcFrameSink::formatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                    unsigned* pitches, unsigned* lines)
{
    auto* sink = static_cast<HVlcFrameSink*>(*opaque);
    const QSize size = sink->pictureSize(*width, *height);
    const bool planar = isPlanar420(chroma);
    const HFrameFormat format =
        planar ? HFrameFormat::nv12(size, std::strncmp(chroma, "J420", 4) == 0) : HFrameFormat::rgba(size);
    qCDebug(lcVideo, "libvlc proposes %ux%u %.4s, using %dx%d %s", *width, *height, chroma, size.width(),
            size.height(), planar ? "NV12" : "RGBA");

    std::memcpy(chroma, planar ? "NV12" : "RGBA", 5);
    *width = unsigned(size.width());
    *height = unsigned(size.height());
    for (int plane = 0; plane < format.planeCount(); ++plane) {
        pitches[plane] = unsigned(format.pitch(plane));
        lines[plane] = unsigned(format.planeSize(plane).height());
    }
    sink->feed->pool.configure(format);
    emit sink->formatChanged();
    // libvlc copies each picture into one of its buffers, which lockFrame() hands out from the pool.
    return 1;
}

void HVlcFrameSink::formatCleanup(void* opaque)
{
    static_cast<HVlcFrameSink*>(opaque)->feed->pool.clear();
}

void* HVlcFrameSink::lockFrame(void* opaque, void** planes)
{
    auto* sink = static_cast<HVlcFrameSink*>(opaque);
    // Never waits: a free buffer, or the newest picture the window has not taken (dropped).
    HFramePool::Buffer* buffer = sink->feed->pool.acquire();
    for (int plane = 0; plane < buffer->format().planeCount(); ++plane) {
        planes[plane] = buffer->plane(plane);
    }
    return buffer;
}

void HVlcFrameSink::displayFrame(void* opaque, void* picture)
{
    auto* sink = static_cast<HVlcFrameSink*>(opaque);
    auto* buffer = static_cast<HFramePool::Buffer*>(picture);
    if (sink->paused.load()) {
        const quint64 fingerprint = HFramePool::fingerprint(*buffer);
        if (sink->pausedPictureKnown.exchange(true) && fingerprint == sink->pausedPicture) {
            sink->feed->pool.withdraw(buffer);
            return;
        }
        sink->pausedPicture = fingerprint;
    }
    sink->feed->pool.publish(buffer);
    emit sink->frameReady();
}

void HVlcFrameSink::unlockFrame(void* opaque, void* picture, void* const* planes)
{
    Q_UNUSED(planes)
    // The picture is written; libvlc shows it (display) when its time comes.
    static_cast<HVlcFrameSink*>(opaque)->feed->pool.complete(static_cast<HFramePool::Buffer*>(picture));
}
