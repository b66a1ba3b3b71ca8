// How closely a synchronisation slave follows its master: a master and a slave player, both real
// processes on this machine, play the same clip over 127.0.0.1 for a while (60 s unless told).
// Each second the slave reports the median and the largest of its errors against the master over
// the datagrams of that second; this prints them for each second, then their median and the largest
// error of the run, and how many corrective seeks the slave made. Positions come from libvlc's time events,
// which arrive only every few hundred milliseconds on each side, so single errors are that coarse. Needs an X
// server and a private profile: bench/run-sync-bench.
#include "PlayerProcess.h"
#include "SyncReport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_sync CLIP [SECONDS]\n");
        return 2;
    }
    const QString clip = arguments.at(1);
    const int seconds = arguments.value(2, "60").toInt();
    QTextStream out(stdout);

    QProcess windowManager;
    if (!PlayerProcess::startWindowManager(windowManager)) {
        std::fprintf(stderr, "bench_sync: openbox is missing\n");
        return 1;
    }
    QUdpSocket probe;
    if (!probe.bind(QHostAddress(QHostAddress::LocalHost), 0)) {
        return 1;
    }
    const quint16 port = probe.localPort();
    probe.close();
    const QVariantMap settings{{"application/communication/ipMode", "localhost"},
                               {"application/communication/port", port}};
    QTemporaryDir masterHome;
    QTemporaryDir slaveHome;
    QProcessEnvironment slaveEnvironment = PlayerProcess::profile(slaveHome.path(), settings);
    slaveEnvironment.insert("QT_LOGGING_RULES", "gyre.net.udp.stats.info=true");

    PlayerProcess master;
    PlayerProcess slave;
    if (!slave.start({"-u", "slave"}, slaveEnvironment) ||
        !master.start({"-u", "master", clip}, PlayerProcess::profile(masterHome.path(), settings))) {
        std::fprintf(stderr, "bench_sync: a player did not start\n");
        return 1;
    }
    const auto report = [&] { return SyncReport::last(slave.output()); };

    // Both pause the first media once it plays; then the master is told to play.
    constexpr int paused = 2;
    constexpr int playing = 1;
    if (!QTest::qWaitFor([&] { return report().masterState == paused && report().slaveState == paused; },
                         60000)) {
        std::fprintf(stderr, "bench_sync: the players never settled:\n%s\n", qPrintable(slave.output()));
        return 1;
    }
    // The greeting popup may still take the first key.
    master.activate();
    const bool started = QTest::qWaitFor(
        [&] {
            PlayerProcess::key("space");
            return QTest::qWaitFor([&] { return report().masterState == playing; }, 5000);
        },
        30000);
    if (!started) {
        std::fprintf(stderr, "bench_sync: the master does not play\n");
        return 1;
    }
    const int first = SyncReport::all(slave.output()).size() - 1;
    QTest::qWait(seconds * 1000);
    const QList<SyncReport> reports = SyncReport::all(slave.output()).mid(first);

    out << "clip: " << clip << "\n";
    out << "second  master ms  slave ms  datagrams  median error ms  largest error ms  seeks\n";
    QList<int> medians;
    int largest = 0;
    for (int i = 0; i < reports.size(); ++i) {
        const SyncReport& r = reports.at(i);
        medians.append(r.medianError);
        largest = qMax(largest, r.largestError);
        out << QString("%1  %2  %3  %4  %5  %6  %7\n")
                   .arg(i, 6)
                   .arg(r.master, 9)
                   .arg(r.slave, 8)
                   .arg(r.datagrams, 9)
                   .arg(r.medianError, 15)
                   .arg(r.largestError, 16)
                   .arg(r.seeks - reports.first().seeks, 5);
    }
    if (medians.isEmpty()) {
        std::fprintf(stderr, "bench_sync: the slave reported nothing\n");
        return 1;
    }
    std::sort(medians.begin(), medians.end());
    out << "reports: " << reports.size() << " over " << seconds << " s\n";
    out << "slave error against the master (slave minus master): median " << medians.at(medians.size() / 2)
        << " ms (the median of the seconds' medians), largest " << largest << " ms\n";
    out << "corrective seeks: " << reports.last().seeks - reports.first().seeks << " while playing, "
        << reports.last().seeks << " in all\n";
    out.flush();

    windowManager.terminate();
    windowManager.waitForFinished(5000);
    return 0;
}
