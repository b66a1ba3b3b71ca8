#pragma once

#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryLayout.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QtTest>

#include <cstring>

// What the shared-memory tests share: segment names of their own, the producer in its own process,
// a look into a slot from the test's side, and a texture read back through a framebuffer.
namespace SharedMemoryTestSupport {

namespace L = SharedMemoryLayout;

// No producer of the machine and no other test uses the name; it is removed however the test ends.
struct SegmentName
{
    const QString name =
        QStringLiteral("gyre-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
    ~SegmentName() { HSharedMemorySegment::remove(name); }
    static inline int count = 0;
};

#ifdef GYRE_FRAME_PRODUCER
struct Producer
{
    QProcess process;
    QString output; // what it printed so far

    ~Producer()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate(); // it removes its segment
            process.waitForFinished(5000);
        }
    }
    bool start(const QString& name, const QStringList& arguments)
    {
        process.start(GYRE_FRAME_PRODUCER, QStringList{"--name", name} + arguments);
        return waitForLine("ready ");
    }
    int lines(const QString& start) const
    {
        return output.split('\n').filter(QRegularExpression('^' + QRegularExpression::escape(start))).size();
    }
    bool waitForLine(const QString& start, int times = 1)
    {
        return QTest::qWaitFor(
            [&] {
                process.waitForReadyRead(20);
                output += QString::fromLocal8Bit(process.readAllStandardOutput());
                return lines(start) >= times;
            },
            10000);
    }
};
#endif

inline quint16 frameReady(const HSharedMemorySegment& segment, int slot)
{
    return L::read<quint16>(segment.data(), L::slotDescriptor(slot) + L::frameReadyOffset);
}

// The frame in a slot as the producer wrote it.
inline QImage slotFrame(const HSharedMemorySegment& segment, int slot)
{
    const uchar* base = segment.data();
    const qint64 descriptor = L::slotDescriptor(slot);
    return QImage(base + descriptor + L::read<quint32>(base, descriptor + L::dataOffsetOffset),
                  L::read<quint16>(base, descriptor + L::widthOffset),
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
    image.fill(Qt::transparent);
    if (gl->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        gl->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    }
    gl->glBindFramebuffer(GL_FRAMEBUFFER, QOpenGLContext::currentContext()->defaultFramebufferObject());
    gl->glDeleteFramebuffers(1, &framebuffer);
    return image.convertToFormat(QImage::Format_RGB888);
}

// Whether the manager's attach thread is among this process's threads.
inline bool attachThreadRuns()
{
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "gyre-shm-attach") {
            return true;
        }
    }
    return false;
}

// The system thread outlives QThread::wait() by a moment. No events are handled meanwhile: a
// deletion left to the event loop must not count.
inline bool attachThreadEnds()
{
    for (int waited = 0; waited < 2000 && attachThreadRuns(); waited += 10) {
        QThread::msleep(10);
    }
    return !attachThreadRuns();
}

} // namespace SharedMemoryTestSupport
