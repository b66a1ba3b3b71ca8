// Time to take one shared-memory frame into the texture: SharedMemoryManager::textureId() with a
// ready slot, followed by glFinish, for a few frame sizes and the three ways rows go up (tight
// lines; padded lines that OpenGL's row length describes; padded lines that go up one by one).
// Beside it, what one copy of the frame in memory costs, which uploading straight from the mapping
// saves. Prints the median and the 90th percentile, and the machine's load.
//
// Needs an X server with OpenGL: tests/run-test.sh --gl build/bench/bench_sharedmemory [frames]
// (or cmake --build build --target run-bench-sharedmemory).

#include "BenchSupport.h"
#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryLayout.h"
#include "render/SharedMemoryManager.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace L = SharedMemoryLayout;

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(10, QString::fromLocal8Bit(argv[1]).toInt()) : 100;
    QOffscreenSurface surface;
    QOpenGLContext context;
    if (!BenchSupport::makeContextCurrent(surface, context, "bench_sharedmemory")) {
        return 1;
    }
    QOpenGLFunctions* gl = context.functions();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(gl->glGetString(GL_RENDERER)));
    std::printf("load average before: %s\n", qPrintable(BenchSupport::loadAverage()));
    std::printf("%d frames each; milliseconds\n", frames);
    std::printf("%-11s %-22s %8s %8s %14s\n", "size", "lines", "median", "p90", "copy (median)");

    const QString name = QStringLiteral("gyre-bench-%1").arg(QCoreApplication::applicationPid());
    for (const QSize size : {QSize(1920, 960), QSize(3840, 1920)}) {
        for (const auto& [padding, label] : {std::pair{0, "tight"}, std::pair{4, "padded (row length)"},
                                             std::pair{5, "padded (row by row)"}}) {
            const int bytesPerLine = size.width() * L::bytesPerPixel + padding;
            const qint64 dataStart = 256;
            HSharedMemorySegment segment(name);
            if (!segment.create(dataStart + qint64(bytesPerLine) * size.height())) {
                std::fprintf(stderr, "bench_sharedmemory: %s\n", qPrintable(segment.errorString()));
                return 1;
            }
            uchar* base = segment.data();
            std::memcpy(base, L::versionText, sizeof(L::versionText));
            L::write<quint16>(base, L::slotCountOffset, 1);
            const qint64 slot = L::slotDescriptor(0);
            L::write<quint32>(base, slot + L::dataOffsetOffset, quint32(dataStart - slot));
            L::write<quint16>(base, slot + L::widthOffset, quint16(size.width()));
            L::write<quint16>(base, slot + L::heightOffset, quint16(size.height()));
            L::write<quint16>(base, slot + L::bytesPerLineOffset, quint16(bytesPerLine));
            for (qint64 i = dataStart; i < segment.size(); ++i) {
                base[i] = uchar(i * 131 / 7);
            }

            SharedMemoryManager manager(name);
            while (!manager.isAttached()) {
                QThread::msleep(10);
            }
            std::vector<double> upload, copy;
            std::vector<uchar> target(size_t(segment.size() - dataStart));
            QElapsedTimer timer;
            for (int i = -3; i < frames; ++i) { // the first three create the texture and warm up
                base[dataStart + i % 97] ^= 1;
                L::write<quint16>(base, slot + L::frameReadyOffset, 1);
                timer.start();
                manager.textureId();
                gl->glFinish();
                const double uploaded = timer.nsecsElapsed() / 1e6;
                timer.start();
                std::memcpy(target.data(), base + dataStart, target.size());
                const double copied = timer.nsecsElapsed() / 1e6;
                if (i >= 0) {
                    upload.push_back(uploaded);
                    copy.push_back(copied);
                }
            }
            manager.releaseTexture();
            std::printf("%4dx%-6d %-22s %8.2f %8.2f %14.2f\n", size.width(), size.height(), label,
                        BenchSupport::percentile(upload, 0.5), BenchSupport::percentile(upload, 0.9),
                        BenchSupport::percentile(copy, 0.5));
        }
    }
    std::printf("load average after: %s\n", qPrintable(BenchSupport::loadAverage()));
    return 0;
}
