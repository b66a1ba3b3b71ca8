#include "PanoramaTestFrames.h"
#include "PlayerProcess.h"
#include "SampleScene.h"
#include "SyncReport.h"
#include "base/HMonotonicClock.h"
#include "net/HSyncDatagram.h"

#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtEndian>
#include <QtTest>

#include <cmath>

// A view of the master, in the program's degrees (yaw grows to the right, pitch downwards), held
// for two seconds or turning at `turning` degrees a second, and what the slave's sound must then
// be: the level of a tone in one group of channels against another, at least `apart` dB louder,
// or within `-apart` dB of it when `apart` is negative; against no group, at least `apart` dB (full
// scale 0). A frequency of 0 asks for no clicks: the loudest 5 ms of the louder group's highest
// frequencies at most `apart` dB above their median.
struct SoundCheck
{
    double frequency;
    QVector<int> louder;
    QVector<int> softer;
    double apart;
};
struct SoundStep
{
    double yaw;
    double pitch;
    QVector<SoundCheck> checks;
    double turning = 0; // degrees a second
    int jumps = 0;      // milliseconds between turns, when the view jumps rather than glides
};
Q_DECLARE_METATYPE(QVector<SoundStep>)

// A 16-bit WAV file as the player wrote it, and the level of one tone in it.
struct SoundFile
{
    int rate = 0;
    int channels = 0;
    QVector<qint16> samples;

    static SoundFile read(const QString& path)
    {
        SoundFile sound;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return sound;
        }
        const QByteArray bytes = file.readAll();
        for (int at = 12; at + 8 <= bytes.size();) {
            const QByteArray id = bytes.mid(at, 4);
            const qint64 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
            if (id == "fmt " && at + 24 <= bytes.size()) {
                sound.channels = qFromLittleEndian<quint16>(bytes.constData() + at + 10);
                sound.rate = int(qFromLittleEndian<quint32>(bytes.constData() + at + 12));
            } else if (id == "data") {
                // A file whose writer was killed reads to its end, whatever its header says.
                const int count = (bytes.size() - at - 8) / 2;
                sound.samples.resize(count);
                memcpy(sound.samples.data(), bytes.constData() + at + 8, size_t(count) * 2);
                break;
            }
            at += 8 + int(size);
        }
        return sound;
    }
    double seconds() const { return channels ? double(samples.size()) / channels / rate : 0; }

    // dB by which the loudest 5 ms of a channel's fourth difference (a high-pass that leaves the
    // tones 30 dB down and a click as it is) rise above the median 5 ms; the 5 ms around a moment
    // when the output fell behind (a stalled machine, not the player's sound) are left out.
    double clickRise(int channel, double from, double to, const QVector<double>& fellBehind) const
    {
        const int window = rate / 200;
        QVector<double> levels;
        for (int start = qMax(4, int(from * rate)); start + window <= int(to * rate); start += window) {
            if (std::any_of(fellBehind.begin(), fellBehind.end(), [&](double at) {
                    return std::abs(at * rate - (start + window / 2)) < 2 * window;
                })) {
                continue;
            }
            double energy = 0;
            for (int n = start; n < start + window; ++n) {
                const auto x = [&](int k) { return samples[(n - k) * channels + channel] / 32768.0; };
                const double h = x(0) - 4 * x(1) + 6 * x(2) - 4 * x(3) + x(4);
                energy += h * h;
            }
            levels << 10 * std::log10(energy / window + 1e-20);
        }
        if (levels.isEmpty()) {
            return 0;
        }
        std::sort(levels.begin(), levels.end());
        return levels.last() - levels.at(levels.size() / 2);
    }

    // dB (full scale 0) of the tone in the sum of the channels' energies between two times.
    double level(const QVector<int>& group, double frequency, double from, double to) const
    {
        const int first = qMax(0, int(from * rate));
        const int last = qMin(int(samples.size() / qMax(1, channels)), int(to * rate));
        double energy = 0;
        for (int channel : group) {
            // Goertzel's filter at the tone's frequency.
            const double w = 2 * M_PI * frequency / rate;
            double p = 0, q = 0;
            for (int n = first; n < last; ++n) {
                const double next = samples[n * channels + channel] / 32768.0 + 2 * std::cos(w) * p - q;
                q = p;
                p = next;
            }
            const double amplitude =
                std::hypot(p - q * std::cos(w), q * std::sin(w)) * 2 / qMax(1, last - first);
            energy += amplitude * amplitude;
        }
        return 10 * std::log10(energy + 1e-20);
    }
};

