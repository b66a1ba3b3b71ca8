#pragma once

#include "media/HSpatialAudio.h"

#include <QObject>

#include <memory>

struct libvlc_media_player_t;
class QUrl;
class HAudioSink;
class HSpatialAudioRenderer;
class HSpatialSound;

// Takes an ambisonic track's decoded sound from libvlc (its audio callbacks) and hands the
// first-order field to the spatial renderer, which plays it through a sound output of ours.
//
// libvlc must see the track as plain four-channel sound, or it renders the field itself (with
// front and up exchanged, and a turn heard only after everything it decoded ahead); the player
// opens such media with libavformat's demuxer, which leaves the SA3D box to us. The four channels
// then come in the positions of libvlc's layout for the decoder's channel order (see the source),
// so the tap asks for seven channels, where every such layout keeps each channel apart.
//
// The callbacks run on libvlc's audio thread; the object itself lives on the GUI thread.
class HVlcAudioTap : public QObject
{
    Q_OBJECT

public:
    HVlcAudioTap(libvlc_media_player_t* player, HSpatialSound* sound);
    ~HVlcAudioTap() override;

    // The track to take, before the media plays.
    void setLayout(const HSpatialAudio& layout);

    // A head-locked stereo track plays in a second, sound-only player of the same file, which
    // follows the first: started with it, paused, stopped, moved and sped up with it.
    void openHeadLocked(const QUrl& url);
    void followState(int vlcState);
    void followSeek(int milliseconds);
    void followRate(float rate);

private:
    static int setup(void** opaque, char* format, unsigned* rate, unsigned* channels);
    static void cleanup(void* opaque);
    static void play(void* opaque, const void* samples, unsigned count, int64_t pts);
    static void pause(void* opaque, int64_t pts);
    static void resume(void* opaque, int64_t pts);
    static void flush(void* opaque, int64_t pts);
    static void volume(void* opaque, float volume, bool mute);
    static int setupHeadLocked(void** opaque, char* format, unsigned* rate, unsigned* channels);
    static void playHeadLocked(void* opaque, const void* samples, unsigned count, int64_t pts);
    static void flushHeadLocked(void* opaque, int64_t pts);
    void closeHeadLocked();

    libvlc_media_player_t* player;
    libvlc_media_player_t* companion = nullptr;
    HSpatialSound* sound;
    std::unique_ptr<HSpatialAudioRenderer> renderer;
    std::unique_ptr<HAudioSink> sink;
    // Set before playing, read on libvlc's audio thread.
    HSpatialAudio layout;
    int positions[4] = {0, 1, 2, 3}; // where ACN 0..3 arrive among the seven channels
    float gains[4] = {1, 1, 1, 1};
    bool started = false;
};
