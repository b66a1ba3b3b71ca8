// How closely a synchronisation slave follows its master: a master and a slave player, both real
// processes on this machine, play the same clip over 127.0.0.1 for a while (60 s unless told).
// Both write where they are ten times a second, stamped with the monotonic clock the two processes
// share; each of the slave's samples is compared with the master's position at the same instant
// (interpolated between the master's samples around it). Prints, for each second, the median and
// the largest error, the slave's rate and its seeks; then the median, 95th percentile and largest
// |error| after the first 3 s of playing, the seeks after the first and the time spent nudging.
//
// With --impaired the datagrams pass through a relay in this process that loses 10 % of them and
// delays each by 0 to 30 ms, which also reorders them; with --old-master the relay takes out their
// stamps, as an older master would send them. With --slaves N (2 or more) the master sends to a
// multicast group on the loopback interface which N slaves join, as a room of screens does, and
// each slave's error is printed; the table is the first slave's.
//
// A position here is each player's clock: libvlc's time reports, smoothed and carried on at the
// playback rate between them. Needs an X server and a private profile: bench/run-sync-bench.
#include "BenchSupport.h"
#include "PlayerProcess.h"
#include "SyncLink.h"
#include "SyncReport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr int playing = 1;
constexpr int paused = 2;

// Every match of `pattern` in a player's output, each made into a T.
template <typename T, typename Make>
std::vector<T> parsed(const QString& output, const QRegularExpression& pattern, Make make)
{
    std::vector<T> items;
    for (QRegularExpressionMatchIterator matches = pattern.globalMatch(output); matches.hasNext();) {
        items.push_back(make(matches.next()));
    }
    return items;
}

// The two samples (ordered by their `at`) on either side of `at`; none at either end.
template <typename T>
std::optional<std::pair<T, T>> around(const std::vector<T>& samples, double at)
{
    const auto after =
        std::lower_bound(samples.begin(), samples.end(), at, [](const T& s, double t) { return s.at < t; });
    if (after == samples.begin() || after == samples.end()) {
        return std::nullopt;
    }
    return std::make_pair(*(after - 1), *after);
}

// The position between two samples at `at`.
template <typename T>
double between(const T& a, const T& b, double at)
{
    return a.position + (b.position - a.position) * (at - a.at) / (b.at - a.at);
}

struct ClockSample
{
    double at;
    double position;
    int state;
    double rate;
};

std::vector<ClockSample> clockSamples(const QString& output)
{
    static const QRegularExpression line("clock ([0-9.]+) position (-?[0-9.]+) state (\\d+) rate ([0-9.]+)");
    return parsed<ClockSample>(output, line, [](const QRegularExpressionMatch& m) {
        return ClockSample{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toInt(),
                           m.captured(4).toDouble()};
    });
}

// The master's position at `at`, between two of its samples while it played; false where it did
// not play or left a gap.
bool masterAt(const std::vector<ClockSample>& master, double at, double& position)
{
    const auto pair = around(master, at);
    if (!pair) {
        return false;
    }
    const auto& [a, b] = *pair;
    if (a.state != playing || b.state != playing || b.at - a.at > 250.0 || b.position < a.position) {
        return false;
    }
    position = between(a, b, at);
    return true;
}

// Each of a slave's samples from `from` until `to` at which the master played, with the master's
// position at that instant.
struct Compared
{
    ClockSample sample;
    double master;
};

std::vector<Compared> againstMaster(const std::vector<ClockSample>& slave,
                                    const std::vector<ClockSample>& master, double from, double to)
{
    std::vector<Compared> compared;
    double position = 0.0;
    for (const ClockSample& s : slave) {
        if (s.at >= from && s.at < to && masterAt(master, s.at, position)) {
            compared.push_back({s, position});
        }
    }
    return compared;
}

// libvlc's own time reports, stamped when libvlc sent them, with how far each lay off the clock.
struct TimeReport
{
    double at;
    double position;
    double offClock;
};

