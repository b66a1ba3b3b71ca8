// Runs the real player for a long while through a list of photos and clips, switching media at a
// steady pace, and between switches seeking, changing the projection and the stereo mode at random
// (from a fixed seed, so that a run can be repeated). Prints the player's resident memory, the GL
// textures alive in its window's context and its open file descriptors at the start, after 100
// switches and at the end, and whether the end is back to the level after 100 switches: memory
// within 10 %, textures and descriptors the same. Every sample is taken on the list's first media,
// after a pause, so that the figures compare like with like (the list's length must divide 100;
// a photo first holds stillest).
//
// The player reports its live textures once a second (category gyre.render.resources). Needs an X
// server: bench/run-soak.
//
// usage: bench_soak [--switches N] [--interval MS] [--seed S] MEDIA...
#include "BenchSupport.h"
#include "PlayerProcess.h"
#include "ProcessFigures.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

struct Sample
{
    int switches = 0;
    double residentMb = -1;
    double anonymousMb = -1;
    int textures = -1;
    int descriptors = -1;
};

// The player's texture counts so far, oldest first.
QList<int> textureReports(const QString& output)
{
    static const QRegularExpression line("gyre\\.render\\.resources: textures alive: (\\d+)");
    QList<int> counts;
    QRegularExpressionMatchIterator it = line.globalMatch(output);
    while (it.hasNext()) {
        counts.append(it.next().captured(1).toInt());
    }
    return counts;
}

// Lets the player settle on what it shows (frames it freed go with the next frames drawn), then
// reads the figures; the texture count is that of the second report after the pause, the first
// whose whole second lies after it.
Sample sample(PlayerProcess& player, int switches)
{
    QTest::qWait(3000);
    const int reports = int(textureReports(player.output()).size());
    (void)QTest::qWaitFor([&] { return textureReports(player.output()).size() >= reports + 2; }, 5000);
    const QList<int> counts = textureReports(player.output());
    const qint64 pid = player.process().processId();
    return {switches, ProcessFigures::statusMegabytes(pid, "VmRSS:"),
            ProcessFigures::statusMegabytes(pid, "RssAnon:"), counts.isEmpty() ? -1 : counts.last(),
            ProcessFigures::openDescriptors(pid)};
}

void print(const char* when, const Sample& s)
{
    std::printf("%-16s %8d %12.1f %10.1f %10d %13d\n", when, s.switches, s.residentMb, s.anonymousMb,
                s.textures, s.descriptors);
    std::fflush(stdout);
}

// One of the things a person does between switches, or nothing.
void randomAction(QRandomGenerator& random)
{
    static const char* const keys[] = {"ctrl+Right", "ctrl+Left", "ctrl+Up", "ctrl+Down", "p", "s"};
    const int pick = random.bounded(8);
    if (pick < 6) {
        PlayerProcess::key(QString::fromLatin1(keys[pick]));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Media-switching soak of the whole player"));
    const QCommandLineOption switchesOption(QStringLiteral("switches"), QStringLiteral("Switches of media."),
                                            QStringLiteral("count"), QStringLiteral("1000"));
    const QCommandLineOption intervalOption(QStringLiteral("interval"),
                                            QStringLiteral("Milliseconds between switches."),
                                            QStringLiteral("ms"), QStringLiteral("600"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the random actions."),
                                        QStringLiteral("seed"), QStringLiteral("1"));
    parser.addOptions({switchesOption, intervalOption, seedOption});
    parser.addPositionalArgument(QStringLiteral("media"), QStringLiteral("Photos and clips."), "MEDIA...");
    parser.addHelpOption();
    parser.process(app);
    QStringList media;
    for (const QString& path : parser.positionalArguments()) {
        media.append(QFileInfo(path).absoluteFilePath());
    }
    if (media.isEmpty() || 100 % media.size() != 0) {
        std::fprintf(stderr, "bench_soak: give a list whose length divides 100\n");
        return 2;
    }
    const int switches = qMax(100, parser.value(switchesOption).toInt()) / 100 * 100;
    const int interval = qMax(100, parser.value(intervalOption).toInt());
    QRandomGenerator random(parser.value(seedOption).toUInt());

    WindowManager windowManager;
    if (!windowManager.start()) {
        std::fprintf(stderr, "bench_soak: openbox is missing\n");
        return 1;
    }
    QTemporaryDir home;
    QProcessEnvironment environment = PlayerProcess::profile(home.path(), {});
    environment.insert("QT_LOGGING_RULES", "gyre.render.resources.info=true");
    PlayerProcess player;
    if (!player.start(QStringList{"-qwindowgeometry", "1280x720+0+0"} + media, environment)) {
        std::fprintf(stderr, "bench_soak: the player did not start\n");
        return 1;
    }
    std::printf("%d media, %d switches every %d ms, seed %s; load average %s\n", int(media.size()), switches,
                interval, qPrintable(parser.value(seedOption)), qPrintable(BenchSupport::loadAverage()));
    std::printf("%-16s %8s %12s %10s %10s %13s\n", "", "switches", "resident MB", "anon MB", "textures",
                "descriptors");
    const Sample start = sample(player, 0);
    print("start", start);

    Sample afterHundred;
    int missed = 0;
    QElapsedTimer run;
    run.start();
    for (int done = 1; done <= switches; ++done) {
        QElapsedTimer step;
        step.start();
        const QString before = player.title();
        PlayerProcess::key(QStringLiteral("Right"));
        if (!QTest::qWaitFor([&] { return player.title() != before; }, 5000)) {
            ++missed;
        }
        randomAction(random);
        QTest::qWait(int(qMax<qint64>(0, interval - step.elapsed())));
        if (player.process().state() != QProcess::Running) {
            std::printf("the player ended after %d switches; it said:\n%s\n", done,
                        qPrintable(player.output().right(4000)));
            return 1;
        }
        if (done == 100) {
            afterHundred = sample(player, done);
            print("after 100", afterHundred);
        } else if (done % 100 == 0 && done < switches) {
            print(qPrintable(QStringLiteral("%1 s").arg(run.elapsed() / 1000)), sample(player, done));
        }
    }
    const Sample end = sample(player, switches);
    print("end", end);

    const double growth = 100.0 * (end.residentMb - afterHundred.residentMb) / afterHundred.residentMb;
    const bool memoryHolds = std::abs(growth) <= 10.0;
    const bool texturesHold = end.textures == afterHundred.textures && end.textures >= 0;
    const bool descriptorsHold = end.descriptors == afterHundred.descriptors;
    std::printf("resident memory %+.1f %% against after 100 switches: %s\n", growth,
                memoryHolds ? "within 10 %" : "BEYOND 10 %");
    std::printf("textures %d against %d: %s\n", end.textures, afterHundred.textures,
                texturesHold ? "back to level" : "NOT back to level");
    std::printf("descriptors %d against %d: %s\n", end.descriptors, afterHundred.descriptors,
                descriptorsHold ? "back to level" : "NOT back to level");
    std::printf("%d switches whose title did not change within 5 s; %.0f s in all\n", missed,
                run.elapsed() / 1000.0);
    return memoryHolds && texturesHold && descriptorsHold ? 0 : 1;
}
