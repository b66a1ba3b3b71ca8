#include "HVlcEventRelay.h"

#include "HVlcInstance.h"
#include "base/HMonotonicClock.h"

#include <vlc/vlc.h>

namespace {
constexpr libvlc_event_e playerEvents[] = {libvlc_MediaPlayerTimeChanged, libvlc_MediaPlayerEncounteredError};
constexpr libvlc_event_e mediaEvents[] = {libvlc_MediaStateChanged, libvlc_MediaParsedChanged};
} // namespace

HVlcEventRelay::HVlcEventRelay(libvlc_media_player_t* mediaPlayer) : player(mediaPlayer)
{
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(player);
    for (libvlc_event_e type : playerEvents) {
        libvlc_event_attach(events, type, &HVlcEventRelay::handleEvent, this);
    }
}

HVlcEventRelay::~HVlcEventRelay()
{
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(player);
    for (libvlc_event_e type : playerEvents) {
        libvlc_event_detach(events, type, &HVlcEventRelay::handleEvent, this);
    }
    detachMedia();
}

quint64 HVlcEventRelay::attachMedia(libvlc_media_t* newMedia)
{
    detachMedia();
    media = newMedia;
    mediaContext.reset(new MediaContext{this, ++currentGeneration});
    libvlc_event_manager_t* events = libvlc_media_event_manager(media);
    for (libvlc_event_e type : mediaEvents) {
        libvlc_event_attach(events, type, &HVlcEventRelay::handleEvent, mediaContext.get());
    }
    return currentGeneration;
}

void HVlcEventRelay::detachMedia()
{
    if (!media) {
        return;
    }
    // Detaching waits for a handler that is running, so the context can go afterwards.
    libvlc_event_manager_t* events = libvlc_media_event_manager(media);
    for (libvlc_event_e type : mediaEvents) {
        libvlc_event_detach(events, type, &HVlcEventRelay::handleEvent, mediaContext.get());
    }
    media = nullptr;
    mediaContext.reset();
    ++currentGeneration;
}

void HVlcEventRelay::handleEvent(const libvlc_event_t* event, void* opaque)
{
    // libvlc's event thread: the signals reach the GUI thread queued.
    switch (event->type) {
    case libvlc_MediaStateChanged: {
        const auto* context = static_cast<const MediaContext*>(opaque);
        const int state = event->u.media_state_changed.new_state;
        emit context->relay->mediaStateChanged(context->generation, state,
                                               state == libvlc_Error ? HVlcInstance::lastError() : QString(),
                                               HMonotonicClock::nowMs());
        break;
    }
    case libvlc_MediaParsedChanged: {
        const auto* context = static_cast<const MediaContext*>(opaque);
        emit context->relay->mediaParsed(context->generation);
        break;
    }
    case libvlc_MediaPlayerEncounteredError:
        emit static_cast<HVlcEventRelay*>(opaque)->playerError(HVlcInstance::lastError());
        break;
    case libvlc_MediaPlayerTimeChanged:
        emit static_cast<HVlcEventRelay*>(opaque)->timeChanged(
            int(event->u.media_player_time_changed.new_time), HMonotonicClock::nowMs());
        break;
    default:
        break;
    }
}
