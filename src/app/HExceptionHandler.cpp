#include "HExceptionHandler.h"

#include "AppLogging.h"

#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstring>

namespace {
// The base name of a dump file without its ".dmp", with no library call: this runs at crash time.
void copyMinidumpId(const char* path, char* id, size_t size)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/') {
            name = p + 1;
        }
    }
    size_t length = 0;
    while (name[length]) {
        ++length;
    }
    static const char extension[] = ".dmp";
    const size_t extensionLength = sizeof(extension) - 1;
    if (length >= extensionLength) {
        bool matches = true;
        for (size_t i = 0; i < extensionLength; ++i) {
            matches = matches && name[length - extensionLength + i] == extension[i];
        }
        if (matches) {
            length -= extensionLength;
        }
    }
    if (length >= size) {
        length = size - 1;
    }
    for (size_t i = 0; i < length; ++i) {
        id[i] = name[i];
    }
    id[length] = '\0';
}
} // namespace

HExceptionHandler::HExceptionHandler(const QString& dumpDirectory, FilterCallback filter, void* context,
                                     bool installHandler, int dumpType, int serverFd)
    : directory(QFile::encodeName(dumpDirectory).toStdString()), userContext(context),
      pristineDescriptor(directory),
      handler(applyDumpType(pristineDescriptor, dumpType), filter, &HExceptionHandler::minidumpCallback, this,
              installHandler, serverFd)
{
    if (dumpType & ~FilterMemory) {
        qCWarning(lcApp, "Dump type 0x%x: only the flag 0x%x has a meaning here, the others are ignored",
                  unsigned(dumpType), unsigned(FilterMemory));
    }
    qCInfo(lcApp).noquote() << "Crash dumps go to" << dumpDirectory;
}

HExceptionHandler::~HExceptionHandler() = default;

void HExceptionHandler::setCrashHook(CrashHook hook, void* data)
{
    crashHookData.store(data);
    crashHook.store(hook);
}

bool HExceptionHandler::writeMinidump()
{
    requestingThread = pthread_self();
    dumpRequested.store(true);
    const bool written = handler.WriteMinidump();
    dumpRequested.store(false);
    // Breakpad leaves the descriptor naming the file it has just written. A crash would then try to
    // create that same file, which the writer refuses to overwrite, and no dump would be written.
    // Assigning a descriptor of the bare directory makes it pick a new file name.
    handler.set_minidump_descriptor(pristineDescriptor);
    return written;
}

QString HExceptionHandler::dumpDirectory() const
{
    return QFile::decodeName(directory.c_str());
}

bool HExceptionHandler::minidumpCallback(const google_breakpad::MinidumpDescriptor& descriptor, void* context,
                                         bool succeeded)
{
    auto* self = static_cast<HExceptionHandler*>(context);
    if (self->dumpRequested.load() && pthread_equal(self->requestingThread, pthread_self())) {
        const QString dumpPath = QFile::decodeName(descriptor.path());
        const QString minidumpId = QFileInfo(dumpPath).completeBaseName();
        if (!succeeded) {
            qCWarning(lcApp).noquote() << "The dump asked for could not be written to" << dumpPath;
        }
        emit self->crash_report_dumped(dumpPath, minidumpId, self->userContext, succeeded);
        return true;
    }

    // A crash: inside the signal handler, async-signal-safe calls only.
    const CrashHook hook = self->crashHook.load();
    if (hook && descriptor.path()) {
        char minidumpId[NAME_MAX + 1];
        copyMinidumpId(descriptor.path(), minidumpId, sizeof(minidumpId));
        hook(descriptor.path(), minidumpId, self->crashHookData.load());
    }
    // The crash counts as handled: no other handler runs and the process ends with the signal.
    return true;
}

const google_breakpad::MinidumpDescriptor&
HExceptionHandler::applyDumpType(google_breakpad::MinidumpDescriptor& descriptor, int dumpType)
{
    descriptor.set_sanitize_stacks((dumpType & FilterMemory) != 0);
    return descriptor;
}
