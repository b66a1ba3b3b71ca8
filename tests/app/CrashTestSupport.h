#pragma once

// What the crash tests read back: the stand-in reporter's records, the dumps, and what the prebuilt
// minidump_stackwalk makes of a dump.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace CrashTestSupport {

// Dumps go to the child's temporary directory; the stand-in reporter logs beside them.
inline QProcessEnvironment environment(const QString& dumpDirectory, const QString& logFile)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", dumpDirectory);
    env.insert("GYRE_REPORTER_LOG", logFile);
    return env;
}

inline QList<QJsonObject> reporterStarts(const QString& logFile)
{
    QFile log(logFile);
    QList<QJsonObject> records;
    if (log.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : log.readAll().split('\n')) {
            if (!line.isEmpty()) {
                records.append(QJsonDocument::fromJson(line).object());
            }
        }
    }
    return records;
}

inline QStringList dumps(const QString& directory)
{
    QStringList paths;
    for (const QFileInfo& entry :
         QDir(directory).entryInfoList({"*.dmp"}, QDir::Files, QDir::Time | QDir::Reversed)) {
        paths.append(entry.absoluteFilePath());
    }
    return paths;
}

// A complete, owner-only dump (it holds the environment and the command line) in which
// minidump_stackwalk finds the crash reason and a crashed thread with a frame.
inline void verifyDump(const QString& dump, const QString& reason)
{
    QVERIFY(QFileInfo(dump).size() > 0);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(dump).permissions() & others, QFile::Permissions());

    QProcess walker;
    walker.start(GYRE_MINIDUMP_STACKWALK, {dump});
    QVERIFY(walker.waitForFinished(30000));
    QCOMPARE(walker.exitCode(), 0);
    const QString output = QString::fromUtf8(walker.readAllStandardOutput());
    const auto match = [&output](const char* pattern) {
        return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(output).captured(1);
    };
    QCOMPARE(match("^Crash reason: +(\\S+)"), reason);
    QVERIFY2(!match("^Thread (\\d+) \\(crashed\\)\\n +0 +\\S").isEmpty(),
             "no crashed thread with a frame in the dump");
}

// One reporter start for the given dump, with the description start-up gives, once the dump is
// complete, in the program's own directory. The locale is whatever the program was started with.
inline void verifyReporterStart(const QJsonObject& record, const QString& dump, const QString& locale,
                                const QString& crashInformation, const QString& programDirectory)
{
    const QStringList expected = {
        "Gyre Player",    "1.0.0.400", "", locale, "", dump, QFileInfo(dump).completeBaseName(),
        crashInformation, "1"};
    QCOMPARE(record.value("arguments").toVariant().toStringList(), expected);
    QCOMPARE(qint64(record.value("dumpSize").toDouble()), QFileInfo(dump).size());
    QCOMPARE(QFileInfo(record.value("workingDirectory").toString()).canonicalFilePath(),
             QFileInfo(programDirectory).canonicalFilePath());
}

} // namespace CrashTestSupport
