#pragma once

// What the crash tests read back: the stand-in reporter's records, the dumps, and what the prebuilt
// minidump_stackwalk makes of a dump.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

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
    if (!log.open(QIODevice::ReadOnly)) {
        return records;
    }
    for (const QByteArray& line : log.readAll().split('\n')) {
        if (!line.isEmpty()) {
            records.append(QJsonDocument::fromJson(line).object());
        }
    }
    return records;
}

inline QStringList reporterArguments(const QJsonObject& record)
{
    QStringList arguments;
    for (const QJsonValue& value : record.value("arguments").toArray()) {
        arguments.append(value.toString());
    }
    return arguments;
}

inline QStringList dumps(const QString& directory)
{
    QStringList paths;
    const QFileInfoList entries =
        QDir(directory).entryInfoList({"*.dmp"}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& entry : entries) {
        paths.append(entry.absoluteFilePath());
    }
    return paths;
}

// The crash reason and the crashing thread's number as minidump_stackwalk reports them; empty when
// it cannot read the dump.
struct StackWalk
{
    QString reason;
    QString crashedThread;
};

inline StackWalk stackWalk(const QString& dump)
{
    QProcess walker;
    walker.start(GYRE_MINIDUMP_STACKWALK, {dump});
    if (!walker.waitForFinished(30000) || walker.exitCode() != 0) {
        walker.kill();
        return {};
    }
    const QString output = QString::fromUtf8(walker.readAllStandardOutput());
    const auto reason =
        QRegularExpression("^Crash reason: +(\\S+)", QRegularExpression::MultilineOption).match(output);
    const auto thread =
        QRegularExpression("^Thread (\\d+) \\(crashed\\)\\n +0 +\\S", QRegularExpression::MultilineOption)
            .match(output);
    return {reason.captured(1), thread.captured(1)};
}

} // namespace CrashTestSupport