// Two real players on one machine, a master and a slave on the loopback address: the slave shows
// what the master shows. Both windows are 1200 x 500, one above the other, so that each can be
// grabbed whole and their pictures compared.
class TestSyncEndToEnd : public QObject
{
    Q_OBJECT

    WindowManager windowManager;

    // A private profile whose settings send to, or listen on, `port` of 127.0.0.1.
    static QProcessEnvironment profile(const QTemporaryDir& home, quint16 port)
    {
        return PlayerProcess::profile(home.path(), {{"application/communication/ipMode", "localhost"},
                                                    {"application/communication/port", port}});
    }

    static void place(const PlayerProcess& player, int y)
    {
        const QString id = QString::number(player.window());
        PlayerProcess::xdotool({"windowsize", "--sync", id, "1200", "500"});
        PlayerProcess::xdotool({"windowmove", "--sync", id, "0", QString::number(y)});
    }

    // Whether the picture changes within 0.7 s: the sample's ball and frame counter move while
    // it plays.
    static bool moving(const PlayerProcess& player)
    {
        const QImage before = player.grab();
        return QTest::qWaitFor([&] { return player.grab() != before; }, 700);
    }

    // Whether the picture stays the same for 2 s (a busy machine may stall a playing video for a
    // moment, not for that long).
    static bool still(const PlayerProcess& player)
    {
        const QImage before = player.grab();
        return !QTest::qWaitFor([&] { return player.grab() != before; }, 2000);
    }

    // Whether two pictures look the same way: a strip of sky above the sample's moving ball, where
    // only the grid's vertical lines tell the yaw, compared beyond the codec's noise.
    static bool sameView(const QImage& a, const QImage& b)
    {
        int differing = 0;
        for (int y = 5; y < 60; ++y) {
            for (int x = 0; x < a.width(); ++x) {
                differing += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 40 ? 1 : 0;
            }
        }
        return differing < 30;
    }

private slots:
    void initTestCase() { QVERIFY2(windowManager.start(), "openbox is missing: run tools/install-deps"); }

    // A master (this test) turns; the real slave's sound, written to a file as a sound card would
    // play it, turns with it. The clip's first-order field holds 1 kHz at 90° to the left, 1.6 kHz
    // ahead and 2.5 kHz overhead; its head-locked track 440 Hz, which never turns. On headphones a
    // tone beside the head is louder in its near ear;
    // on four speakers, looking up brings the overhead tone ahead of the listener, looking down
    // behind. A stereo clip is heard exactly as libvlc decodes it.
    void slaveSoundTurnsWithTheMasterView_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QVector<SoundStep>>("steps");

