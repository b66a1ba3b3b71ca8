#include "CrashTestSupport.h"

using namespace CrashTestSupport;

// Crash handling as start-up installs it, in a child program that fails on request (the test runner
// itself never crashes), with a stand-in for the crash reporter beside that program.
class TestCrashHandling : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dumpDirectory;
    QString logFile;

    void startHelper(QProcess& helper, const QString& mode)
    {
        helper.setProcessEnvironment(environment(dumpDirectory.path(), logFile));
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(GYRE_CRASH_HELPER, {mode});
        QVERIFY(helper.waitForStarted(10000));
    }

    // The helper installs crash handling with the de_DE locale.
    void verifyReporterStart(int index, const QString& dump, const QString& crashInformation)
    {
        CrashTestSupport::verifyReporterStart(reporterStarts(logFile).at(index), dump, "de_DE",
                                              crashInformation, QFileInfo(GYRE_CRASH_HELPER).absolutePath());
    }

private slots:
    void init()
    {
        QVERIFY(dumpDirectory.isValid());
        QDir(dumpDirectory.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dumpDirectory.path()));
        logFile = dumpDirectory.filePath("reporter.log");
    }

    void crashStartsTheReporter_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("crashInformation");
        QTest::addColumn<QString>("reason");
        QTest::addRow("null-pointer write") << "segv"
                                            << ""
                                            << "SIGSEGV";
        QTest::addRow("standard exception") << "runtime_error"
                                            << "boom"
                                            << "SIGABRT";
        QTest::addRow("other exception") << "int"
                                         << "Unknown excpetion"
                                         << "SIGABRT";
    }
    void crashStartsTheReporter()
    {
        QFETCH(QString, mode);
        QFETCH(QString, crashInformation);
        QFETCH(QString, reason);

        QProcess helper;
        startHelper(helper, mode);
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

        QTRY_COMPARE_WITH_TIMEOUT(reporterStarts(logFile).size(), 1, 20000);
        const QStringList written = dumps(dumpDirectory.path());
        QCOMPARE(written.size(), 1);
        verifyDump(written.first(), reason);
        verifyReporterStart(0, written.first(), crashInformation);
        QCOMPARE(reporterStarts(logFile).size(), 1);

        QProcess symbolise;
        symbolise.start(GYRE_SOURCE_DIR "/tools/symbolise", {written.first(), "--binary", GYRE_CRASH_HELPER});
        QVERIFY(symbolise.waitForFinished(60000));
        const QString stack = QString::fromUtf8(symbolise.readAllStandardOutput());
        // The crashed thread's frames are named: the crash happens in main's handlers.
        QVERIFY2(stack.contains(
                     QRegularExpression("^ +\\d+  crash-helper!main", QRegularExpression::MultilineOption)),
                 qPrintable(stack));
    }

    void dumpOnRequestLetsTheProgramGoOn()
    {
        QProcess helper;
        startHelper(helper, "request");
        QTRY_VERIFY_WITH_TIMEOUT(helper.canReadLine() || helper.state() != QProcess::Running, 20000);
        QCOMPARE(helper.readLine(), QByteArray("dumped\n"));

        QTRY_COMPARE_WITH_TIMEOUT(reporterStarts(logFile).size(), 1, 20000);
        QCOMPARE(helper.state(), QProcess::Running);
        const QStringList requested = dumps(dumpDirectory.path());
        QCOMPARE(requested.size(), 1);
        verifyDump(requested.first(), "DUMP_REQUESTED");
        verifyReporterStart(0, requested.first(), "");

        // A real crash afterwards still gets a dump of its own (the descriptor is reset after a
        // requested dump, or the next one fails).
        helper.write("crash\n");
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        QTRY_COMPARE_WITH_TIMEOUT(reporterStarts(logFile).size(), 2, 20000);
        const QStringList written = dumps(dumpDirectory.path());
        QCOMPARE(written.size(), 2);
        const QString crashDump = written.at(written.at(0) == requested.first() ? 1 : 0);
        verifyDump(crashDump, "SIGSEGV");
        verifyReporterStart(1, crashDump, "");
        QCOMPARE(reporterStarts(logFile).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCrashHandling)
#include "tst_crashhandling.moc"
