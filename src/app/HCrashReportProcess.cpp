#include "HCrashReportProcess.h"

#include "AppLogging.h"

#include <QFile>
#include <QProcess>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int argumentCount = 9;
constexpr int dumpPathArgument = 5;
constexpr int minidumpIdArgument = 6;

void copyString(char* target, size_t size, const char* source)
{
    size_t i = 0;
    for (; source && source[i] && i + 1 < size; ++i) {
        target[i] = source[i];
    }
    target[i] = '\0';
}

// fork() runs the atfork handlers (the allocator's among them) and may deadlock in a process that
// crashed inside one of them; the bare system call does not.
pid_t forkWithoutHandlers()
{
    return pid_t(syscall(SYS_clone, SIGCHLD, nullptr, nullptr, nullptr, nullptr));
}
} // namespace

struct HCrashReportProcess::PreparedStart
{
    QByteArray executable;
    QByteArray workingDirectory;
    std::array<QByteArray, argumentCount> arguments;
    // Filled at crash time; the argument vector points into them.
    char dumpPath[PATH_MAX];
    char minidumpId[NAME_MAX + 1];
    // The executable, the arguments, the terminating null.
    std::array<char*, argumentCount + 2> argv;
};

HCrashReportProcess::HCrashReportProcess(const QString& programName, const QString& directory,
                                         const QString& name, const QString& version,
                                         const QString& languageName, const QString& textA,
                                         const QString& textB)
    : program(programName), workingDirectory(directory), applicationName(name), applicationVersion(version),
      language(languageName), extraTextA(textA), extraTextB(textB)
{
    prepare();
}

HCrashReportProcess::~HCrashReportProcess() = default;

void HCrashReportProcess::setCrashInformation(const QString& text)
{
    crashInfo = text;
    prepare();
}

QStringList HCrashReportProcess::arguments(const QString& dumpPath, const QString& minidumpId) const
{
    return {applicationName, applicationVersion, extraTextB,           language, extraTextA, dumpPath,
            minidumpId,      crashInfo,          QString::number(flag)};
}

QString HCrashReportProcess::executable() const
{
    return program.contains(QLatin1Char('/')) ? program : QStringLiteral("./") + program;
}

void HCrashReportProcess::prepare()
{
    auto start = std::make_unique<PreparedStart>();
    start->executable = QFile::encodeName(executable());
    start->workingDirectory = QFile::encodeName(workingDirectory);
    const QStringList texts = arguments(QString(), QString());
    for (int i = 0; i < argumentCount; ++i) {
        // QProcess passes arguments in the local encoding too.
        start->arguments[size_t(i)] = texts.at(i).toLocal8Bit();
    }
    start->dumpPath[0] = '\0';
    start->minidumpId[0] = '\0';

    start->argv[0] = start->executable.data();
    for (int i = 0; i < argumentCount; ++i) {
        start->argv[size_t(i) + 1] = start->arguments[size_t(i)].data();
    }
    start->argv[dumpPathArgument + 1] = start->dumpPath;
    start->argv[minidumpIdArgument + 1] = start->minidumpId;
    start->argv[argumentCount + 1] = nullptr;

    prepared.store(start.get());
    preparedStarts.push_back(std::move(start));
}

void HCrashReportProcess::startAfterCrash(const char* dumpPath, const char* minidumpId)
{
    PreparedStart* start = prepared.load();
    if (!start) {
        return;
    }
    copyString(start->dumpPath, sizeof(start->dumpPath), dumpPath);
    copyString(start->minidumpId, sizeof(start->minidumpId), minidumpId);

    const pid_t child = forkWithoutHandlers();
    if (child == 0) {
        // A session of its own, and an orphan once the intermediate child exits: the reporter
        // outlives the crashed process and is not killed with its process group.
        setsid();
        if (forkWithoutHandlers() == 0) {
            // The signal handler's mask is inherited through exec: clear it.
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            // Keep the standard channels, not our sockets and files.
            syscall(SYS_close_range, 3U, ~0U, 0U);
            if (chdir(start->workingDirectory.constData()) == 0) {
                execve(start->argv[0], start->argv.data(), environ);
            }
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

void HCrashReportProcess::run(const QString& dump_path, const QString& minidump_id)
{
    const QString reporter = executable();
    if (!QProcess::startDetached(reporter, arguments(dump_path, minidump_id), workingDirectory)) {
        qCWarning(lcApp).noquote() << "The crash reporter" << reporter << "did not start in"
                                   << workingDirectory;
    }
}
