// What one frame of the panorama costs in a real window: the view draws a frame texture through the
// scene graph, as in the player, and each frame either uploads a new picture (video) or not (a
// still). Prints, per input (RGBA or YUV planes), projection and window size, the wall time and the
// whole-process CPU time per frame (llvmpipe's threads included: without a GPU they do the drawing)
// over a few hundred frames, and the machine's load, since other programs change the figures.
//
// Needs an X server with OpenGL: tests/run-test.sh --gl build/bench/bench_panorama [frames [word...]]
// where the words pick the rows that contain all of them ("1280x720 YUV video", say)
// (or cmake --build build --target run-bench-panorama).

#include "BenchSupport.h"
#include "base/HSettingsManager.h"
#include "render/HFrameTexture.h"
#include "render/HFrameTextureProvider.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/VeyrixView.h"
#include "session/HGlobalObject.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1000.0 +
           (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1000.0;
}

// A 3840 x 1920 picture with detail everywhere, as RGBA or as NV12 planes, uploaded at every
// updateTexture() when `moving`.
class BenchTexture : public HFrameTexture
{
public:
    BenchTexture(HFrameFormat::Pixels pixels, bool moving) : still(!moving)
    {
        const QSize size(3840, 1920);
        format = pixels == HFrameFormat::Nv12 ? HFrameFormat::nv12(size, false) : HFrameFormat::rgba(size);
        for (int plane = 0; plane < format.planeCount(); ++plane) {
            std::vector<uchar> bytes(format.planeBytes(plane));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = uchar(128 + 100 * std::sin(double(i) * 0.013) * std::sin(double(i) * 0.0007));
            }
            planes.push_back(std::move(bytes));
        }
    }

    bool updateTexture() override
    {
        if (still && !isEmpty()) {
            return false;
        }
        const uchar* data[3] = {};
        for (std::size_t plane = 0; plane < planes.size(); ++plane) {
            data[plane] = planes[plane].data();
        }
        upload(format, data);
        return true;
    }

private:
    HFrameFormat format;
    std::vector<std::vector<uchar>> planes;
    bool still;
};

// Provides a bench texture to the view, like the video item does.
class BenchSource : public QQuickItem
{
public:
    BenchSource(HFrameFormat::Pixels framePixels, bool frameMoving) : pixels(framePixels), moving(frameMoving)
    {
        setFlag(ItemHasContents, true);
    }
    ~BenchSource() override { HFrameTextureProvider::scheduleDeletion(window(), provider); }
    bool isTextureProvider() const override { return true; }
    QSGTextureProvider* textureProvider() const override
    {
        if (!provider) {
            provider = new HFrameTextureProvider(std::make_unique<BenchTexture>(pixels, moving));
        }
        return provider;
    }

private:
    HFrameFormat::Pixels pixels;
    bool moving;
    mutable HFrameTextureProvider* provider = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(20, QString::fromLocal8Bit(argv[1]).toInt()) : 200;
    // Only the rows whose line contains every further argument ("1280x720 YUV video", say).
    const QStringList only = app.arguments().mid(2);

    HSettingsManager settings(QSettings::UserScope, QStringLiteral("Zelmo"),
                              QStringLiteral("Gyre Player bench"));
    HGlobalObject global(&settings);
    HShaderCodeBuilder builder;
    std::printf("load average before: %s\n", qPrintable(BenchSupport::loadAverage()));
    std::printf("%d frames each, frame 3840x1920, fov %g\n", frames, double(global.fov()));
    std::printf("%-11s %-6s %-6s %-12s %12s %14s\n", "window", "input", "frames", "projection", "wall/frame",
                "CPU/frame");

    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)}) {
        for (const auto& [pixels, input] :
             {std::pair{HFrameFormat::Rgba, "RGBA"}, std::pair{HFrameFormat::Nv12, "YUV"}}) {
            for (const bool moving : {true, false}) {
                for (const auto& [projection, name] :
                     {std::pair{int(HShaderCodeBuilder::NO_PROJECTION), "flat"},
                      std::pair{int(HShaderCodeBuilder::RECTILINEAR), "rectilinear"}}) {
                    const QString row =
                        QStringLiteral("%1x%2 %3 %4 %5")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(QLatin1String(input), QLatin1String(moving ? "video" : "still"),
                                 QLatin1String(name));
                    if (std::any_of(only.cbegin(), only.cend(),
                                    [&](const QString& word) { return !row.contains(word); })) {
                        continue;
                    }
                    QQuickWindow window;
                    HTextureProvider provider(&window, &settings);
                    BenchSource source(pixels, moving);
                    source.setParentItem(window.contentItem());
                    VeyrixView view(window.contentItem());
                    view.setSize(size);
                    view.init(&builder, &global, &provider);
                    provider.setShaderEffectSource(&source);
                    builder.setProjection(projection);
                    window.resize(size);
                    window.show();
                    if (!QTest::qWaitForWindowExposed(&window)) {
                        std::fprintf(stderr, "bench_panorama: no window (run it under an X server)\n");
                        return 1;
                    }
                    int swapped = 0;
                    QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&] {
                        ++swapped;
                        global.setYaw(global.yaw() + 0.01f);
                    });
                    global.setYaw(global.yaw() + 0.01f);
                    // The first frames build the program and warm up.
                    (void)QTest::qWaitFor([&] { return swapped >= 10; }, 20000);
                    const int start = swapped;
                    const double cpu = processCpuMs();
                    QElapsedTimer wall;
                    wall.start();
                    (void)QTest::qWaitFor([&] { return swapped >= start + frames; }, 600000);
                    const int drawn = swapped - start;
                    std::printf("%-11s %-6s %-6s %-12s %9.2f ms %11.2f ms\n",
                                qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())),
                                input, moving ? "video" : "still", name, double(wall.elapsed()) / drawn,
                                (processCpuMs() - cpu) / drawn);
                    std::fflush(stdout);
                }
            }
        }
    }
    std::printf("load average after: %s\n", qPrintable(BenchSupport::loadAverage()));
    return 0;
}
