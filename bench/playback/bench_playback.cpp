// Plays clips through the real player, in its own main scene, in a 1280x720 window, and prints what
// reaches the window and what it costs: frames presented per second, frames dropped, whole-process
// CPU per presented frame, resident memory and the time from opening to the first frame, beside the
// decode-alone floor of the same clip measured in the same run (ffmpeg decoding to nothing).
//
// The player reports its frames once a second (category gyre.render.stats); the CPU and memory are
// read from /proc over the same seconds. Needs an X server: bench/run-playback-bench.
//
// usage: bench_playback [--seconds N] CLIP...
#include "BenchSupport.h"
#include "PlayerProcess.h"
#include "ProcessFigures.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

struct Stats
{
    int presented = 0;
    int dropped = 0;
    int decoded = 0;
    int gap = 0;      // ms, longest between two presented frames
    int lateMean = 0; // ms from libvlc showing a picture to its upload
    int lateMax = 0;
    int vlcLate = -1; // pictures libvlc dropped as too late, since opening
    int soundLost = -1;
};

struct Result
{
    QString clip;
    int seconds = 0;
    double presentedPerSecond = 0;
    int dropped = 0;
    int decoded = 0;
    double cpuPerPresented = 0; // ms
    double residentMb = 0;
    double peakResidentMb = 0;
    double openToFirstFrame = -1;   // ms
    double windowToFirstFrame = -1; // ms
    double floor = 0;               // ms of CPU per frame
    int longestGap = 0;             // ms
    double lateMean = 0;            // ms
    int lateMax = 0;                // ms
    int vlcLate = 0;                // pictures libvlc dropped in the measured seconds
    int soundLost = 0;              // sound buffers lost in the measured seconds
};

// CPU milliseconds per frame that ffmpeg needs to decode the clip and throw the pictures away.
double decodeFloor(const QString& clip)
{
    QProcess count;
    count.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                            "stream=nb_read_packets", "-of", "csv=p=0", clip});
    count.waitForFinished(120000);
    const int frames = count.readAllStandardOutput().trimmed().toInt();
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-hide_banner", "-nostdin", "-benchmark", "-i", clip, "-f", "null", "-"});
    ffmpeg.waitForFinished(600000);
    const QRegularExpressionMatch match = QRegularExpression("bench: utime=([0-9.]+)s stime=([0-9.]+)s")
                                              .match(QString::fromLocal8Bit(ffmpeg.readAllStandardError()));
    if (!match.hasMatch() || frames <= 0) {
        return -1;
    }
    return (match.captured(1).toDouble() + match.captured(2).toDouble()) * 1000.0 / frames;
}

// The process time (seconds) of the first line of the output that matches, and its captures.
std::optional<double> timeOf(const QString& output, const QRegularExpression& pattern)
{
    const QRegularExpressionMatch match = pattern.match(output);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1).toDouble();
}

QList<Stats> statsLines(const QString& output)
{
    static const QRegularExpression line(
        "gyre\\.render\\.stats: presented=(\\d+) dropped=(\\d+) decoded=(\\d+)"
        "(?: gap=(\\d+)ms late=(\\d+)/(\\d+)ms)?(?: libvlc: decoded=\\d+ late=(\\d+) soundLost=(\\d+))?");
    QList<Stats> all;
    QRegularExpressionMatchIterator it = line.globalMatch(output);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const auto number = [&m](int group, int otherwise) {
            return m.captured(group).isEmpty() ? otherwise : m.captured(group).toInt();
        };
        all.append({number(1, 0), number(2, 0), number(3, 0), number(4, 0), number(5, 0), number(6, 0),
                    number(7, -1), number(8, -1)});
    }
    return all;
}

