#include "CrashTestSupport.h"

#include <csignal>

using namespace CrashTestSupport;

// The real player, killed with SIGSEGV while it shows its window. A copy of it runs from a temporary
// directory with the stand-in reporter beside it, where the player looks for the reporter. Its dump
// lands in the user's data, reads with function names, and the next start tells the user.
class TestPlayerCrash : public QObject
{
    Q_OBJECT

private slots:
    void segvLeavesADumpAndStartsTheReporter()
    {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString player = directory.filePath("gyre-player");
        QVERIFY(QFile::copy(GYRE_PLAYER_EXECUTABLE, player));
        QVERIFY(QFile::copy(GYRE_REPORTER_STANDIN, directory.filePath("REderiZarevodu_dud32.exe")));
        const QString dumpDirectory = directory.filePath("data/gyre-player/crashes");
        const QString logFile = directory.filePath("reporter.log");
        QProcessEnvironment playerEnvironment = environment(directory.path(), logFile);
        playerEnvironment.insert("XDG_DATA_HOME", directory.filePath("data"));

        QProcess process;
        process.setProcessEnvironment(playerEnvironment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(player, QStringList());
        QVERIFY(process.waitForStarted(10000));

        // Crash handling is installed before the window is shown.
        // Latched: QTRY re-evaluates the condition after the loop, and one slow or failed xdotool
        // call on a loaded machine must not turn a window already seen back into "not shown".
        bool seen = false;
        const auto windowShown = [&seen] {
            if (!seen) {
                QProcess xdotool;
                xdotool.start("xdotool", {"search", "--onlyvisible", "--name", "^Gyre Player$"});
                seen = xdotool.waitForFinished(10000) && !xdotool.readAllStandardOutput().trimmed().isEmpty();
            }
            return seen;
        };
        // A loaded machine can take well over half a minute for a first start under llvmpipe.
        QTRY_VERIFY_WITH_TIMEOUT(windowShown() || process.state() != QProcess::Running, 60000);
        QCOMPARE(process.state(), QProcess::Running);

        QCOMPARE(::kill(pid_t(process.processId()), SIGSEGV), 0);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        QTRY_COMPARE_WITH_TIMEOUT(reporterStarts(logFile).size(), 1, 20000);
        const QStringList written = dumps(dumpDirectory);
        QCOMPARE(written.size(), 1);
        verifyDump(written.first(), "SIGSEGV");
        // The locale comes from the player's settings, not checked here.
        const QJsonObject record = reporterStarts(logFile).first();
        const QString locale = record.value("arguments").toVariant().toStringList().value(3);
        verifyReporterStart(record, written.first(), locale, "", directory.path());

        // The build's symbol files name the player's own frames.
        QProcess symbolise;
        symbolise.start(GYRE_SOURCE_DIR "/tools/symbolise", {written.first()});
        QVERIFY(symbolise.waitForFinished(60000));
        const QString stack = QString::fromUtf8(symbolise.readAllStandardOutput());
        QVERIFY2(stack.contains(QRegularExpression("gyre-player!\\S+.* \\[main\\.cpp : \\d+")),
                 qPrintable(stack.section("Found by", -3)));

        // The next start says what happened, once.
        QProcess again;
        again.setProcessEnvironment(playerEnvironment);
        again.setProcessChannelMode(QProcess::MergedChannels);
        again.start(player, QStringList());
        QVERIFY(again.waitForStarted(10000));
        QString said;
        QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromLocal8Bit(again.readAll()))
                                     .contains("Crash note shown: Gyre Player closed unexpectedly on "),
                                 60000);
        again.terminate();
        QVERIFY(again.waitForFinished(30000));
    }
};

QTEST_GUILESS_MAIN(TestPlayerCrash)
#include "tst_playercrash.moc"
