#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

// Starts the external crash reporter with a dump and a description of the program. Its command line
// is, in order: application name, version, extra text B, language, extra text A, dump path,
// minidump id, crash information (empty unless an exception was recorded), flag.
//
// After a crash the reporter is started from inside the crashed process's signal handler, where only
// async-signal-safe calls are allowed: the argument vector is therefore built beforehand (again
// whenever the crash information changes) and started by fork and exec.
class HCrashReportProcess : public QObject
{
    Q_OBJECT

public:
    HCrashReportProcess(const QString& programName, const QString& directory, const QString& name,
                        const QString& version, const QString& languageName, const QString& textA,
                        const QString& textB);
    ~HCrashReportProcess() override;

    void setCrashInformation(const QString& text);

    QStringList arguments(const QString& dumpPath, const QString& minidumpId) const;

    // Async-signal-safe: starts the reporter detached from this process (double fork, new session,
    // no blocked signals) and returns once the intermediate child has gone. The result is not
    // reported, as after a crash nobody could act on it.
    void startAfterCrash(const char* dumpPath, const char* minidumpId);

public slots:
    // Starts the reporter detached; a failure is only logged.
    void run(const QString& dump_path, const QString& minidump_id);

private:
    struct PreparedStart;

    // Relative to the working directory: "./name" unless the program has a path of its own, so
    // that the reporter beside the program is found rather than one on the PATH.
    QString executable() const;
    void prepare();

    const QString program;
    const QString workingDirectory;
    const QString applicationName;
    const QString applicationVersion;
    const QString language;
    const QString extraTextA;
    const QString extraTextB;
    QString crashInfo;
    const int flag = 1;

    // The vector a crash uses. Replaced vectors are kept: a crash on another thread may be using one.
    std::atomic<PreparedStart*> prepared{nullptr};
    std::vector<std::unique_ptr<PreparedStart>> preparedStarts;
};
