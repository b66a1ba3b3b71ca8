#pragma once

#include "HFramePool.h"
#include "render/HFrameTexture.h"

#include <atomic>
#include <memory>

// What a video item shares with its texture on the render thread: the frame pool, and which media
// the frames belong to, so that a new media never shows the last picture of the one before.
struct HVideoFeed
{
    HFramePool pool;
    // Changed by the item (GUI thread) whenever it opens or closes a media.
    std::atomic<quint64> media{0};
    // When the current media was opened, in milliseconds of the monotonic clock (QDeadlineTimer).
    std::atomic<qint64> openedAt{0};
    // Since the last statistics line, render thread to GUI thread: the longest time between two
    // pictures reaching the window, and how long they waited after libvlc showed them (its clock
    // follows the sound), all in milliseconds.
    std::atomic<int> longestGap{0};
    std::atomic<int> latencyMax{0};
    std::atomic<qint64> latencySum{0};
    std::atomic<int> latencyCount{0};
};

// The video item's frames on the render thread: each updateTexture() uploads the newest decoded
// picture, if there is one the window has not shown yet.
class HVideoFrameTexture : public HFrameTexture
{
    Q_OBJECT

public:
    explicit HVideoFrameTexture(std::shared_ptr<HVideoFeed> feed);

    bool updateTexture() override;

private:
    double lastUpload = 0;
    std::shared_ptr<HVideoFeed> feed;
    quint64 shownMedia = 0;
};
