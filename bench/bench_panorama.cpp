// Time per frame of the panorama pass: VeyrixView::paint (program, uniforms, one rectangle over the
// item) into a framebuffer of the item's size, from a 4096 x 2048 frame texture, followed by
// glFinish so that the GPU's work (llvmpipe's threads, without a GPU) is included. Prints the
// median and the spread over a few hundred frames for each size and projection, and the machine's
// load, since other programs on the same cores change the figures.
//
// Needs an X server with OpenGL: tests/run-test.sh --gl build/bench/bench_panorama [frames]
// (or cmake --build build --target run-bench-panorama).

#include "BenchSupport.h"
#include "app/HSettingsManager.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/VeyrixView.h"
#include "session/HGlobalObject.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLPaintDevice>
#include <QOpenGLTexture>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A frame with detail everywhere, so that sampling costs what a real picture costs.
QImage frameImage()
{
    QImage image(4096, 2048, QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            line[4 * x + 0] = uchar(x * 255 / image.width());
            line[4 * x + 1] = uchar(y * 255 / image.height());
            line[4 * x + 2] = uchar(128 + 100 * std::sin(x * 0.05) * std::sin(y * 0.05));
            line[4 * x + 3] = 255;
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(10, QString::fromLocal8Bit(argv[1]).toInt()) : 300;

    QOffscreenSurface surface;
    QOpenGLContext context;
    if (!BenchSupport::makeContextCurrent(surface, context, "bench_panorama")) {
        return 1;
    }
    QOpenGLFunctions* gl = context.functions();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(gl->glGetString(GL_RENDERER)));
    std::printf("load average before: %s\n", qPrintable(BenchSupport::loadAverage()));

    QOpenGLTexture texture(frameImage(), QOpenGLTexture::DontGenerateMipMaps);
    texture.setMinMagFilters(QOpenGLTexture::Linear, QOpenGLTexture::Linear);
    texture.setWrapMode(QOpenGLTexture::ClampToEdge);

    HSettingsManager settings(QSettings::UserScope, QStringLiteral("Zelmo"),
                              QStringLiteral("Gyre Player bench"));
    HGlobalObject global(&settings);
    HShaderCodeBuilder builder;
    HTextureProvider provider(nullptr, &settings);
    provider.setTextureId(int(texture.textureId()));

    std::printf("%d frames each, texture %dx%d, default picture band, fov %g\n", frames, texture.width(),
                texture.height(), double(global.fov()));
    std::printf("%-11s %-14s %9s %9s %9s %9s\n", "size", "projection", "median", "p10", "p90", "min");
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)}) {
        QOpenGLFramebufferObject target(size);
        QOpenGLPaintDevice device(size);
        for (const auto& [projection, name] : {std::pair{int(HShaderCodeBuilder::RECTILINEAR), "rectilinear"},
                                               std::pair{int(HShaderCodeBuilder::NO_PROJECTION), "flat"}}) {
            VeyrixView view;
            view.setSize(size);
            view.init(&builder, &global, &provider);
            builder.setProjection(projection);
            target.bind();
            std::vector<double> milliseconds;
            QElapsedTimer timer;
            for (int i = -10; i < frames; ++i) { // the first ten build the program and warm up
                global.setYaw(global.yaw() + 0.01f);
                timer.start();
                {
                    QPainter painter(&device);
                    view.paint(&painter);
                }
                gl->glFinish();
                if (i >= 0) {
                    milliseconds.push_back(timer.nsecsElapsed() / 1e6);
                }
            }
            // Figures of a pass that drew nothing would mean nothing: the centre shows the frame.
            const QRgb centre = target.toImage().pixel(size.width() / 2, size.height() / 2);
            if (qAlpha(centre) != 255 || qBlue(centre) == 0) {
                std::fprintf(stderr, "bench_panorama: the %s pass drew nothing\n", name);
                return 1;
            }
            std::printf(
                "%-11s %-14s %6.2f ms %6.2f ms %6.2f ms %6.2f ms\n",
                qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())), name,
                BenchSupport::percentile(milliseconds, 0.5), BenchSupport::percentile(milliseconds, 0.1),
                BenchSupport::percentile(milliseconds, 0.9), BenchSupport::percentile(milliseconds, 0.0));
            std::fflush(stdout);
        }
    }
    std::printf("load average after: %s\n", qPrintable(BenchSupport::loadAverage()));
    return 0;
}
