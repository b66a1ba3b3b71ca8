#include "HVideoFrameTexture.h"

#include "base/HMonotonicClock.h"
#include "render/RenderLogging.h"

#include <QDeadlineTimer>

HVideoFrameTexture::HVideoFrameTexture(std::shared_ptr<HVideoFeed> videoFeed) : feed(std::move(videoFeed))
{
}

bool HVideoFrameTexture::updateTexture()
{
    const quint64 media = feed->media.load();
    bool changed = false;
    if (media != shownMedia && !isEmpty()) {
        setEmpty();
        changed = true;
    }
    const std::shared_ptr<const HFramePool::Buffer> frame = feed->pool.takeNewest();
    if (!frame) {
        return changed;
    }
    const uchar* const planes[3] = {frame->plane(0), frame->plane(1), frame->plane(2)};
    upload(frame->format(), planes);
    const double now = HMonotonicClock::nowMs();
    if (media == shownMedia && lastUpload > 0) {
        const int gap = int(now - lastUpload);
        if (gap > feed->longestGap.load()) {
            feed->longestGap = gap;
        }
    }
    lastUpload = now;
    const int waited = int(now - frame->publishedAt());
    if (waited > feed->latencyMax.load()) {
        feed->latencyMax = waited;
    }
    feed->latencySum += waited;
    ++feed->latencyCount;
    feed->pool.finished(frame);
    if (media != shownMedia) {
        shownMedia = media;
        qCInfo(lcRenderStats, "first frame presented, %lld ms after opening",
               QDeadlineTimer::current().deadline() - feed->openedAt.load());
    }
    return true;
}