std::vector<TimeReport> timeReports(const QString& output)
{
    static const QRegularExpression line("report (\\d+) at ([0-9.]+), off the clock by (-?[0-9.]+)");
    return parsed<TimeReport>(output, line, [](const QRegularExpressionMatch& m) {
        return TimeReport{m.captured(2).toDouble(), m.captured(1).toDouble(), m.captured(3).toDouble()};
    });
}

QString summary(std::vector<double> magnitudes)
{
    if (magnitudes.empty()) {
        return "none";
    }
    return QString("median %1 ms, 95th percentile %2 ms, largest %3 ms")
        .arg(BenchSupport::percentile(magnitudes, 0.5), 0, 'f', 1)
        .arg(BenchSupport::percentile(magnitudes, 0.95), 0, 'f', 1)
        .arg(*std::max_element(magnitudes.begin(), magnitudes.end()), 0, 'f', 1);
}

// The cross-check without either clock: each of the slave's reports against the master's reports
// around it, interpolated, while both play at their own pace. Coarser (a report is up to a frame
// off) but free of the smoothing.
std::vector<double> reportErrors(const std::vector<TimeReport>& slave, const std::vector<TimeReport>& master,
                                 double from, double to)
{
    std::vector<double> errors;
    for (const TimeReport& r : slave) {
        const auto pair = around(master, r.at);
        if (r.at < from || r.at > to || !pair || pair->second.at - pair->first.at > 400.0 ||
            pair->second.position <= pair->first.position) {
            continue;
        }
        errors.push_back(std::abs(r.position - between(pair->first, pair->second, r.at)));
    }
    return errors;
}

