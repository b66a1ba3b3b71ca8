#include "CrashTestSupport.h"

#include <csignal>

using namespace CrashTestSupport;

// The real player, killed with SIGSEGV while it shows its window. A copy of it runs from a temporary
// directory with the stand-in reporter beside it, where the player looks for the reporter.
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
        const QString dumpDirectory = directory.filePath("dumps");
        QVERIFY(QDir().mkpath(dumpDirectory));
        const QString logFile = directory.filePath("reporter.log");

        QProcess process;
        process.setProcessEnvironment(environment(dumpDirectory, logFile));
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
    }
};

QTEST_GUILESS_MAIN(TestPlayerCrash)
#include "tst_playercrash.moc"
