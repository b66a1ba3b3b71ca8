#pragma once

#include <QObject>
#include <QString>

#include "client/linux/handler/exception_handler.h"

#include <atomic>
#include <pthread.h>
#include <string>

// Writes a minidump of this process when it crashes, and on request.
//
// On Linux the crash callback runs inside the crashed thread's signal handler. Nothing that may take
// a lock (Qt signals, QString, the allocator) is allowed there, so a crash does not emit
// crash_report_dumped: it calls the crash hook instead, which must be async-signal-safe. A dump on
// request runs in a normal context and emits crash_report_dumped.
//
// The dump type takes the flags of the Windows minidump type, which the Linux client does not have;
// it writes one kind of dump (registers and stacks of all threads, the module list, the memory
// around the crash address, the process's maps, environment and command line). The flags map so:
//   0      a normal dump, as above;
//   0x8    (filter memory) stacks are sanitised: words that are neither pointers into a mapping nor
//          small integers are blanked, which keeps the stack walkable but drops strings and data;
//   others have no counterpart and are ignored (a warning is logged).
class HExceptionHandler : public QObject
{
    Q_OBJECT

public:
    using FilterCallback = google_breakpad::ExceptionHandler::FilterCallback;
    // dumpPath is the dump file; minidumpId its base name without ".dmp".
    using CrashHook = void (*)(const char* dumpPath, const char* minidumpId, void* data);

    static constexpr int FilterMemory = 0x8;

    // installHandler: catch crashes (otherwise only dumps on request are written). serverFd: a
    // crash-generation server's socket, or -1 to write the dump in-process.
    HExceptionHandler(const QString& dumpDirectory, FilterCallback filter, void* context, bool installHandler,
                      int dumpType, int serverFd);
    ~HExceptionHandler() override;

    void setCrashHook(CrashHook hook, void* data);

    // Writes a dump of the running process now; the process goes on. Returns whether it was written.
    bool writeMinidump();

    QString dumpDirectory() const;

signals:
    void crash_report_dumped(QString dump_path, QString minidump_id, void* context, bool succeeded);

private:
    static bool minidumpCallback(const google_breakpad::MinidumpDescriptor& descriptor, void* context,
                                 bool succeeded);
    static const google_breakpad::MinidumpDescriptor&
    applyDumpType(google_breakpad::MinidumpDescriptor& descriptor, int dumpType);

    const std::string directory;
    void* const userContext;
    // The dump directory and type without a file name: what the handler's descriptor is reset to.
    google_breakpad::MinidumpDescriptor pristineDescriptor;
    // Read in the signal handler: plain atomics, set before the handler exists.
    std::atomic<CrashHook> crashHook{nullptr};
    std::atomic<void*> crashHookData{nullptr};
    std::atomic<bool> dumpRequested{false};
    pthread_t requestingThread{};
    // Last: it installs itself on construction, when everything it calls back into must be ready.
    google_breakpad::ExceptionHandler handler;
};