quint16 freePort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress(QHostAddress::LocalHost), 0) ? probe.localPort() : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    const bool impaired = arguments.removeAll("--impaired") > 0;
    const bool oldMaster = arguments.removeAll("--old-master") > 0;
    int slaveCount = 1;
    if (const int at = arguments.indexOf("--slaves"); at > 0 && at + 1 < arguments.size()) {
        slaveCount = std::clamp(arguments.takeAt(at + 1).toInt(), 1, 8);
        arguments.removeAt(at);
    }
    // --record FILE: the master's datagrams while it plays, as they arrived, for the tests.
    QFile recording;
    if (const int at = arguments.indexOf("--record"); at > 0 && at + 1 < arguments.size()) {
        recording.setFileName(arguments.takeAt(at + 1));
        arguments.removeAt(at);
        if (!recording.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "bench_sync: cannot write %s\n", qPrintable(recording.fileName()));
            return 1;
        }
    }
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_sync CLIP [SECONDS] [--impaired] [--old-master] [--record FILE] "
                             "[--slaves N]\n");
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
    const quint16 slavePort = freePort();
    std::unique_ptr<Link> link;
    if (slaveCount > 1 && (impaired || oldMaster || recording.isOpen())) {
        std::fprintf(stderr, "bench_sync: the relay serves one slave\n");
        return 2;
    }
    if (impaired || oldMaster || recording.isOpen()) {
        link = std::make_unique<Link>(slavePort, impaired, oldMaster);
    }
    // One slave listens on 127.0.0.1; several join a group that stays on the loopback interface.
    const QString group = QString("239.255.%1.%2").arg(slavePort >> 8).arg(slavePort & 0xff);
    const auto settings = [&](quint16 port) {
        QVariantMap map{{"application/communication/ipMode", slaveCount > 1 ? "multicast" : "localhost"},
                        {"application/communication/port", port}};
        if (slaveCount > 1) {
            map.insert("application/communication/multicastGroup", group);
            map.insert("application/communication/multicastInterface", "lo");
        }
        return map;
    };
    const QString rules =
        "gyre.net.udp.stats.info=true;gyre.net.udp.clock.info=true;gyre.video.clock.info=true";
    QTemporaryDir masterHome;
    std::vector<std::unique_ptr<QTemporaryDir>> slaveHomes;
    std::vector<std::unique_ptr<PlayerProcess>> slaves;
    for (int i = 0; i < slaveCount; ++i) {
        slaveHomes.push_back(std::make_unique<QTemporaryDir>());
        QProcessEnvironment slaveEnvironment =
            PlayerProcess::profile(slaveHomes.back()->path(), settings(slavePort));
        slaveEnvironment.insert("QT_LOGGING_RULES", rules);
        slaves.push_back(std::make_unique<PlayerProcess>());
        if (!slaves.back()->start({"-u", "slave"}, slaveEnvironment)) {
            std::fprintf(stderr, "bench_sync: slave %d did not start\n", i + 1);
            return 1;
        }
    }
    PlayerProcess& slave = *slaves.front();
    QProcessEnvironment masterEnvironment =
        PlayerProcess::profile(masterHome.path(), settings(link ? link->port() : slavePort));
    masterEnvironment.insert("QT_LOGGING_RULES", rules);

    PlayerProcess master;
    if (!master.start({"-u", "master", clip}, masterEnvironment)) {
        std::fprintf(stderr, "bench_sync: the master did not start\n");
        return 1;
    }
    const auto report = [&] { return SyncReport::last(slave.output()); };

    // Both pause the first media once it plays; then the master is told to play.
    const auto settled = [&] {
        return std::all_of(slaves.begin(), slaves.end(), [](const std::unique_ptr<PlayerProcess>& s) {
            const SyncReport r = SyncReport::last(s->output());
            return r.masterState == paused && r.slaveState == paused;
        });
    };
    if (!QTest::qWaitFor(settled, 60000)) {
        std::fprintf(stderr, "bench_sync: the players never settled:\n%s\n", qPrintable(slave.output()));
        return 1;
    }
    // The greeting popup may still take the first key.
    master.activate();
    double pressed = 0.0;
    const bool started = QTest::qWaitFor(
        [&] {
            pressed = double(QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs()) / 1e6;
            PlayerProcess::key("space");
            return QTest::qWaitFor([&] { return report().masterState == playing; }, 5000);
        },
        30000);
    if (!started) {
        std::fprintf(stderr, "bench_sync: the master does not play\n");
        return 1;
    }
    std::vector<SyncReport> atStart;
    for (const auto& s : slaves) {
        atStart.push_back(SyncReport::last(s->output()));
    }
    if (recording.isOpen()) {
        link->recordTo(&recording);
    }
    QTest::qWait(seconds * 1000);
    std::vector<SyncReport> atEnd;
    for (const auto& s : slaves) {
        atEnd.push_back(SyncReport::last(s->output()));
    }

    // GYRE_BENCH_LOGS names a folder for both players' whole output, to look into a run.
    if (const QString logs = qEnvironmentVariable("GYRE_BENCH_LOGS"); !logs.isEmpty()) {
        std::vector<std::pair<QString, PlayerProcess*>> players{{"master.log", &master}};
        for (int i = 0; i < slaveCount; ++i) {
            players.emplace_back(i == 0 ? QString("slave.log") : QString("slave-%1.log").arg(i + 1),
                                 slaves[size_t(i)].get());
        }
        for (auto& [name, player] : players) {
            QFile file(QDir(logs).filePath(name));
            if (file.open(QIODevice::WriteOnly)) {
                file.write(player->output().toUtf8());
            }
        }
    }
    const std::vector<ClockSample> masterSamples = clockSamples(master.output());
    const std::vector<ClockSample> slaveSamples = clockSamples(slave.output());
    // Both played a moment at the start before pausing; the run starts with the key that plays.
    const auto firstPlaying =
        std::find_if(masterSamples.begin(), masterSamples.end(),
                     [&](const ClockSample& s) { return s.state == playing && s.at >= pressed; });
    if (firstPlaying == masterSamples.end()) {
        std::fprintf(stderr, "bench_sync: the master wrote no clock while playing:\n%s\n",
                     qPrintable(master.output().right(3000)));
        return 1;
    }
    const double start = firstPlaying->at;

    out << "clip: " << clip << (impaired ? ", datagrams through a link losing 10 %, delayed 0-30 ms" : "")
        << (oldMaster ? ", without their stamps (an older master)" : "") << "\n";
    out << "second  master ms  median error ms  largest |error| ms  slave rate\n";
    std::vector<double> magnitudes;
    for (int second = 0; second < seconds; ++second) {
        const std::vector<Compared> compared = againstMaster(
            slaveSamples, masterSamples, start + second * 1000.0, start + (second + 1) * 1000.0);
        if (compared.empty()) {
            continue;
        }
        std::vector<double> errors;
        double rates = 0.0;
        for (const Compared& c : compared) {
            errors.push_back(c.sample.position - c.master);
            rates += c.sample.rate;
        }
        double largest = 0.0;
        for (const double e : errors) {
            largest = std::max(largest, std::abs(e));
            if (second >= 3) {
                magnitudes.push_back(std::abs(e));
            }
        }
        out << QString("%1  %2  %3  %4  %5\n")
                   .arg(second, 6)
                   .arg(compared.back().master, 9, 'f', 0)
                   .arg(BenchSupport::percentile(errors, 0.5), 15, 'f', 1)
                   .arg(largest, 18, 'f', 1)
                   .arg(rates / double(errors.size()), 10, 'f', 4);
    }
    if (magnitudes.empty()) {
        std::fprintf(stderr, "bench_sync: no sample of the two playing together\n");
        return 1;
    }
    out << "samples after the first 3 s: " << magnitudes.size() << "\n";
    out << "|error| (slave minus master): " << summary(magnitudes) << "\n";
    // How well each clock follows libvlc's reports, and the error by the reports alone.
    const double from = start + 3000.0;
    const double to = start + seconds * 1000.0;
    for (const auto& [name, output] : {std::pair<const char*, QString>{"master", master.output()},
                                       std::pair<const char*, QString>{"slave", slave.output()}}) {
        std::vector<double> off;
        for (const TimeReport& r : timeReports(output)) {
            if (r.at >= from && r.at <= to) {
                off.push_back(std::abs(r.offClock));
            }
        }
        out << "libvlc's time reports off the " << name << "'s clock: " << summary(off) << "\n";
    }
    out << "|error| by libvlc's time reports alone: "
        << summary(reportErrors(timeReports(slave.output()), timeReports(master.output()), from, to)) << "\n";
    out << "seeks: " << atEnd[0].seeks << " in all, " << atEnd[0].seeks - atStart[0].seeks
        << " while playing\n";
    out << "nudging: " << QString::number((atEnd[0].nudged - atStart[0].nudged) / 1000.0, 'f', 1) << " s of "
        << seconds << " s\n";
    // Every slave of a room by the same measure, the first one's again among them.
    for (int i = 0; slaveCount > 1 && i < slaveCount; ++i) {
        std::vector<double> errors;
        for (const Compared& c :
             againstMaster(clockSamples(slaves[size_t(i)]->output()), masterSamples, from, to)) {
            errors.push_back(std::abs(c.sample.position - c.master));
        }
        out << "slave " << i + 1 << " of " << slaveCount << ": |error| " << summary(errors)
            << "; seeks while playing " << atEnd[size_t(i)].seeks - atStart[size_t(i)].seeks << ", nudging "
            << QString::number((atEnd[size_t(i)].nudged - atStart[size_t(i)].nudged) / 1000.0, 'f', 1)
            << " s\n";
    }
    if (link) {
        out << "link: " << link->received << " datagrams, " << link->lost << " lost, " << link->reordered
            << " overtaken\n";
    }
    out.flush();

    windowManager.terminate();
    windowManager.waitForFinished(5000);
    return 0;
}
