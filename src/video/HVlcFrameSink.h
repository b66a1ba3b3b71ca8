#pragma once

#include <QObject>
#include <QSize>

#include <atomic>
#include <memory>

struct libvlc_media_player_t;
struct HVideoFeed;

// Where libvlc's decoder puts its pictures: the video callbacks of one media player, writing into the
// feed's frame pool. 8-bit 4:2:0 pictures stay as decoded (NV12 planes the shader converts); every
// other chroma is converted to RGBA by libvlc.
//
// The callbacks run on libvlc's video threads; what the GUI thread must hear of leaves as a signal,
// to be connected queued.
class HVlcFrameSink : public QObject
{
    Q_OBJECT

public:
    HVlcFrameSink(libvlc_media_player_t* player, std::shared_ptr<HVideoFeed> feed);

    // While paused, libvlc shows the same picture again every few tens of milliseconds: such repeats
    // are recognised by their fingerprint and neither published nor counted.
    void setPaused(bool paused);

signals:
    // A new picture is in the pool.
    void frameReady();
    // The pictures of the media have a (new) size.
    void formatChanged();

private:
    static unsigned formatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                unsigned* pitches, unsigned* lines);
    static void formatCleanup(void* opaque);
    static void* lockFrame(void* opaque, void** planes);
    static void unlockFrame(void* opaque, void* picture, void* const* planes);
    static void displayFrame(void* opaque, void* picture);

    QSize pictureSize(unsigned proposedWidth, unsigned proposedHeight) const;

    libvlc_media_player_t* const player;
    const std::shared_ptr<HVideoFeed> feed;
    std::atomic<bool> paused{false};
    std::atomic<bool> pausedPictureKnown{false};
    quint64 pausedPicture = 0; // libvlc's video output thread
};
