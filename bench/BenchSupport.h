#pragma once

#include <QFile>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

// What the GL benchmarks share: the machine's load (figures mean little without it), percentiles,
// and a current OpenGL context on an offscreen surface.
namespace BenchSupport {

inline QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '))
                                          : QStringLiteral("unknown");
}

inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * (values.size() - 1) + 0.5))];
}

// Makes a context current on the surface; says why not on stderr.
inline bool makeContextCurrent(QOffscreenSurface& surface, QOpenGLContext& context, const char* program)
{
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "%s: no OpenGL context (run it under an X server)\n", program);
        return false;
    }
    return true;
}

} // namespace BenchSupport
