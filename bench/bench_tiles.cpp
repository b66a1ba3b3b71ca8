// A panorama photo larger than one texture, in a real 1280x720 window, shown from its tiles as the
// player shows it. Prints, first with an empty tile cache and again with the cache filled:
//  - when the first pixel and the whole window showed the picture after the source was set;
//  - how long the decoder took for the coarse and the fine levels;
//  - for every still view of a full turn and of a zoom to the finest level and back out, how long
//    the view's tiles took to arrive (the tile module's "view complete" lines);
//  - the largest resident memory of the process at any time, sampled every 20 ms.
// With --fidelity, three views at the finest level (ahead, across a tile seam, near a pole) against
// ffmpeg's v360 filter of the same view of the whole photo, as PSNR after a Gaussian low-pass of
// 1.5 pixels of both pictures.
//
// Needs an X server with OpenGL and a private profile: tests/run-test.sh --gl build/bench/bench_tiles
// PHOTO [--fidelity] (bench/run-tiles-bench makes the photos and runs both).

#include "app/HCoreObjects.h"
#include "base/HSettingsManager.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "session/HGlobalObject.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLoggingCategory>
#include <QProcess>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;
const QSize windowSize(1280, 720);

std::atomic<int> viewsComplete{0};
std::atomic<int> lastViewMs{0};
QStringList buildLines;
QtMessageHandler previousHandler = nullptr;

void listen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const QRegularExpression complete("view complete: \\d+ tiles in (\\d+) ms");
    const QRegularExpressionMatch match = complete.match(message);
    if (match.hasMatch()) {
        lastViewMs = match.captured(1).toInt();
        ++viewsComplete;
        return;
    }
    if (message.startsWith("Tiles of levels")) {
        buildLines << message;
    }
    if (type >= QtWarningMsg) {
        previousHandler(type, context, message);
    }
}

double residentMegabytes()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

const char* const sceneSource = R"(
import QtQuick 2.12
import Veyrix 1.0
Rectangle {
    color: "black"
    property alias picture: tiled.source
    HTiledPicture {
        id: tiled
        objectName: "tiled"
        tiling: hPhotoTiling
        Component.onCompleted: hTextureProvider.setShaderEffectSource(tiled)
    }
    VeyrixView {
        anchors.fill: parent
        Component.onCompleted: init(hShaderCodeBuilder, hGlobalObject, hTextureProvider)
    }
}
)";

class Bench
{
public:
    Bench()
    {
        core = std::make_unique<HCoreObjects>(&settings, &window, QStringLiteral("off"));
        core->publish(window.rootContext());
        QFile scene(dir.filePath("scene.qml"));
        scene.open(QIODevice::WriteOnly);
        scene.write(sceneSource);
        scene.close();
        window.setResizeMode(QQuickView::SizeRootObjectToView);
        window.setSource(QUrl::fromLocalFile(scene.fileName()));
        window.resize(windowSize);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "bench_tiles: the window does not show\n");
        }
        core->shaderCodeBuilder()->setProjection(HShaderCodeBuilder::RECTILINEAR);
        HGlobalObject* global = core->globalObject();
        global->setPitchMin(float(-pi / 2));
        global->setPitchMax(float(pi / 2));
        global->setYawMin(float(-pi));
        global->setYawMax(float(pi));
        connect();
    }

    void connect()
    {
        QObject::connect(&sampler, &QTimer::timeout, [this] { peak = std::max(peak, residentMegabytes()); });
        sampler.start(20);
    }

    QImage grab()
    {
        window.update();
        QTest::qWait(20);
        return window.grabWindow();
    }

    // Milliseconds from setting the source to the first pixel, and to the whole window, shown.
    std::pair<qint64, qint64> open(const QString& photo)
    {
        window.rootObject()->setProperty("picture", QUrl());
        QTest::qWait(200);
        QElapsedTimer clock;
        clock.start();
        window.rootObject()->setProperty("picture", QUrl::fromLocalFile(photo));
        qint64 first = -1;
        while (clock.elapsed() < 30000) {
            const QImage shot = grab().convertToFormat(QImage::Format_RGB32);
            int black = 0;
            for (int y = 0; y < shot.height(); y += 4) {
                const QRgb* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
                for (int x = 0; x < shot.width(); x += 4) {
                    black += (line[x] & 0xffffff) == 0 ? 1 : 0;
                }
            }
            const int samples = (shot.width() / 4) * (shot.height() / 4);
            if (first < 0 && black < samples) {
                first = clock.elapsed();
            }
            if (black == 0) {
                return {first, clock.elapsed()};
            }
        }
        return {first, -1};
    }

    // Milliseconds until the view's tiles are there, -1 when they did not come within 10 s.
    int settle(double yaw, double pitch, double fov)
    {
        const int before = viewsComplete;
        HGlobalObject* global = core->globalObject();
        global->setFov(float(fov));
        global->setYaw(float(yaw), true);
        global->setPitch(float(pitch), true);
        const bool done = QTest::qWaitFor([&] { return viewsComplete > before; }, 5000);
        if (!done && qEnvironmentVariableIsSet("GYRE_BENCH_KEEP")) {
            grab().save(
                QDir(qEnvironmentVariable("GYRE_BENCH_KEEP")).filePath(QString("never-%1.png").arg(yaw)));
        }
        return done ? lastViewMs.load() : -1;
    }

    HSettingsManager settings{QSettings::UserScope, "Zelmo", "Gyre Player bench"};
    QTemporaryDir dir;
    QQuickView window;
    std::unique_ptr<HCoreObjects> core;
    QTimer sampler;
    double peak = 0;
};

