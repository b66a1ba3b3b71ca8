#pragma once

#include <QObject>
#include <QString>

#include <memory>

struct libvlc_event_t;
struct libvlc_media_player_t;
struct libvlc_media_t;

// Hears libvlc's events of one media player and of its current media, on libvlc's event thread,
// and passes each on as a signal, to be connected queued. Each media's events carry the generation
// it was attached with, so that what a media queued before it was replaced can be dropped.
class HVlcEventRelay : public QObject
{
    Q_OBJECT

public:
    explicit HVlcEventRelay(libvlc_media_player_t* player);
    // The player must be stopped before: libvlc's event thread may still be in a handler otherwise.
    ~HVlcEventRelay() override;

    // Listens to this media instead of the one before; returns its generation.
    quint64 attachMedia(libvlc_media_t* media);
    // Stops listening to the current media (waits for a handler that is running).
    void detachMedia();
    // The generation of the attached media; that of no media after a detach.
    quint64 generation() const { return currentGeneration; }

signals:
    // `at`: when libvlc sent it, in milliseconds on the monotonic clock.
    void mediaStateChanged(quint64 generation, int state, const QString& error, double at);
    void mediaParsed(quint64 generation);
    void playerError(const QString& error);
    // `at`: when libvlc sent it, in milliseconds on the monotonic clock.
    void timeChanged(int position, double at);

private:
    struct MediaContext
    {
        HVlcEventRelay* relay;
        quint64 generation;
    };

    static void handleEvent(const libvlc_event_t* event, void* opaque);

    libvlc_media_player_t* const player;
    libvlc_media_t* media = nullptr;
    std::unique_ptr<MediaContext> mediaContext;
    quint64 currentGeneration = 0;
};
