#include "PlayerProcess.h"
#include "SampleScene.h"
#include "SyncReport.h"

#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

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
