// Plays one clip from start to end through the video item in a 1280x720 window and prints what it
// cost: frames, CPU, wall time, memory, against ffmpeg's decode-only floor for the same file.
//
// usage: bench_playback [--scene QML] FILE
// Needs a display (bench/run-playback-bench starts its own Xvfb).

#include "app/HSettingsManager.h"
#include "video/HVideoPlugin.h"
#include "video/HuiQuickVideoPlayerVlc.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickItem>
#include <QQuickView>
#include <QRegularExpression>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>

namespace {

struct CpuSample
{
    double user = 0;
    double system = 0;
    long peakRssKb = 0;
    double total() const { return user + system; }
};

CpuSample processCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    CpuSample sample;
    sample.user = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
    sample.system = double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6;
    sample.peakRssKb = usage.ru_maxrss;
    return sample;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("unknown");
    }
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

QString run(const QString& program, const QStringList& arguments, bool standardError)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000)) {
        return QString();
    }
    return QString::fromLocal8Bit(standardError ? process.readAllStandardError()
                                                : process.readAllStandardOutput());
}

int framesInFile(const QString& file)
{
    const QString output = run(QStringLiteral("ffprobe"),
                               {"-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                                "stream=nb_read_packets", "-of", "csv=p=0", file},
                               false);
    return output.trimmed().toInt();
}

// CPU seconds (user + system) ffmpeg needs to decode the file and throw the pictures away.
double decodeFloor(const QString& file)
{
    const QString output =
        run(QStringLiteral("ffmpeg"),
            {"-hide_banner", "-nostdin", "-benchmark", "-i", file, "-f", "null", "-"}, true);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("bench: utime=([0-9.]+)s stime=([0-9.]+)s")).match(output);
    return match.hasMatch() ? match.captured(1).toDouble() + match.captured(2).toDouble() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Video playback benchmark"));
    const QCommandLineOption sceneOption(
        QStringLiteral("scene"), QStringLiteral("QML scene holding an item named \"player\"."),
        QStringLiteral("url"), QStringLiteral("qrc:/bench/PlaybackScene.qml"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"),
                                           QStringLiteral("Give up after this long."),
                                           QStringLiteral("seconds"), QStringLiteral("120"));
    parser.addOption(sceneOption);
    parser.addOption(timeoutOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The clip to play."));
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }
    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    if (!QFileInfo::exists(file)) {
        std::fprintf(stderr, "bench_playback: no such file %s\n", qPrintable(file));
        return 2;
    }

    // As the player starts: the selector registers the item and owns the hardware-decoding choice.
    HSettingsManager settings(QSettings::UserScope, QStringLiteral("Zelmo"),
                              QStringLiteral("bench-playback"));
    bool hardwareDecoding = false;
    HVideoPlugin videoPlugin(&settings, &hardwareDecoding);

    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(1280, 720);
    view.setSource(QUrl(parser.value(sceneOption)));
    auto* player = view.rootObject()
                       ? view.rootObject()->findChild<HuiQuickVideoPlayerVlc*>(QStringLiteral("player"))
                       : nullptr;
    if (!player) {
        std::fprintf(stderr, "bench_playback: the scene has no video item named \"player\"\n");
        return 1;
    }
    std::atomic<int> framesSwapped{0};
    QObject::connect(
        &view, &QQuickWindow::frameSwapped, &view, [&framesSwapped] { framesSwapped.fetch_add(1); },
        Qt::DirectConnection);
    view.show();
    {
        QEventLoop exposed;
        QObject::connect(&view, &QQuickWindow::frameSwapped, &exposed, &QEventLoop::quit,
                         Qt::QueuedConnection);
        QTimer::singleShot(10000, &exposed, &QEventLoop::quit);
        exposed.exec();
    }

    const QString loadBefore = loadAverage();
    int finalState = -1;
    QEventLoop playing;
    QObject::connect(player, &HuiQuickVideoPlayerVlc::vlcStateChanged, &playing, [&](int state) {
        if (state == HuiQuickVideoPlayerVlc::Ended || state == HuiQuickVideoPlayerVlc::Error) {
            finalState = state;
            playing.quit();
        }
    });
    QTimer::singleShot(parser.value(timeoutOption).toInt() * 1000, &playing, &QEventLoop::quit);

    framesSwapped.store(0);
    const CpuSample cpuBefore = processCpu();
    QElapsedTimer wall;
    wall.start();
    player->openFile(QUrl::fromLocalFile(file));
    playing.exec();
    const double wallSeconds = double(wall.elapsed()) / 1000.0;
    const CpuSample cpuAfter = processCpu();
    const int decoded = player->getFramesDecoded();
    const int lost = player->getFramesLost();
    const int presented = player->getFramesUploaded();
    const int swapped = framesSwapped.load();
    const QString loadAfter = loadAverage();
    player->close();

    const int inFile = framesInFile(file);
    const double floor = decodeFloor(file);
    const double playbackCpu = cpuAfter.total() - cpuBefore.total();

    std::printf("playback benchmark: %s, window 1280x720, scene %s\n", qPrintable(QFileInfo(file).fileName()),
                qPrintable(parser.value(sceneOption)));
    std::printf("  load average            %s before, %s after\n", qPrintable(loadBefore),
                qPrintable(loadAfter));
    if (finalState != HuiQuickVideoPlayerVlc::Ended) {
        std::printf("  ** playback did not end normally (state %d) **\n", finalState);
    }
    std::printf("  frames in file          %d\n", inFile);
    std::printf("  frames decoded          %d (handed to the item; libvlc drops late ones before)\n",
                decoded);
    std::printf("  frames lost             %d\n", lost);
    std::printf("  frames presented (item) %d\n", presented);
    std::printf("  window frames swapped   %d\n", swapped);
    std::printf("  wall seconds            %.2f (open to end)\n", wallSeconds);
    std::printf("  CPU seconds             %.2f whole process (user %.2f + sys %.2f), %.2f open to end\n",
                cpuAfter.total(), cpuAfter.user, cpuAfter.system, playbackCpu);
    std::printf("  CPU per frame in file   %.1f ms (open to end)\n",
                inFile > 0 ? playbackCpu * 1000 / inFile : 0.0);
    std::printf("  peak RSS                %.0f MB\n", double(cpuAfter.peakRssKb) / 1024.0);
    std::printf("  decode-only floor       %.2f CPU s (ffmpeg -benchmark -i FILE -f null -)\n", floor);
    if (floor > 0) {
        std::printf("  ratio CPU / floor       %.2f whole process, %.2f open to end\n",
                    cpuAfter.total() / floor, playbackCpu / floor);
    }
    return finalState == HuiQuickVideoPlayerVlc::Ended ? 0 : 1;
}
