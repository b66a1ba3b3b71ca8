#include "audio/HAmbisonicRotation.h"
#include "audio/HSpatialAudioRenderer.h"

#include <QMatrix4x4>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <thread>

// The renderer between a producer that stamps its sound and an output that asks for it by time,
// on a clock of the test's own: what is heard when, through pauses and flushes, and with the
// producer, the view and the output on three threads at once. The field is a 1 kHz tone at 90°
// to the left (W = Y = s); the speakers' decode is stereo, left first.
class TestSpatialAudioRenderer : public QObject
{
    Q_OBJECT

    static constexpr int rate = 48000;
    static constexpr int chunk = 1024;

    std::atomic<qint64> now{0}; // microseconds

    std::unique_ptr<HSpatialAudioRenderer> renderer()
    {
        auto r = std::make_unique<HSpatialAudioRenderer>([this] { return now.load(); });
        QString why;
        r->configure(HAmbisonicDecoder::Output::Speakers, 2, rate, &why);
        return r;
    }

    // A chunk of the tone, its first frame due at `pts`; frame n is sample n of the tone.
    static void push(HSpatialAudioRenderer& r, qint64 first, qint64 pts, float amplitude = 0.25f)
    {
        std::vector<float> w(chunk), zero(chunk, 0.0f);
        for (int n = 0; n < chunk; ++n) {
            w[std::size_t(n)] = amplitude * float(std::sin(2 * M_PI * 1000 * double(first + n) / rate));
        }
        const float* components[4] = {w.data(), w.data(), zero.data(), zero.data()};
        r.push(components, chunk, pts);
    }

    std::vector<float> out; // the last output, interleaved

    // The output's request of `frames` at the clock's now, nothing buffered; left and right
    // energies.
    std::pair<double, double> render(HSpatialAudioRenderer& r, int frames)
    {
        out.assign(std::size_t(frames * 2), 0.0f);
        r.render(out.data(), frames, 0);
        double left = 0, right = 0;
        for (int n = 0; n < frames; ++n) {
            left += double(out[std::size_t(2 * n)]) * out[std::size_t(2 * n)];
            right += double(out[std::size_t(2 * n + 1)]) * out[std::size_t(2 * n + 1)];
        }
        now += qint64(frames) * 1000000 / rate;
        return {left, right};
    }

    static qint64 us(qint64 frames) { return frames * 1000000 / rate; }

    // The largest fourth difference of the last output's left channel against what the tone
    // itself gives: a frame skipped or left silent stands out by a factor of hundreds.
    double roughness() const
    {
        double largest = 0, peak = 0;
        const auto x = [this](std::size_t n) { return double(out[2 * n]); };
        for (std::size_t n = 4; 2 * n < out.size(); ++n) {
            largest =
                std::max(largest, std::abs(x(n) - 4 * x(n - 1) + 6 * x(n - 2) - 4 * x(n - 3) + x(n - 4)));
            peak = std::max(peak, std::abs(x(n)));
        }
        return largest / (peak * std::pow(2 * std::sin(M_PI * 1000 / rate), 4));
    }

private slots:
    void init() { now = 1000000; }

