#include "SharedMemoryTestSupport.h"
#include "render/SharedMemoryManager.h"

#include <QOffscreenSurface>

#include <memory>
#include <sanitizer/common_interface_defs.h>

using namespace SharedMemoryTestSupport;

namespace {

struct Header
{
    qint64 size = 8192; // a whole number of pages: the guard page follows at once
    quint16 slotCount = 1;
    quint32 dataOffset = 64;
    quint16 width = 4, height = 2, bytesPerLine = 12;
};

void writeHeader(HSharedMemorySegment& segment, const Header& h)
{
    uchar* base = segment.data();
    std::memcpy(base, L::versionText, sizeof(L::versionText));
    L::write<quint16>(base, L::slotCountOffset, h.slotCount);
    const qint64 slot = L::slotDescriptor(0);
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

// Headers that a broken or hostile producer could write, each given to the real manager. Built
// with AddressSanitizer (the manager's sources are compiled into this program; the core library is
// not sanitized). The mapping has an inaccessible page behind it and the rest of its last page is
// poisoned, so a read outside the segment, by the manager or by OpenGL behind it, ends the run
// with a report.
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

    void malformedHeaderIsSurvived_data()
    {
        QTest::addColumn<Header>("header");
        QTest::addColumn<bool>("skipped"); // the slot's ready flag is cleared
        Header h;
        h.slotCount = 0;
        QTest::addRow("no slots") << h << false;
        // One slot fits, the second descriptor would lie behind the segment.
        h = Header();
        h.size = L::slotDescriptor(1);
        h.slotCount = 2;
        h.dataOffset = 24;
        h.width = h.height = 1;
        h.bytesPerLine = 3;
        QTest::addRow("slot table past the end") << h << false;
        h = Header();
        h.dataOffset = quint32(h.size - L::slotDescriptor(0) - 20);
        QTest::addRow("pixels past the end") << h << true;
        h = Header();
        h.dataOffset = 0;
        QTest::addRow("data offset 0") << h << true;
        h = Header();
        h.width = 0;
        QTest::addRow("zero width") << h << true;
        h = Header();
        h.height = 0;
        QTest::addRow("zero height") << h << true;
        // Two lines of 11 bytes end exactly at the segment's end; 4 pixels need 12.
        h = Header();
        h.bytesPerLine = 11;
        h.dataOffset = quint32(h.size - L::slotDescriptor(0) - 22);
        QTest::addRow("line shorter than its pixels") << h << true;
        h = Header();
        h.width = 21845;
        h.height = 65535;
        h.bytesPerLine = 65535;
        QTest::addRow("4 GiB of pixels") << h << true;
    }
    void malformedHeaderIsSurvived()
    {
        QFETCH(Header, header);
        QFETCH(bool, skipped);
        SegmentName name;
        segmentInUse = name.name().toLatin1();
        HSharedMemorySegment segment(name.name());
        QVERIFY(segment.create(header.size));
        writeHeader(segment, header);
        SharedMemoryManager manager(name.name());
        QTRY_VERIFY_WITH_TIMEOUT(manager.isAttached(), 5000);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Shared-memory frames: "));
        QCOMPARE(manager.textureId(), 0);
        QCOMPARE(manager.textureId(), 0);
        QCOMPARE(frameReady(segment, 0) == 0, skipped);

        // The producer mends its header: the next frame is shown.
        Header mended;
        mended.slotCount = 1;
        mended.dataOffset = 24; // inside the descriptor's unused bytes: fits every segment here
        mended.width = mended.height = 1;
        mended.bytesPerLine = 3;
        uchar* pixel = segment.data() + L::slotDescriptor(0) + 24;
        pixel[0] = 200;
        pixel[1] = 100;
        pixel[2] = 50;
        writeHeader(segment, mended);
        const GLuint texture = GLuint(manager.textureId());
        QVERIFY(texture != 0);
        QCOMPARE(readBack(texture, QSize(1, 1)).pixel(0, 0), qRgb(200, 100, 50));
        manager.releaseTexture();
    }

    // Too short for the header: never attached, nothing written behind its end.
    void segmentShorterThanTheHeader()
    {
        SegmentName name;
        segmentInUse = name.name().toLatin1();
        HSharedMemorySegment segment(name.name());
        QVERIFY(segment.create(L::headerSize - 4));
        std::memcpy(segment.data(), L::versionText, sizeof(L::versionText));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("fewer than its header needs"));
        SharedMemoryManager manager(name.name());
        QTest::qWait(350);
        QVERIFY(!manager.isAttached());
    }
};

QTEST_MAIN(TestSharedMemoryAsan)
#include "tst_sharedmemory_asan.moc"