void report(const char* what, const std::vector<int>& times)
{
    std::vector<int> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const int missing = int(std::count(sorted.begin(), sorted.end(), -1));
    QStringList each;
    for (int ms : times) {
        each << (ms < 0 ? QStringLiteral("never") : QString::number(ms));
    }
    std::printf("  %-28s %zu views: median %d ms, slowest %d ms%s\n    (%s)\n", what, times.size(),
                sorted[sorted.size() / 2], sorted.back(), missing ? ", some never complete" : "",
                qPrintable(each.join(' ')));
}

// Gaussian low-pass, sigma 1.5 pixels, of the RGB channels.
std::vector<double> lowPass(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height(), radius = 5;
    std::vector<double> kernel;
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel.push_back(std::exp(-i * i / (2 * 1.5 * 1.5)));
        sum += kernel.back();
    }
    for (double& k : kernel) {
        k /= sum;
    }
    std::vector<double> in(size_t(w * h * 3)), across(in.size()), out(in.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = rgb.pixel(x, y);
            const size_t i = size_t((y * w + x) * 3);
            in[i] = qRed(p), in[i + 1] = qGreen(p), in[i + 2] = qBlue(p);
        }
    }
    const auto pass = [&](const std::vector<double>& from, std::vector<double>& to, int dx, int dy) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                for (int c = 0; c < 3; ++c) {
                    double v = 0;
                    for (int k = -radius; k <= radius; ++k) {
                        const int sx = std::clamp(x + k * dx, 0, w - 1),
                                  sy = std::clamp(y + k * dy, 0, h - 1);
                        v += kernel[size_t(k + radius)] * from[size_t((sy * w + sx) * 3 + c)];
                    }
                    to[size_t((y * w + x) * 3 + c)] = v;
                }
            }
        }
    };
    pass(in, across, 1, 0);
    pass(across, out, 0, 1);
    return out;
}