        const QVector<int> left{0}, right{1}, front{0, 1}, rear{2, 3};
        const double beside = 1000, ahead = 1600, overhead = 2500, headLocked = 440;
        const QVector<SoundCheck> unturned{
            {headLocked, left, {}, -30}, {headLocked, right, {}, -30}, {headLocked, left, right, -1.5}};
        QTest::addRow("headphones, yaw")
            << "geo-ambisonic-aac-640x320.mp4"
            << "Headphones" << 2
            << QVector<SoundStep>{
                   {0, 0,
                    QVector<SoundCheck>{{beside, left, right, 6}, {ahead, left, right, -1.5}} + unturned},
                   {-90, 0,
                    QVector<SoundCheck>{{beside, left, right, -1.5}, {ahead, right, left, 6}} + unturned},
                   {180, 0,
                    QVector<SoundCheck>{{beside, right, left, 6}, {ahead, left, right, -1.5}} + unturned},
                   {90, 0,
                    QVector<SoundCheck>{{beside, left, right, -1.5}, {ahead, left, right, 6}} + unturned}};
        // A view that jumps a quarter turn five times a second: spread over a block, the jumps
        // never click (a click is heard at every frequency, far above the tones).
        QTest::addRow("headphones, jumps")
            << "geo-ambisonic-aac-640x320.mp4"
            << "Headphones" << 2
            << QVector<SoundStep>{{0, 0, {{0, left, {}, 2}, {0, right, {}, 2}}, 450, 200}};
        QTest::addRow("four speakers, pitch") << "geo-ambisonic-pcm-640x320.mov"
                                              << "Speakers" << 4
                                              << QVector<SoundStep>{{0, 0, {{overhead, front, rear, -1.5}}},
                                                                    {0, -45, {{overhead, front, rear, 3}}},
                                                                    {0, 45, {{overhead, rear, front, 3}}}};
        QTest::addRow("stereo") << "geo-stereo-640x320.mp4"
                                << "Headphones" << 2 << QVector<SoundStep>{{0, 0, {}}};
    }
    void slaveSoundTurnsWithTheMasterView()
    {
        QFETCH(QString, clip);
        QFETCH(QString, output);
        QFETCH(int, channels);
        QFETCH(QVector<SoundStep>, steps);
        QUdpSocket socket;
        QVERIFY(socket.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 port = socket.localPort();
        socket.close();
        QTemporaryDir home;
        QProcessEnvironment environment =
            PlayerProcess::profile(home.path(), {{"application/communication/ipMode", "localhost"},
                                                 {"application/communication/port", port},
                                                 {"application/audio/spatialOutput", output}});
        const QString soundFile = home.filePath("sound.wav");
        // The benchmark's measure of the system's own output: the sound is heard, not checked.
        const bool onDevice = qEnvironmentVariableIsSet("GYRE_BENCH_SOUND_DEVICE");
        if (!onDevice) {
            environment.insert("GYRE_AUDIO_FILE", soundFile);
            environment.insert("GYRE_AUDIO_FILE_CHANNELS", QString::number(channels));
        }
        PlayerProcess slave;
        QVERIFY(slave.start({"-u", "slave"}, environment));

        // The master plays the clip from its start and turns every two seconds, once the slave has
        // had three to join.
        const QString path = QStringLiteral(GYRE_TEST_MEDIA_DIR "/") + clip;
        const double started = HMonotonicClock::nowMs();
        QVector<double> turnedAt;
        HSyncDatagram datagram;
        datagram.id = "hvd"; // what every player of this program speaks with
        datagram.url = QUrl::fromLocalFile(path).toString();
        datagram.state = 1;
        const auto send = [&] {
            datagram.position = int(HMonotonicClock::nowMs() - started);
            socket.writeDatagram(datagram.toBinary(), QHostAddress(QHostAddress::LocalHost), port);
        };
        const auto playFor = [&](int milliseconds, double turning, int jumps) {
            const double from = HMonotonicClock::nowMs();
            const float yaw = datagram.yaw;
            while (HMonotonicClock::nowMs() < from + milliseconds) {
                double since = HMonotonicClock::nowMs() - from;
                since = jumps > 0 ? std::floor(since / jumps) * jumps : since;
                datagram.yaw = yaw + float(since / 1000 * turning * M_PI / 180);
                send();
                QTest::qWait(40);
            }
        };
        playFor(3000, 0, 0);
        for (const SoundStep& step : steps) {
            datagram.yaw = float(step.yaw * M_PI / 180);
            datagram.pitch = float(step.pitch * M_PI / 180);
            turnedAt << HMonotonicClock::nowMs();
            playFor(2000, step.turning, step.jumps);
        }
        turnedAt << HMonotonicClock::nowMs();
        const QString said = slave.output();
        if (qEnvironmentVariableIsSet("GYRE_SHOW_SLAVE")) {
            qInfo().noquote() << said;
        }
        slave.process().kill();
        slave.process().waitForFinished(5000);

        if (onDevice) {
            QSKIP("played on the system's output");
        }
        const SoundFile sound = SoundFile::read(soundFile);
        QVERIFY2(sound.channels == channels && sound.seconds() > 1, qPrintable(said.right(3000)));
        if (clip.contains("stereo")) {
            // libvlc's own output, untouched: each tone on its side at the level ffmpeg decodes.
            const QString reference = home.filePath("reference.wav");
            QCOMPARE(QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-i", path, "-t", "3", "-c:a",
                                                  "pcm_s16le", reference}),
                     0);
            const SoundFile decoded = SoundFile::read(reference);
            QVERIFY(!said.contains("spatial sound for"));
            for (const auto& [channel, tone] : {std::pair<int, double>{0, 700}, {1, 900}}) {
                const double heard = sound.level({channel}, tone, 1, 3);
                QVERIFY2(qAbs(heard - decoded.level({channel}, tone, 1, 3)) <= 0.1,
                         qPrintable(QString::number(heard)));
                QVERIFY(heard - sound.level({1 - channel}, tone, 1, 3) > 40);
            }
            return;
        }
        const QRegularExpressionMatch stamp =
            QRegularExpression("sound to .* from ([0-9.]+) ms on the monotonic clock").match(said);
        QVERIFY2(stamp.hasMatch(), qPrintable(said.right(3000)));
        // The file's first frame is heard 20 ms after its stamp.
        const double heardFrom = stamp.captured(1).toDouble() + 20;
        QVector<double> fellBehind;
        for (QRegularExpressionMatchIterator it =
                 QRegularExpression("sound output fell behind at ([0-9.]+) s").globalMatch(said);
             it.hasNext();) {
            fellBehind << it.next().captured(1).toDouble();
        }
        for (int i = 0; i < steps.size(); ++i) {
            const double from = (turnedAt[i] + 500 - heardFrom) / 1000;
            const double to = (turnedAt[i + 1] - 100 - heardFrom) / 1000;
            QVERIFY2(from > 0 && to < sound.seconds(),
                     qPrintable(QString("%1..%2 of %3 s").arg(from).arg(to).arg(sound.seconds())));
            for (const SoundCheck& check : steps[i].checks) {
                const double louder = sound.level(check.louder, check.frequency, from, to);
                const double difference =
                    check.frequency == 0     ? sound.clickRise(check.louder.first(), from, to, fellBehind)
                    : check.softer.isEmpty() ? louder
                                             : louder - sound.level(check.softer, check.frequency, from, to);
                QStringList group;
                for (int channel : check.louder) {
                    group << QString::number(channel);
                }
                const QString at = QString("yaw %1, pitch %2: %3 Hz %4 dB apart (channel %5 at %6 dB)")
                                       .arg(steps[i].yaw)
                                       .arg(steps[i].pitch)
                                       .arg(check.frequency)
                                       .arg(difference, 0, 'f', 1)
                                       .arg(group.join('+'))
                                       .arg(louder, 0, 'f', 1);
                qInfo().noquote() << at;
                QVERIFY2(check.frequency == 0                         ? difference <= check.apart
                         : check.apart >= 0 || check.softer.isEmpty() ? difference >= check.apart
                                                                      : qAbs(difference) <= -check.apart,
                         qPrintable(at));
            }
        }
    }

    // A room of four screens: a master and three slaves of the real program in one
    // multicast group on the loopback interface, each turned a quarter further than the last (90,
    // 180, 270, 0) with 90° across its width. Together they show the whole horizon, each its quarter
    // and each edge going on in the next window (the last's in the first); a turn of the master
    // turns all four, and the master's next photo reaches all four.
    void roomOfScreensShowsTheHorizon()
    {
        using namespace PanoramaTestFrames;
        const QNetworkInterface loopback = QNetworkInterface::interfaceFromName("lo");
        const QString group = QStringLiteral("239.255.%1.%2")
                                  .arg(QRandomGenerator::global()->bounded(1, 250))
                                  .arg(QRandomGenerator::global()->bounded(1, 250));
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QHostAddress::AnyIPv4), 0,
                           QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint));
        const quint16 port = probe.localPort();
        if (!loopback.isValid() || !probe.joinMulticastGroup(QHostAddress(group), loopback)) {
            QSKIP("this machine has no multicast on its loopback interface");
        }
        probe.close();

        const QString firstPath = GYRE_TEST_MEDIA_DIR "/geo-sphere-512x256.png";
        QTemporaryDir media;
        const QString secondPath = media.filePath("inverted.png");
        const QImage first = QImage(firstPath).convertToFormat(QImage::Format_RGB32);
        QImage second = first;
        second.invertPixels();
        QVERIFY(!first.isNull() && second.save(secondPath));

        // As small as the window goes, one above the other: side by side they would not fit the screen.
        const QSize size(1200, 220);
        // The master (0) turns its own picture too: it shows the second quarter, each slave the next.
        const auto quarter = [](int k) { return (k + 1) % 4; };
        QTemporaryDir homes[4];
        PlayerProcess players[4];
        for (int k = 0; k < 4; ++k) {
            const QVariantMap settings{{"application/communication/ipMode", "multicast"},
                                       {"application/communication/multicastGroup", group},
                                       {"application/communication/multicastInterface", "lo"},
                                       {"application/communication/port", port},
                                       {"application/communication/yawOffset", 90 * quarter(k)},
                                       {"application/communication/fov", 90},
                                       {"application/playlist/imageDisplayDuration", 600000},
                                       {"view/projection", 1}};
            QVERIFY(players[k].start(k == 0 ? QStringList{"-u", "master", firstPath, secondPath}
                                            : QStringList{"-u", "slave"},
                                     PlayerProcess::profile(homes[k].path(), settings)));
            const QString id = QString::number(players[k].window());
            PlayerProcess::xdotool(
                {"windowsize", "--sync", id, QString::number(size.width()), QString::number(size.height())});
            PlayerProcess::xdotool({"windowmove", "--sync", id, "0", QString::number(265 * k)});
        }

        // Each window the rectilinear view of its quarter, clear of the control bar at the bottom.
        const auto showsQuarters = [&](double yaw, const QImage& frame) {
            QString why;
            for (int k = 0; k < 4; ++k) {
                View v;
                v.yaw = yaw;
                v.yawOffset = quarter(k) * pi / 2;
                v.screenFov = 90;
                const bool shown = QTest::qWaitFor(
                    [&] {
                        const QImage grabbed = players[k].grab();
                        why =
                            grabbed.size() != size
                                ? QString("the window is %1 x %2").arg(grabbed.width()).arg(grabbed.height())
                                : mismatch(grabbed, v, frame,
                                           QRect(10, 10, size.width() - 20, size.height() - 90));
                        return why.isEmpty();
                    },
                    30000);
                if (!shown) {
                    qWarning("window %d at yaw %.2f: %s\n%s", k, yaw, qPrintable(why),
                             qPrintable(players[k].output()));
                    return false;
                }
            }
            return true;
        };
        QVERIFY(showsQuarters(0, first));
        // The horizon goes on from each window's right edge into the next one's left edge.
        QImage windows[4];
        for (int k = 0; k < 4; ++k) {
            windows[k] = players[k].shot(QString("room-%1").arg(quarter(k) * 90).toLatin1().constData());
        }
        for (int k = 0; k < 4; ++k) {
            const QImage &left = windows[k], &right = windows[(k + 1) % 4];
            int worst = 0;
            for (int y = 10; y < size.height() - 90; ++y) {
                const QRgb a = left.pixel(size.width() - 1, y), b = right.pixel(0, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
            QVERIFY2(
                worst <= 6,
                qPrintable(QString("window %1 to %2: %3 levels apart").arg(k).arg((k + 1) % 4).arg(worst)));
        }

        // The master's greeting takes keys until it has closed itself.
        QVERIFY(QTest::qWaitFor([&] { return players[0].output().contains("Popup closed"); }, 30000));
        players[0].activate();
        PlayerProcess::key("6");
        QVERIFY(showsQuarters(0.5, first));
        PlayerProcess::key("Right");
        QVERIFY(showsQuarters(0.5, second));
        for (int k = 1; k < 4; ++k) {
            QCOMPARE(players[k].title(), players[0].title());
        }
    }

    void slaveFollowsMaster()
    {
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 port = probe.localPort();
        probe.close();
        QTemporaryDir masterHome;
        QTemporaryDir slaveHome;
        PlayerProcess master;
        PlayerProcess slave;
        QProcessEnvironment slaveEnvironment = profile(slaveHome, port);
        slaveEnvironment.insert("QT_LOGGING_RULES", "gyre.net.udp.stats.info=true");
        // The master plays first; a slave that joins opens the master's media, and both pause
        // near its start.
        QVERIFY(master.start({"-u", "master", GYRE_SAMPLE_MEDIA_DIR "/sample-360-band-stacked.mp4"},
                             profile(masterHome, port)));
        QVERIFY2(SampleScene::showsPicture([&] { return master.grab(); }),
                 qPrintable(master.title() + "\n" + master.output()));
        place(master, 0);
        QTRY_COMPARE(master.grab().size(), QSize(1200, 500));
        QVERIFY(slave.start({"-u", "slave"}, slaveEnvironment));
        const auto report = [&] { return SyncReport::last(slave.output()); };
        place(slave, 540);
        QTRY_COMPARE(slave.grab().size(), QSize(1200, 500));
        QTRY_COMPARE_WITH_TIMEOUT(slave.title(), master.title(), 30000);
        QVERIFY2(SampleScene::showsPicture([&] { return slave.grab(); }), qPrintable(slave.output()));
        QTRY_VERIFY_WITH_TIMEOUT(still(master) && still(slave), 20000);
        // A slave slowed by a loaded machine (or a sanitizer) reports a second or more late.
        QTRY_VERIFY2_WITH_TIMEOUT(report().master >= 0 && report().master < 3000,
                                  qPrintable(QString("master at %1 ms").arg(report().master)), 15000);
        // Paused side by side, the slave shows the master's frame: one seek at most takes it there.
        QTRY_VERIFY(qAbs(report().master - report().slave) <= 17);
        QVERIFY(report().seeks <= 1);
        QVERIFY(sameView(master.grab(), slave.grab()));

        // A turn of the master turns the slave.
        master.activate();
        const QImage ahead = master.grab();
        PlayerProcess::key("6");
        const QImage turned = master.changed(ahead);
        QVERIFY(!sameView(turned, ahead));
        QTRY_VERIFY(sameView(slave.grab(), turned));
        master.shot("sync-master");
        slave.shot("sync-slave");

        // Five seconds on in the master: the slave, more than a second behind, seeks.
        const int seeksBefore = report().seeks;
        const QImage before = slave.grab();
        PlayerProcess::key("ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right");
        QTRY_VERIFY_WITH_TIMEOUT(report().master >= 5000, 10000);
        QTRY_VERIFY(qAbs(report().master - report().slave) <= 1000);
        QVERIFY(report().seeks > seeksBefore);
        QTRY_VERIFY(slave.grab() != before);

        // Play and pause follow.
        PlayerProcess::key("space");
        QTRY_VERIFY_WITH_TIMEOUT(moving(slave), 15000);
        PlayerProcess::key("space");
        QTRY_VERIFY_WITH_TIMEOUT(still(master) && still(slave), 15000);
    }
};

QTEST_MAIN(TestSyncEndToEnd)
#include "tst_sync_e2e.moc"
