#include "SharedMemoryTestSupport.h"
#include "render/SharedMemoryManager.h"

#include <QOffscreenSurface>

#include <memory>

using namespace SharedMemoryTestSupport;

// The viewer's side of shared-memory frames, with the producer in its own process and the texture
// in a real OpenGL context (Mesa under Xvfb). The test's own mapping of the segment looks at what
// the producer wrote and what the viewer cleared.
class TestSharedMemoryManager : public QObject
{
    Q_OBJECT

private:
    QOffscreenSurface surface;
    QOpenGLContext context;

    // A producer with the given arguments, the manager attached to it and the test's own mapping,
    // once the producer has marked the first slots ready.
    struct Attached
    {
        SegmentName name;
        Producer producer;
        std::unique_ptr<SharedMemoryManager> manager;
        HSharedMemorySegment segment{name.name};

        bool start(const QStringList& arguments, int readySlots = 0)
        {
            if (!producer.start(name.name, arguments) || !segment.open()) {
                return false;
            }
            manager = std::make_unique<SharedMemoryManager>(name.name);
            return QTest::qWaitFor([this] { return manager->isAttached(); }, 5000) &&
                   QTest::qWaitFor([&] { return readySlots == 0 || frameReady(segment, readySlots - 1); },
                                   5000);
        }
    };

private slots:
    void initTestCase()
    {
        surface.create();
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
    }

    // Anything but our exact version text is rejected, the producer is told (consumerClosed) at every
    // attempt, and the attempts go on until the text is right.
    void versionTextMustMatch_data()
    {
        QTest::addColumn<QByteArray>("versionText");
        QTest::addRow("one character differs") << QByteArray("MXQF_Shared_Memory1.2");
        QTest::addRow("longer") << QByteArray("MXQF_Shared_Memory1.10");
        QTest::addRow("shorter") << QByteArray("MXQF_Shared_Memory1.");
        QTest::addRow("empty") << QByteArray("");
    }
    void versionTextMustMatch()
    {
        QFETCH(QByteArray, versionText);
        Attached a;
        QVERIFY(a.producer.start(a.name.name, {"--version-text", versionText, "--count", "0"}));
        QVERIFY(a.segment.open());
        a.manager = std::make_unique<SharedMemoryManager>(a.name.name);
        // The producer reports each consumerClosed it sees, and clears it again.
        QVERIFY2(a.producer.waitForLine("viewer closed", 3), qPrintable(a.producer.output));
        QVERIFY(!a.manager->isAttached());
        QCOMPARE(a.manager->textureId(), 0);

        std::memset(a.segment.data(), 0, size_t(L::versionCapacity));
        std::memcpy(a.segment.data(), L::versionText, sizeof(L::versionText));
        QTRY_VERIFY_WITH_TIMEOUT(a.manager->isAttached(), 5000);
    }

    // The program may start first: no texture until the segment and a first frame exist.
    void noTextureBeforeTheFirstFrame()
    {
        SegmentName name;
        SharedMemoryManager manager(name.name);
        QTest::qWait(250);
        QCOMPARE(manager.textureId(), 0);
        Producer producer;
        QVERIFY(producer.start(name.name, {"--count", "0"}));
        QTRY_VERIFY_WITH_TIMEOUT(manager.isAttached(), 5000);
        QCOMPARE(manager.textureId(), 0);
    }

    // One frame per call, strictly in ring order, each slot cleared once uploaded; the texture holds
    // the producer's pixels. The padding after each line takes the three ways of uploading rows.
    void framesInRingOrder_data()
    {
        QTest::addColumn<int>("padding");
        QTest::addRow("tight lines") << 0;
        QTest::addRow("padded, row length") << 4;
        QTest::addRow("padded, row by row") << 5;
    }
    void framesInRingOrder()
    {
        QFETCH(int, padding);
        Attached a;
        QVERIFY(a.start({"--slots", "3", "--count", "3", "--size", "64x32", "--line-padding",
                         QString::number(padding), "--rate", "200"},
                        3));
        const QVector<QImage> frames{slotFrame(a.segment, 0), slotFrame(a.segment, 1),
                                     slotFrame(a.segment, 2)};
        QVERIFY(frames[0] != frames[1] && frames[1] != frames[2]);

        GLuint name = 0;
        for (int call = 0; call < 3; ++call) {
            name = GLuint(a.manager->textureId());
            for (int slot = 0; slot < 3; ++slot) {
                QCOMPARE(frameReady(a.segment, slot) != 0, slot > call);
            }
            QCOMPARE(readBack(name, QSize(64, 32)), frames[call]);
        }
        // Slot 0 is not ready again: nothing new.
        QCOMPARE(GLuint(a.manager->textureId()), name);
        QCOMPARE(readBack(name, QSize(64, 32)), frames[2]);
        a.manager->releaseTexture();
    }

    void sizeChangeReallocates()
    {
        Attached a;
        QVERIFY(a.start({"--slots", "2", "--count", "2", "--size", "64x32", "--resize-at", "1:40x48"}, 2));
        const QImage first = slotFrame(a.segment, 0), second = slotFrame(a.segment, 1);
        QCOMPARE(second.size(), QSize(40, 48));
        QCOMPARE(readBack(GLuint(a.manager->textureId()), first.size()), first);
        QCOMPARE(readBack(GLuint(a.manager->textureId()), second.size()), second);
        a.manager->releaseTexture();
    }

    // Detaching tells the producer; a manager that never found its segment stops its thread too.
    void detachTellsTheProducer()
    {
        Attached a;
        QVERIFY(a.start({"--count", "0"}));
        QCOMPARE(a.producer.lines("viewer closed"), 0);
        a.manager.reset();
        QVERIFY2(a.producer.waitForLine("viewer closed"), qPrintable(a.producer.output));
    }
    void attachThreadEndsWithItsManager()
    {
        SegmentName name;
        auto manager = std::make_unique<SharedMemoryManager>(name.name);
        QTRY_VERIFY(attachThreadRuns());
        manager.reset();
        QVERIFY(attachThreadEnds());
    }

    // Frames from another program (ffmpeg's raw RGB) reach the slots as they came.
    void producerPassesItsInputOn()
    {
        Attached a;
        QVERIFY(a.producer.start(a.name.name, {"--stdin", "--size", "5x3", "--slots", "2", "--rate", "500"}));
        QVERIFY(a.segment.open());
        QByteArray input;
        for (int i = 0; i < 2 * 5 * 3 * 3; ++i) {
            input.append(char(i * 7 + 1));
        }
        a.producer.process.write(input);
        a.producer.process.closeWriteChannel();
        QVERIFY2(a.producer.waitForLine("end of input after 2 frames"), qPrintable(a.producer.output));
        for (int slot = 0; slot < 2; ++slot) {
            const QImage frame = slotFrame(a.segment, slot);
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(QByteArray(reinterpret_cast<const char*>(frame.constScanLine(row)), 15),
                         input.mid(slot * 45 + row * 15, 15));
            }
        }
    }
};

QTEST_MAIN(TestSharedMemoryManager)
#include "tst_sharedmemorymanager.moc"