    // What is due is heard, what is late is skipped, what is early waits: an output asking from
    // the start of the queue, from its middle, and before it. Heard, it runs on without a click,
    // also half a frame off the chunks' stamps, which are whole microseconds as libvlc's are.
    void soundIsHeardWhenItIsDue_data()
    {
        QTest::addColumn<qint64>("offset"); // where the queue starts against the output's now, frames
        QTest::addColumn<qint64>("phase");  // and microseconds more
        QTest::addColumn<bool>("heard");
        QTest::addRow("due now") << qint64(0) << qint64(0) << true;
        QTest::addRow("half a frame late") << qint64(0) << qint64(-10) << true;
        QTest::addRow("half a frame early") << qint64(0) << qint64(10) << true;
        QTest::addRow("a third of it late") << qint64(-2 * chunk) << qint64(0) << true;
        QTest::addRow("all of it late") << qint64(-8 * chunk) << qint64(0) << false;
        QTest::addRow("not due yet") << qint64(8 * chunk) << qint64(0) << false;
    }
    void soundIsHeardWhenItIsDue()
    {
        QFETCH(qint64, offset);
        QFETCH(qint64, phase);
        QFETCH(bool, heard);
        auto r = renderer();
        for (int c = 0; c < 6; ++c) {
            push(*r, c * chunk, now + phase + us(offset + c * chunk));
        }
        const auto [left, right] = render(*r, 3 * chunk);
        QCOMPARE(left > 1.0, heard);
        if (heard) {
            // The tone beside the head is on its side.
            QVERIFY(left > 4 * right);
            QVERIFY2(roughness() < 10, qPrintable(QString::number(roughness())));
        }
    }

    // A pause holds what waited; after it the sound goes on from where it stopped, nothing lost or
    // repeated; a flush forgets it all.
    void pauseHoldsAndFlushForgets()
    {
        auto r = renderer();
        for (int c = 0; c < 8; ++c) {
            push(*r, c * chunk, now + us(c * chunk));
        }
        QVERIFY(render(*r, 2 * chunk).first > 1.0);
        r->pause(now);
        QCOMPARE(render(*r, chunk).first, 0.0);
        now += 500000;
        r->resume(now);
        // Six chunks were left: they play now, and then there is nothing.
        QVERIFY(render(*r, 6 * chunk).first > 1.0);
        QCOMPARE(render(*r, 2 * chunk).first, 0.0);

        for (int c = 0; c < 4; ++c) {
            push(*r, c * chunk, now + us(c * chunk));
        }
        r->flush();
        QCOMPARE(render(*r, 2 * chunk).first, 0.0);
    }

    // The view turned to face the tone centres it; the turn is counted once.
    void aTurnReachesTheNextBlock()
    {
        auto r = renderer();
        for (int c = 0; c < 8; ++c) {
            push(*r, c * chunk, now + us(c * chunk));
        }
        render(*r, chunk);
        QMatrix4x4 left;
        left.rotate(90, 0, 1, 0); // the scene's yaw to the left: Ry(+90°)
        r->setView(HAmbisonicRotation::forView(left));
        render(*r, HAmbisonicDecoder::blockFrames); // the block that turns
        const auto [l, rr] = render(*r, 2 * chunk);
        QVERIFY2(std::abs(10 * std::log10(l / rr)) < 1.0, qPrintable(QString::number(l / rr)));
        QCOMPARE(r->takeTurnLatencies().size(), 1);
    }

    // Producer, view and output at once, as libvlc's thread, the GUI thread and the sound thread
    // run them.
    void threeThreadsAtOnce()
    {
        auto r = renderer();
        std::atomic<bool> running{true};
        std::thread producer([&] {
            for (int c = 0; running && c < 2000; ++c) {
                push(*r, c * chunk, now + us(c * chunk));
                if (c % 16 == 0) {
                    r->pause(now);
                    r->resume(now + 1000);
                }
                if (c % 100 == 99) {
                    r->flush();
                }
            }
        });
        std::thread view([&] {
            for (int turn = 0; running && turn < 2000; ++turn) {
                QMatrix4x4 m;
                m.rotate(float(turn), 0, 1, 0);
                r->setView(HAmbisonicRotation::forView(m));
            }
        });
        for (int period = 0; period < 500; ++period) {
            render(*r, 480);
            r->setGain(period % 2 ? 1.0f : 0.5f);
        }
        running = false;
        producer.join();
        view.join();
        QVERIFY(r->takeTurnLatencies().size() <= 500);
    }
};

QTEST_GUILESS_MAIN(TestSpatialAudioRenderer)
#include "tst_spatialaudiorenderer.moc"