std::optional<Result> measure(const QString& clip, int seconds)
{
    Result result;
    result.clip = QFileInfo(clip).fileName();
    result.seconds = seconds;

    QTemporaryDir home;
    QProcessEnvironment environment = PlayerProcess::profile(home.path(), {});
    environment.insert("QT_LOGGING_RULES", "gyre.render.stats.info=true");
    environment.insert("QT_MESSAGE_PATTERN", "[%{time process}] %{category}: %{message}");
    PlayerProcess player;
    if (!player.start({"-qwindowgeometry", "1280x720+0+0", clip}, environment)) {
        std::fprintf(stderr, "bench_playback: the player did not start\n");
        return std::nullopt;
    }
    const qint64 pid = player.process().processId();

    // The first media waits paused at its first picture; then it is played.
    static const QRegularExpression firstFrame(
        "\\[\\s*([0-9.]+)\\] gyre\\.render\\.stats: first frame presented");
    if (!QTest::qWaitFor([&] { return firstFrame.match(player.output()).hasMatch(); }, 30000)) {
        std::fprintf(stderr, "bench_playback: no first frame from %s; the player said:\n%s\n",
                     qPrintable(clip), qPrintable(player.output()));
        return std::nullopt;
    }
    const QString opening = player.output();
    const auto shown =
        timeOf(opening, QRegularExpression("\\[\\s*([0-9.]+)\\] gyre\\.render\\.stats: window shown"));
    const auto opened = timeOf(opening, QRegularExpression("\\[\\s*([0-9.]+)\\] gyre\\.video: opening"));
    const auto first = timeOf(opening, firstFrame);
    if (shown && first) {
        result.windowToFirstFrame = (*first - *shown) * 1000.0;
    }
    if (opened && first) {
        result.openToFirstFrame = (*first - *opened) * 1000.0;
    }
    // The video item logs its states. The first media pauses at its first picture (a Playing line
    // comes before that); Space must then bring a Playing line after the Paused one.
    const QString pausedLine = QStringLiteral("state HuiQuickVideoPlayerVlc::Paused");
    if (!QTest::qWaitFor([&] { return player.output().contains(pausedLine); }, 10000)) {
        std::fprintf(stderr, "bench_playback: %s never paused at its first picture\n", qPrintable(clip));
        return std::nullopt;
    }
    const auto playing = [&] {
        const QString output = player.output();
        return output.lastIndexOf("state HuiQuickVideoPlayerVlc::Playing") > output.lastIndexOf(pausedLine);
    };
    for (int attempt = 0; attempt < 5 && !playing(); ++attempt) {
        player.activate();
        PlayerProcess::key("space");
        (void)QTest::qWaitFor(playing, 2000);
    }
    if (!playing()) {
        std::fprintf(stderr, "bench_playback: %s does not play\n", qPrintable(clip));
        return std::nullopt;
    }
    // One report to settle in, then the measured ones.
    const auto reports = [&] { return statsLines(player.output()).size(); };
    const int before = reports();
    if (!QTest::qWaitFor([&] { return reports() >= before + 2; }, 10000)) {
        std::fprintf(stderr, "bench_playback: no frame reports from the player\n");
        return std::nullopt;
    }
    const int start = reports();
    const double cpuStart = ProcessFigures::cpuMilliseconds(pid);
    if (!QTest::qWaitFor([&] { return reports() >= start + seconds; }, (seconds + 10) * 1000)) {
        std::fprintf(stderr, "bench_playback: the player stopped reporting\n");
        return std::nullopt;
    }
    const double cpuEnd = ProcessFigures::cpuMilliseconds(pid);
    result.residentMb = ProcessFigures::statusMegabytes(pid, "VmRSS:");
    result.peakResidentMb = ProcessFigures::statusMegabytes(pid, "VmHWM:");
    const QList<Stats> measured = statsLines(player.output()).mid(start, seconds);
    int presented = 0;
    for (const Stats& s : measured) {
        presented += s.presented;
        result.dropped += s.dropped;
        result.decoded += s.decoded;
        result.longestGap = std::max(result.longestGap, s.gap);
        result.lateMean += double(s.lateMean) / measured.size();
        result.lateMax = std::max(result.lateMax, s.lateMax);
    }
    // libvlc counts since the opening: the measured seconds are the difference.
    const Stats settled = statsLines(player.output()).value(start - 1);
    if (!measured.isEmpty() && measured.last().vlcLate >= 0 && settled.vlcLate >= 0) {
        result.vlcLate = measured.last().vlcLate - settled.vlcLate;
        result.soundLost = measured.last().soundLost - settled.soundLost;
    }
    result.presentedPerSecond = double(presented) / seconds;
    result.cpuPerPresented = presented > 0 ? (cpuEnd - cpuStart) / presented : 0;
    result.floor = decodeFloor(clip);
    // GYRE_BENCH_LOGS=<folder> keeps what the player wrote, one file per clip.
    const QString logs = qEnvironmentVariable("GYRE_BENCH_LOGS");
    if (!logs.isEmpty()) {
        QFile log(QDir(logs).filePath(result.clip + ".log"));
        if (log.open(QIODevice::WriteOnly)) {
            log.write(player.output().toUtf8());
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Playback benchmark of the whole player"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Seconds measured per clip."),
                                           QStringLiteral("seconds"), QStringLiteral("8"));
    parser.addOption(secondsOption);
    parser.addPositionalArgument(QStringLiteral("clip"), QStringLiteral("Clips to play."), "CLIP...");
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().isEmpty()) {
        parser.showHelp(2);
    }
    const int seconds = qMax(1, parser.value(secondsOption).toInt());

    QProcess windowManager;
    if (!PlayerProcess::startWindowManager(windowManager)) {
        std::fprintf(stderr, "bench_playback: openbox is missing\n");
        return 1;
    }
    std::printf("load average before: %s\n", qPrintable(BenchSupport::loadAverage()));
    QList<Result> results;
    for (const QString& clip : parser.positionalArguments()) {
        const std::optional<Result> r = measure(QFileInfo(clip).absoluteFilePath(), seconds);
        if (!r) {
            return 1;
        }
        results.append(*r);
        std::printf(
            "%s: %.1f presented/s, %d dropped of %d decoded, %.1f ms CPU per presented frame, "
            "%.0f MB resident (peak %.0f), first frame %.0f ms after opening (%.0f ms after the "
            "window), floor %.1f ms per frame, ratio %.2f; longest gap %d ms, pictures uploaded %.0f ms "
            "(at most %d) after libvlc showed them, %d dropped by libvlc as late, %d sound buffers lost\n",
            qPrintable(r->clip), r->presentedPerSecond, r->dropped, r->decoded, r->cpuPerPresented,
            r->residentMb, r->peakResidentMb, r->openToFirstFrame, r->windowToFirstFrame, r->floor,
            r->floor > 0 ? r->cpuPerPresented / r->floor : 0.0, r->longestGap, r->lateMean, r->lateMax,
            r->vlcLate, r->soundLost);
        std::fflush(stdout);
    }
    std::printf("load average after: %s\n\n", qPrintable(BenchSupport::loadAverage()));
    std::printf("| clip | presented/s | dropped | CPU ms / presented | floor ms | ratio | resident MB | "
                "first frame ms (after window) | longest gap ms | upload after libvlc ms (max) |\n"
                "|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Result& r : results) {
        std::printf("| %s | %.1f | %d | %.1f | %.1f | %.2f | %.0f | %.0f (%.0f) | %d | %.0f (%d) |\n",
                    qPrintable(r.clip), r.presentedPerSecond, r.dropped, r.cpuPerPresented, r.floor,
                    r.floor > 0 ? r.cpuPerPresented / r.floor : 0.0, r.residentMb, r.openToFirstFrame,
                    r.windowToFirstFrame, r.longestGap, r.lateMean, r.lateMax);
    }
    return 0;
}
