#pragma once

#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QProcess>
#include <QtTest>

#include <cstring>
#include <memory>

// What the shared-memory tests share: segment names of their own, the producer in its own process,
// a look into a slot from the test's side, and a texture read back through a framebuffer.
namespace SharedMemoryTestSupport {

namespace L = SharedMemoryLayout;

// A name no producer of the machine and no other test uses; removed again however the test ends.
class SegmentName
{
public:
    SegmentName()
        : text(QStringLiteral("gyre-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter()))
    {
    }
    ~SegmentName() { HSharedMemorySegment::remove(text); }
    const QString& name() const { return text; }

private:
    static int& counter()
    {
        static int value = 0;
        return value;
    }
    QString text;
};

#ifdef GYRE_FRAME_PRODUCER
class Producer
{
public:
    ~Producer()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(5000)) {
                process.kill();
                process.waitForFinished(5000);
            }
        }
    }

    // Started and its segment made.
    bool start(const QString& name, const QStringList& arguments)
    {
        process.start(GYRE_FRAME_PRODUCER, QStringList{"--name", name} + arguments);
        return waitForLine("ready ");
    }

    bool waitForLine(const QString& start, int times = 1, int timeout = 10000)
    {
        QElapsedTimer waited;
        waited.start();
        while (lines(start) < times && waited.elapsed() < timeout) {
            process.waitForReadyRead(50);
            output += QString::fromLocal8Bit(process.readAllStandardOutput());
        }
        return lines(start) >= times;
    }

    int lines(const QString& start) const
    {
        int found = 0;
        for (const QString& line : output.split(QLatin1Char('\n'))) {
            found += line.startsWith(start) ? 1 : 0;
        }
        return found;
    }

    QProcess process;
    QString output;
};
#endif

// Whether the manager's attach thread is among this process's threads.
inline bool attachThreadRuns()
{
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "gyre-shm-attach") {
            return true;
        }
    }
    return false;
}

inline quint16 frameReady(const HSharedMemorySegment& segment, int slot)
{
    return L::read<quint16>(segment.data(), L::slotDescriptor(slot) + L::frameReadyOffset);
}

// The frame in a slot as the producer wrote it.
inline QImage slotFrame(const HSharedMemorySegment& segment, int slot)
{
    const uchar* base = segment.data();
    const qint64 descriptor = L::slotDescriptor(slot);
    const uchar* pixels = base + descriptor + L::read<quint32>(base, descriptor + L::dataOffsetOffset);
    return QImage(pixels, L::read<quint16>(base, descriptor + L::widthOffset),
                  L::read<quint16>(base, descriptor + L::heightOffset),
                  L::read<quint16>(base, descriptor + L::bytesPerLineOffset), QImage::Format_RGB888)
        .copy();
}

// The texture's level 0 through a framebuffer, rows in the order they were uploaded.
inline QImage readBack(GLuint texture, QSize size)
{
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    GLuint framebuffer = 0;
    gl->glGenFramebuffers(1, &framebuffer);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl->glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    QImage image(size, QImage::Format_RGBA8888);
    if (gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
        gl->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    } else {
        image.fill(Qt::transparent);
    }
    gl->glBindFramebuffer(GL_FRAMEBUFFER, QOpenGLContext::currentContext()->defaultFramebufferObject());
    gl->glDeleteFramebuffers(1, &framebuffer);
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace SharedMemoryTestSupport
