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

    struct Attached
    {
        SegmentName name;
        Producer producer;
        std::unique_ptr<SharedMemoryManager> manager;
        HSharedMemorySegment segment{name.name()};
    };

    // A producer with these arguments, the manager attached to it and the test's own mapping.
    static bool attach(Attached& a, const QStringList& arguments)
    {
        if (!a.producer.start(a.name.name(), arguments) || !a.segment.open()) {
            return false;
        }
        a.manager = std::make_unique<SharedMemoryManager>(a.name.name());
        return QTest::qWaitFor([&] { return a.manager->isAttached(); }, 5000);
    }

    static bool waitForReadySlots(const HSharedMemorySegment& segment, int slotCount)
    {
        return QTest::qWaitFor(
            [&] {
                for (int slot = 0; slot < slotCount; ++slot) {
                    if (!frameReady(segment, slot)) {
                        return false;
                    }
                }
                return true;
            },
            10000);
    }

    static QSize textureSize(GLuint texture)
    {
        using GetTexLevelParameteriv = void (*)(GLenum, GLint, GLenum, GLint*);
        const auto get = reinterpret_cast<GetTexLevelParameteriv>(
            QOpenGLContext::currentContext()->getProcAddress("glGetTexLevelParameteriv"));
        GLint width = 0, height = 0;
        QOpenGLContext::currentContext()->functions()->glBindTexture(GL_TEXTURE_2D, texture);
        get(GL_TEXTURE_2D, 0, 0x1000 /* GL_TEXTURE_WIDTH */, &width);
        get(GL_TEXTURE_2D, 0, 0x1001 /* GL_TEXTURE_HEIGHT */, &height);
        return QSize(width, height);
    }

private slots:
    void initTestCase()
    {
        surface.create();
        QVERIFY(context.create());
        QVERIFY(context.makeCurrent(&surface));
    }

    // A version text that is not exactly ours is rejected, the producer is told (consumerClosed)
    // at every attempt, and the attempts go on until the text is right.
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
        SegmentName name;
        Producer producer;
        QVERIFY(producer.start(name.name(), {"--version-text", versionText, "--count", "0"}));
        SharedMemoryManager manager(name.name());
        // The producer reports each consumerClosed it sees and clears it again.
        QVERIFY2(producer.waitForLine("viewer closed", 3), qPrintable(producer.output));
        QVERIFY(!manager.isAttached());
        QCOMPARE(manager.textureId(), 0);

        HSharedMemorySegment segment(name.name());
        QVERIFY(segment.open());
        std::memset(segment.data(), 0, size_t(L::versionCapacity));
        std::memcpy(segment.data(), L::versionText, sizeof(L::versionText));
        QTRY_VERIFY_WITH_TIMEOUT(manager.isAttached(), 5000);
    }

    // The program starts before the producer: no texture until the segment and a first frame exist.
    void noTextureBeforeTheFirstFrame()
    {
        SegmentName name;
        SharedMemoryManager manager(name.name());
        QTest::qWait(250);
        QCOMPARE(manager.textureId(), 0);
        Producer producer;
        QVERIFY(producer.start(name.name(), {"--count", "0"}));
        QTRY_VERIFY_WITH_TIMEOUT(manager.isAttached(), 5000);
        QCOMPARE(manager.textureId(), 0);
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
        QVERIFY(attach(a, {"--slots", "3", "--count", "3", "--size", "64x32", "--line-padding",
                           QString::number(padding), "--rate", "200"}));
        QVERIFY(waitForReadySlots(a.segment, 3));
        QVector<QImage> frames;
        for (int slot = 0; slot < 3; ++slot) {
            QCOMPARE(L::read<quint64>(a.segment.data(), L::slotDescriptor(slot) + L::frameNumberOffset),
                     quint64(slot));
            frames << slotFrame(a.segment, slot);
        }
        QVERIFY(frames[0] != frames[1] && frames[1] != frames[2]);

        GLuint name = 0;
        for (int call = 0; call < 3; ++call) {
            name = GLuint(a.manager->textureId());
            QVERIFY(name != 0);
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
        QVERIFY(attach(a, {"--slots", "2", "--count", "2", "--size", "64x32", "--resize-at", "1:40x48"}));
        QVERIFY(waitForReadySlots(a.segment, 2));
        const QImage first = slotFrame(a.segment, 0), second = slotFrame(a.segment, 1);
        QCOMPARE(second.size(), QSize(40, 48));

        const GLuint firstName = GLuint(a.manager->textureId());
        QCOMPARE(textureSize(firstName), QSize(64, 32));
        QCOMPARE(readBack(firstName, first.size()), first);
        const GLuint secondName = GLuint(a.manager->textureId());
        QCOMPARE(textureSize(secondName), QSize(40, 48));
        QCOMPARE(readBack(secondName, second.size()), second);
        a.manager->releaseTexture();
    }

    // Detaching tells the producer; a manager that never found its segment stops its thread too.
    void detachTellsTheProducer()
    {
        Attached a;
        QVERIFY(attach(a, {"--count", "0"}));
        QCOMPARE(a.producer.lines("viewer closed"), 0);
        a.manager.reset();
        QVERIFY2(a.producer.waitForLine("viewer closed"), qPrintable(a.producer.output));
    }
    void attachThreadEndsWithItsManager()
    {
        SegmentName name;
        auto manager = std::make_unique<SharedMemoryManager>(name.name());
        QTRY_VERIFY(attachThreadRuns());
        manager.reset();
        QVERIFY(!attachThreadRuns());
    }

    // Frames from another program (ffmpeg's raw RGB) reach the slots as they came.
    void producerPassesItsInputOn()
    {
        SegmentName name;
        Producer producer;
        QVERIFY(producer.start(name.name(), {"--stdin", "--size", "5x3", "--slots", "2", "--rate", "500"}));
        HSharedMemorySegment segment(name.name());
        QVERIFY(segment.open());
        QByteArray input;
        for (int i = 0; i < 2 * 5 * 3 * 3; ++i) {
            input.append(char(i * 7 + 1));
        }
        producer.process.write(input);
        producer.process.closeWriteChannel();
        QVERIFY2(producer.waitForLine("end of input after 2 frames"), qPrintable(producer.output));
        for (int slot = 0; slot < 2; ++slot) {
            const QImage frame = slotFrame(segment, slot);
            QCOMPARE(frame.size(), QSize(5, 3));
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(QByteArray(reinterpret_cast<const char*>(frame.constScanLine(row)), 15),
                         input.mid(slot * 45 + row * 15, 15));
            }
        }
    }
};

QTEST_MAIN(TestSharedMemoryManager)
#include "tst_sharedmemorymanager.moc"
