#pragma once

#include "TestPattern.h"
#include "render/HSharedMemorySegment.h"

#include <QByteArray>
#include <QSize>
#include <QTextStream>

#include <csignal>
#include <cstdio>

// Creates the shared-memory frame segment and writes frames into its ring of slots at a steady
// rate, each slot only once the viewer has cleared it: a test pattern, or raw RGB frames read from
// a stream (ffmpeg's "-f rawvideo -pix_fmt rgb24" output).
class FrameProducer
{
public:
    struct Options
    {
        QString name;
        QSize size;
        double rate = 30.0;
        int slotCount = 3;
        qint64 count = -1; // frames to write; -1 for no end
        int linePadding = 0;
        qint64 resizeAt = -1; // from this frame on, frames of resizedSize
        QSize resizedSize;
        QByteArray versionText;
        FILE* input = nullptr; // raw frames instead of the pattern
        bool verbose = false;
    };

    FrameProducer(const Options& options, QTextStream& out);

    // False with a message when the segment cannot be made.
    bool createSegment(QString* error);
    // Until stop is set or the input ends. Returns the process's exit code.
    int run(const volatile std::sig_atomic_t& stop);

private:
    QSize frameSize(qint64 frame) const;
    int bytesPerLine(const QSize& size) const;
    bool readFrame(const QSize& size, QByteArray* pixels);
    void writeFrame(int slot, qint64 frame, const QSize& size, const uchar* pixels, int sourceBytesPerLine);
    bool slotReady(int slot) const;
    // A viewer that lets go (or rejects our version text) writes consumerClosed: start the ring
    // afresh for the next one. Also mends what another process broke: a header overwritten is
    // written again, a segment shrunk under us is made anew.
    void checkSegment();
    void writeHeader();

    Options options;
    QTextStream& out;
    HSharedMemorySegment segment;
    qint64 slotCapacity = 0;
    qint64 firstData = 0;
    int nextSlot = 0;
    TestPattern pattern;
};
