#include "CrashTestSupport.h"

#include <QtTest>

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

    // One reporter start for the given dump, with the description start-up gives.
    static void verifyReporterStart(const QJsonObject& record, const QString& dump,
                                    const QString& crashInformation)
    {
        const QStringList arguments = reporterArguments(record);
        const QStringList expected = {
            "Gyre Player",    "1.0.0.400", "", "de_DE", "", dump, QFileInfo(dump).completeBaseName(),
            crashInformation, "1"};
        QCOMPARE(arguments, expected);
        // The reporter starts once the dump is complete, in the program's own directory.
        QCOMPARE(qint64(record.value("dumpSize").toDouble()), QFileInfo(dump).size());
        QCOMPARE(QFileInfo(record.value("workingDirectory").toString()).canonicalFilePath(),
                 QFileInfo(QFileInfo(GYRE_CRASH_HELPER).absolutePath()).canonicalFilePath());
    }

    static void verifyDump(const QString& dump, const QString& reason)
    {
        QVERIFY(QFileInfo(dump).size() > 0);
        // Dumps hold the environment and the command line.
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(dump).permissions() & others, QFile::Permissions());
        const StackWalk walk = stackWalk(dump);
        QCOMPARE(walk.reason, reason);
        QVERIFY2(!walk.crashedThread.isEmpty(), "no crashed thread with a frame in the dump");
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
        verifyReporterStart(reporterStarts(logFile).first(), written.first(), crashInformation);
        QCOMPARE(reporterStarts(logFile).size(), 1);
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
        verifyReporterStart(reporterStarts(logFile).first(), requested.first(), "");
        QCOMPARE(reporterStarts(logFile).size(), 1);

        // A real crash afterwards still gets a dump of its own.
        helper.write("crash\n");
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);
        QTRY_COMPARE_WITH_TIMEOUT(reporterStarts(logFile).size(), 2, 20000);
        const QStringList written = dumps(dumpDirectory.path());
        QCOMPARE(written.size(), 2);
        const QString crashDump = written.at(written.at(0) == requested.first() ? 1 : 0);
        verifyDump(crashDump, "SIGSEGV");
        verifyReporterStart(reporterStarts(logFile).at(1), crashDump, "");
        QCOMPARE(reporterStarts(logFile).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCrashHandling)
#include "tst_crashhandling.moc"