double psnr(const QImage& a, const QImage& b)
{
    const std::vector<double> x = lowPass(a), y = lowPass(b);
    double squares = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        squares += (x[i] - y[i]) * (x[i] - y[i]);
    }
    const double mse = squares / double(x.size());
    return mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_tiles PHOTO [--fidelity]\n");
        return 2;
    }
    const QString photo = QFileInfo(arguments.at(1)).absoluteFilePath();
    const bool fidelity = arguments.contains("--fidelity");
    HCoreObjects::registerQmlTypes();
    previousHandler = qInstallMessageHandler(listen);
    QLoggingCategory::setFilterRules("gyre.render.tiles.info=true");
    QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).removeRecursively();

    Bench bench;
    const QSize size = QImageReader(photo).size();
    std::printf("%s: %dx%d, window %dx%d\n", qPrintable(QFileInfo(photo).fileName()), size.width(),
                size.height(), windowSize.width(), windowSize.height());
    std::printf("  resident before opening: %.0f MB\n", residentMegabytes());
    // The finest level: a pixel of the photo over one of the window's at the view's centre.
    const double finest = 2 * std::atan(windowSize.height() * pi / size.width()) * 180 / pi;
    for (const char* pass : {"empty cache", "cache filled"}) {
        buildLines.clear();
        const auto [first, whole] = bench.open(photo);
        std::printf("%s:\n  first picture %lld ms, whole window %lld ms after the source\n", pass,
                    static_cast<long long>(first), static_cast<long long>(whole));
        if (QByteArray(pass) == "empty cache") {
            if (!QTest::qWaitFor([] { return buildLines.size() >= 2; }, 120000)) {
                std::printf("  the decoder did not finish within 2 minutes\n");
            }
            for (const QString& line : buildLines) {
                std::printf("  %s\n", qPrintable(line));
            }
        }
        std::vector<int> turn, zoom;
        for (int step = 0; step <= 12; ++step) {
            turn.push_back(bench.settle((-180 + 30 * step) * pi / 180, 0, 60));
        }
        for (double fov = 60; fov > finest; fov /= 1.6) {
            zoom.push_back(bench.settle(0.3, 0.2, fov));
        }
        zoom.push_back(bench.settle(0.3, 0.2, finest));
        for (double fov = finest * 1.6; fov < 100; fov *= 1.6) {
            zoom.push_back(bench.settle(0.3, 0.2, fov));
        }
        report("full turn at 60 degrees", turn);
        report("zoom in to the finest, out", zoom);
        std::printf("  largest resident memory so far: %.0f MB\n", bench.peak);
    }
    if (fidelity) {
        struct
        {
            const char* name;
            double yaw, pitch; // degrees
        } views[] = {{"ahead", 10, 5},
                     // The centre on the border of two tiles' columns and rows of level 0.
                     {"across a tile seam", 510.0 * 20 / size.width() * 360 - 180,
                      90 - 510.0 * 7 / size.height() * 180},
                     {"near a pole", 40, -80}};
        const double fov = finest;
        const double hfov =
            2 * std::atan(std::tan(fov * pi / 360) * windowSize.width() / windowSize.height()) * 180 / pi;
        for (const auto& v : views) {
            bench.settle(v.yaw * pi / 180, v.pitch * pi / 180, fov);
            QTest::qWait(300);
            const QImage shown = bench.grab();
            const QString reference = bench.dir.filePath("v360.png");
            QProcess ffmpeg;
            ffmpeg.start("ffmpeg",
                         {"-hide_banner", "-loglevel", "error", "-y", "-i", photo, "-vf",
                          QString("v360=input=e:output=flat:h_fov=%1:v_fov=%2:yaw=%3:pitch=%4:w=%5:h=%6:"
                                  "interp=linear")
                              .arg(hfov)
                              .arg(fov)
                              .arg(v.yaw)
                              .arg(-v.pitch)
                              .arg(windowSize.width())
                              .arg(windowSize.height()),
                          "-frames:v", "1", reference});
            ffmpeg.waitForFinished(120000);
            const QImage expected(reference);
            if (expected.isNull()) {
                std::printf("  %s: ffmpeg made no picture: %s\n", v.name,
                            ffmpeg.readAllStandardError().constData());
                continue;
            }
            std::printf("  fidelity %-20s (yaw %.1f, pitch %.1f, fov %.2f): PSNR %.1f dB\n", v.name, v.yaw,
                        v.pitch, fov, psnr(shown, expected));
            // Both pictures stay where GYRE_BENCH_KEEP says, for a look.
            const QString keep = qEnvironmentVariable("GYRE_BENCH_KEEP");
            if (!keep.isEmpty()) {
                shown.save(QDir(keep).filePath(QString("%1-shown.png").arg(v.name)));
                expected.save(QDir(keep).filePath(QString("%1-v360.png").arg(v.name)));
            }
        }
    }
    std::printf("largest resident memory: %.0f MB\n", bench.peak);
    return 0;
}
