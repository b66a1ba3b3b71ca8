// How libvlc's format callback should be answered: with the size libvlc proposes (the decoder's
// padded buffer, e.g. 3840x1922 for a 3840x1920 H.264 stream) or with the picture's own size.
// Plays FILE to the end once each way through bare video callbacks into an RV32 buffer, with the
// video item's own libvlc arguments, and prints sizes and CPU.
//
// usage: bench_vlc_format FILE

#include "video/HuiQuickVideoPlayerVlc.h"

#include <QByteArray>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <vlc/vlc.h>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Run
{
    libvlc_media_player_t* player = nullptr;
    bool realSize = false;
    std::vector<unsigned char> buffer;
    unsigned proposedWidth = 0, proposedHeight = 0, usedWidth = 0, usedHeight = 0;
    std::atomic<int> frames{0};
    std::atomic<bool> ended{false};
};

unsigned setup(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
               unsigned* lines)
{
    Run* run = static_cast<Run*>(*opaque);
    run->proposedWidth = *width;
    run->proposedHeight = *height;
    if (run->realSize) {
        if (libvlc_media_t* media = libvlc_media_player_get_media(run->player)) {
            libvlc_media_track_t** tracks = nullptr;
            const unsigned count = libvlc_media_tracks_get(media, &tracks);
            for (unsigned i = 0; i < count; ++i) {
                const libvlc_video_track_t* video =
                    tracks[i]->i_type == libvlc_track_video ? tracks[i]->video : nullptr;
                if (video && video->i_width && video->i_height && video->i_width <= *width &&
                    video->i_height <= *height) {
                    *width = video->i_width;
                    *height = video->i_height;
                    break;
                }
            }
            if (count > 0) {
                libvlc_media_tracks_release(tracks, count);
            }
            libvlc_media_release(media);
        }
    }
    run->usedWidth = *width;
    run->usedHeight = *height;
    std::memcpy(chroma, "RV32", 5);
    run->buffer.assign(size_t(*width) * *height * 4, 0);
    pitches[0] = *width * 4;
    lines[0] = *height;
    return 1;
}

void* lock(void* opaque, void** planes)
{
    planes[0] = static_cast<Run*>(opaque)->buffer.data();
    return nullptr;
}

void unlock(void* opaque, void*, void* const*)
{
    static_cast<Run*>(opaque)->frames.fetch_add(1);
}

void ended(const libvlc_event_t*, void* opaque)
{
    static_cast<Run*>(opaque)->ended.store(true);
}

void playOnce(libvlc_instance_t* instance, const QByteArray& location, bool realSize)
{
    Run run;
    run.realSize = realSize;
    run.player = libvlc_media_player_new(instance);
    libvlc_video_set_callbacks(run.player, lock, unlock, nullptr, &run);
    libvlc_video_set_format_callbacks(run.player, setup, nullptr);
    libvlc_event_attach(libvlc_media_player_event_manager(run.player), libvlc_MediaPlayerEndReached, ended,
                        &run);
    libvlc_event_attach(libvlc_media_player_event_manager(run.player), libvlc_MediaPlayerEncounteredError,
                        ended, &run);
    libvlc_media_t* media = libvlc_media_new_location(instance, location.constData());
    libvlc_media_player_set_media(run.player, media);

    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    libvlc_media_player_play(run.player);
    while (!run.ended.load() && std::chrono::steady_clock::now() - start < std::chrono::seconds(120)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const double cpu = cpuSeconds() - cpuBefore;
    libvlc_media_player_stop(run.player);
    libvlc_media_player_release(run.player);
    libvlc_media_release(media);

    const int frames = run.frames.load();
    std::printf("  %-12s proposed %ux%u, answered %ux%u: %d frames, %.2f CPU s, %.1f ms per frame\n",
                realSize ? "real size" : "padded size", run.proposedWidth, run.proposedHeight, run.usedWidth,
                run.usedHeight, frames, cpu, frames > 0 ? cpu * 1000 / frames : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || !QFileInfo::exists(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: bench_vlc_format FILE\n");
        return 2;
    }
    const QStringList arguments = HuiQuickVideoPlayerVlc::instanceArguments(false);
    std::vector<QByteArray> storage;
    std::vector<const char*> argv2;
    for (const QString& argument : arguments) {
        storage.push_back(argument.toUtf8());
    }
    for (const QByteArray& bytes : storage) {
        argv2.push_back(bytes.constData());
    }
    libvlc_instance_t* instance = libvlc_new(int(argv2.size()), argv2.data());
    if (!instance) {
        std::fprintf(stderr, "bench_vlc_format: libvlc did not start\n");
        return 1;
    }
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QByteArray location = QUrl::fromLocalFile(file).toString().toUtf8();
    std::printf("format callback benchmark: %s\n", qPrintable(QFileInfo(file).fileName()));
    playOnce(instance, location, false);
    playOnce(instance, location, true);
    libvlc_release(instance);
    return 0;
}
