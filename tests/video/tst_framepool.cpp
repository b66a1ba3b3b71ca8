#include "video/HFramePool.h"

#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

// The frame pool with a decoder thread and a render thread racing: every picture taken is whole
// (all its bytes from one picture), pictures arrive in order, and each published picture is either
// taken or counted as dropped.
class TestFramePool : public QObject
{
    Q_OBJECT

private:
    // Every byte of every plane carries the picture's number; the first bytes hold all of it.
    static void write(const HFramePool::Buffer& buffer, quint32 number)
    {
        const HFrameFormat& format = buffer.format();
        for (int plane = 0; plane < format.planeCount(); ++plane) {
            std::memset(buffer.plane(plane), int(number & 0xff), format.planeBytes(plane));
        }
        std::memcpy(buffer.plane(0), &number, sizeof number);
    }

    static bool whole(const HFramePool::Buffer& buffer, quint32* number)
    {
        const HFrameFormat& format = buffer.format();
        std::memcpy(number, buffer.plane(0), sizeof *number);
        for (int plane = 0; plane < format.planeCount(); ++plane) {
            const uchar* bytes = buffer.plane(plane);
            const std::size_t start = plane == 0 ? sizeof *number : 0;
            for (std::size_t i = start; i < format.planeBytes(plane); ++i) {
                if (bytes[i] != (*number & 0xff)) {
                    return false;
                }
            }
        }
        return true;
    }

private slots:
    void racingThreads_data()
    {
        QTest::addColumn<int>("poolSize");
        QTest::addColumn<int>("decoderPictures");
        QTest::addColumn<int>("repeatEvery");    // withdraw every n-th picture (0: never)
        QTest::addColumn<int>("newFormatEvery"); // reconfigure every n-th picture (0: never)
        QTest::addColumn<bool>("slowRenderer");
        QTest::addRow("three buffers") << 3 << 1 << 0 << 0 << false;
        QTest::addRow("three buffers, slow renderer") << 3 << 1 << 0 << 0 << true;
        QTest::addRow("two buffers, decoder holds two") << 2 << 2 << 0 << 0 << true;
        QTest::addRow("repeated pictures withdrawn") << 3 << 1 << 7 << 0 << false;
        QTest::addRow("size changes while reading") << 3 << 1 << 0 << 97 << true;
    }
    void racingThreads()
    {
        QFETCH(int, poolSize);
        QFETCH(int, decoderPictures);
        QFETCH(int, repeatEvery);
        QFETCH(int, newFormatEvery);
        QFETCH(bool, slowRenderer);
        constexpr quint32 pictures = 2000;

        HFramePool pool(poolSize, decoderPictures);
        pool.configure(HFrameFormat::nv12(QSize(320, 160), false));
        std::atomic<bool> decoding{true};
        int withdrawn = 0;

        std::thread decoder([&] {
            std::vector<HFramePool::Buffer*> held;
            for (quint32 n = 1; n <= pictures; ++n) {
                if (newFormatEvery && n % newFormatEvery == 0) {
                    for (HFramePool::Buffer* buffer : held) {
                        pool.publish(buffer);
                    }
                    held.clear();
                    const int width = 320 + 2 * int(n % 5);
                    pool.configure(n % 2 ? HFrameFormat::rgba(QSize(width, 150))
                                         : HFrameFormat::nv12(QSize(width, 170), false));
                }
                HFramePool::Buffer* buffer = pool.acquire();
                write(*buffer, n);
                pool.complete(buffer);
                held.push_back(buffer);
                if (int(held.size()) < decoderPictures) {
                    continue;
                }
                HFramePool::Buffer* due = held.front();
                held.erase(held.begin());
                quint32 dueNumber = 0;
                std::memcpy(&dueNumber, due->plane(0), sizeof dueNumber);
                if (repeatEvery && dueNumber % repeatEvery == 0) {
                    pool.withdraw(due);
                    ++withdrawn;
                } else {
                    pool.publish(due);
                }
                // About a picture per 0.1 ms, so that the renderer keeps up or falls behind by turns.
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            for (HFramePool::Buffer* buffer : held) {
                pool.publish(buffer);
            }
            decoding = false;
        });

        quint32 last = 0;
        int torn = 0, outOfOrder = 0, taken = 0;
        for (;;) {
            const bool more = decoding.load();
            const std::shared_ptr<const HFramePool::Buffer> buffer = pool.takeNewest();
            if (!buffer) {
                if (!more) {
                    break;
                }
                std::this_thread::yield();
                continue;
            }
            ++taken;
            quint32 number = 0;
            torn += whole(*buffer, &number) ? 0 : 1;
            outOfOrder += number > last ? 0 : 1;
            last = number;
            if (slowRenderer) {
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
            pool.finished(buffer);
        }
        decoder.join();

        QCOMPARE(torn, 0);
        QCOMPARE(outOfOrder, 0);
        QCOMPARE(taken, pool.taken());
        QCOMPARE(pool.published(), int(pictures) - withdrawn);
        QCOMPARE(pool.taken() + pool.dropped(), pool.published());
        QVERIFY(pool.taken() > 0);
        if (slowRenderer) {
            QVERIFY(pool.dropped() > 0);
        }
        QVERIFY(pool.allocated() <= poolSize + decoderPictures);
    }
};

QTEST_GUILESS_MAIN(TestFramePool)
#include "tst_framepool.moc"
