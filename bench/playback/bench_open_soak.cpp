// Opens a video in the real player again and again and checks that every opening reaches its first
// frame: the player is started on the file, the first frame it reports ends the round, and the
// player is closed. Prints how many rounds got there and the spread of the time from opening to the
// first frame; a round that got nowhere within 30 s keeps the player's log. The caller loads the
// machine (bench/run-open-soak starts two busy loops).
//
// usage: bench_open_soak [--opens N] [--logs DIR] VIDEO
#include "PlayerProcess.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Opening soak of the whole player"));
    const QCommandLineOption opensOption(QStringLiteral("opens"), QStringLiteral("Rounds to run."),
                                         QStringLiteral("count"), QStringLiteral("200"));
    const QCommandLineOption logsOption(QStringLiteral("logs"),
                                        QStringLiteral("Where failed rounds' logs go."),
                                        QStringLiteral("folder"), QDir::currentPath());
    parser.addOption(opensOption);
    parser.addOption(logsOption);
    parser.addPositionalArgument(QStringLiteral("video"), QStringLiteral("The video to open."));
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }
    const QString video = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    const int opens = qMax(1, parser.value(opensOption).toInt());

    QProcess windowManager;
    if (!PlayerProcess::startWindowManager(windowManager)) {
        std::fprintf(stderr, "bench_open_soak: openbox is missing\n");
        return 1;
    }
    static const QRegularExpression firstFrame("first frame presented, (\\d+) ms after opening");
    std::vector<int> times;
    int failed = 0;
    QElapsedTimer run;
    run.start();
    for (int round = 1; round <= opens; ++round) {
        QTemporaryDir home;
        QProcessEnvironment environment = PlayerProcess::profile(home.path(), {});
        environment.insert("QT_LOGGING_RULES", "gyre.render.stats.info=true;gyre.video.debug=true");
        PlayerProcess player;
        bool reached = false;
        if (player.start({"-qwindowgeometry", "640x360+0+0", video}, environment)) {
            reached = QTest::qWaitFor([&] { return firstFrame.match(player.output()).hasMatch(); }, 30000);
        }
        if (reached) {
            times.push_back(firstFrame.match(player.output()).captured(1).toInt());
        } else {
            ++failed;
            QFile log(QDir(parser.value(logsOption)).filePath(QStringLiteral("open-soak-%1.log").arg(round)));
            if (log.open(QIODevice::WriteOnly)) {
                log.write(player.output().toUtf8());
            }
            std::printf("round %d: no first frame within 30 s (log in %s)\n", round,
                        qPrintable(log.fileName()));
        }
        if (round % 20 == 0) {
            std::printf("%d rounds, %d without a first frame\n", round, failed);
            std::fflush(stdout);
        }
    }
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times.empty() ? -1 : times[std::size_t(share * (times.size() - 1))];
    };
    std::printf("%d of %d opens reached their first frame in %.0f s; opening to first frame: median %d ms, "
                "90th percentile %d ms, slowest %d ms\n",
                int(times.size()), opens, run.elapsed() / 1000.0, at(0.5), at(0.9), at(1.0));
    return failed == 0 ? 0 : 1;
}
