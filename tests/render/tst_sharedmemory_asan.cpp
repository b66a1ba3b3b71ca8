#include "SharedMemoryTestSupport.h"
#include "render/SharedMemoryManager.h"

#include <QFile>
#include <QOffscreenSurface>

#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

using namespace SharedMemoryTestSupport;

namespace {

// One slot's descriptor as a broken or hostile producer could write it.
struct Header
{
    qint64 size; // a whole number of pages unless noted: the guard page follows at once
    quint16 slotCount;
    quint32 dataOffset;
    quint16 width, height, bytesPerLine;
};

void writeHeader(HSharedMemorySegment& segment, const Header& h)
{
    uchar* base = segment.data();
    const qint64 slot = L::slotDescriptor(0);
    std::memcpy(base, L::versionText, sizeof(L::versionText));
    L::write<quint16>(base, L::slotCountOffset, h.slotCount);
    L::write<quint32>(base, slot + L::dataOffsetOffset, h.dataOffset);
    L::write<quint16>(base, slot + L::widthOffset, h.width);
    L::write<quint16>(base, slot + L::heightOffset, h.height);
    L::write<quint16>(base, slot + L::bytesPerLineOffset, h.bytesPerLine);
    L::write<quint16>(base, slot + L::frameReadyOffset, 1);
}

// A report ends the process at once: the segment of the case under test goes with it.
QByteArray segmentInUse;
void removeSegmentInUse()
{
    HSharedMemorySegment::remove(QString::fromLatin1(segmentInUse));
}

} // namespace

Q_DECLARE_METATYPE(Header)

// Malformed headers given to the real manager. Built with AddressSanitizer (the manager's sources
// are compiled into this program; the core library is not sanitized). The mapping has an
// inaccessible page behind it and the rest of its last page is poisoned, so a read outside the
// segment, by the manager or by OpenGL behind it, ends the run with a report.
class TestSharedMemoryAsan : public QObject
{
    Q_OBJECT

private:
    QOffscreenSurface surface;
    QOpenGLContext context;

private slots:
    void initTestCase()
    {
        __sanitizer_set_death_callback(removeSegmentInUse);
        surface.create();
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
    }

    // Frames whose pixels would reach past the segment: the checks that stand between the
    // producer's header and OpenGL's reads (a header that fails outright is the fuzz target's).
    void malformedHeaderIsSurvived_data()
    {
        QTest::addColumn<Header>("header");
        const qint64 end = 8192 - L::slotDescriptor(0); // the segment's end, from the descriptor
        QTest::addRow("pixels past the end") << Header{8192, 1, quint32(end - 20), 4, 2, 12};
        QTest::addRow("data offset 0") << Header{8192, 1, 0, 4, 2, 12};
        // Two lines of 11 bytes end exactly at the end; 4 pixels need 12.
        QTest::addRow("line shorter than its pixels") << Header{8192, 1, quint32(end - 22), 4, 2, 11};
        QTest::addRow("4 GiB of pixels") << Header{8192, 1, 64, 21845, 65535, 65535};
    }
    void malformedHeaderIsSurvived()
    {
        QFETCH(Header, header);
        SegmentName name;
        segmentInUse = name.name.toLatin1();
        HSharedMemorySegment segment(name.name);
        QVERIFY(segment.create(header.size));
        writeHeader(segment, header);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Shared-memory frames: "));
        SharedMemoryManager manager(name.name);
        QTRY_VERIFY_WITH_TIMEOUT(manager.isAttached(), 5000);

        QCOMPARE(manager.textureId(), 0);
        QCOMPARE(manager.textureId(), 0);
        QCOMPARE(frameReady(segment, 0), quint16(0)); // skipped, so the producer can go on

        // The producer mends its header: the next frame is shown. Its one pixel lies in the
        // descriptor's unused bytes, inside every segment here.
        uchar* pixel = segment.data() + L::slotDescriptor(0) + 24;
        pixel[0] = 200;
        pixel[1] = 100;
        pixel[2] = 50;
        writeHeader(segment, Header{header.size, 1, 24, 1, 1, 3});
        // A header that failed is looked at again by the watching thread, ten times a second.
        QTRY_VERIFY(manager.textureId() != 0);
        QCOMPARE(readBack(GLuint(manager.textureId()), QSize(1, 1)).pixel(0, 0), qRgb(200, 100, 50));
        manager.releaseTexture();
    }

    // A reader of a segment that its creator shrinks reads zeros past the new end, instead of
    // ending with SIGBUS, and knows that it did; a fault elsewhere is not taken for one.
    void shrunkSegmentReadsZeros()
    {
        SegmentName name;
        segmentInUse = name.name.toLatin1();
        const qint64 page = ::sysconf(_SC_PAGESIZE);
        HSharedMemorySegment creator(name.name);
        QVERIFY(creator.create(3 * page));
        std::memset(creator.data(), 7, size_t(3 * page));
        HSharedMemorySegment reader(name.name);
        QVERIFY(reader.open());
        QVERIFY(QFile::resize("/dev/shm/" + name.name, page));
        QCOMPARE(reader.currentSize(), page);
        QCOMPARE(reader.data()[page - 1], uchar(7));
        QVERIFY(!reader.faulted());
        QCOMPARE(reader.data()[2 * page + 5], uchar(0));
        QVERIFY(reader.faulted());
        QCOMPARE(reader.data()[page], uchar(0));
        QVERIFY(!creator.faulted());
    }
};

QTEST_MAIN(TestSharedMemoryAsan)
#include "tst_sharedmemory_asan.moc"
