#include "HCrashHandling.h"

#include "AppLogging.h"
#include "HCrashReportProcess.h"
#include "HExceptionHandler.h"

#include <exception>

namespace {
HExceptionHandler* handler = nullptr;
HCrashReportProcess* reportProcess = nullptr;

void startReporterAfterCrash(const char* dumpPath, const char* minidumpId, void* data)
{
    static_cast<HCrashReportProcess*>(data)->startAfterCrash(dumpPath, minidumpId);
}

void recordCrashInformation(const QString& text)
{
    if (reportProcess) {
        reportProcess->setCrashInformation(text);
    }
}
} // namespace

void HCrashHandling::install(const QString& dumpDirectory, const QString& applicationName,
                             const QString& version, const QString& language, const QString& extraText,
                             int dumpType)
{
    if (handler) {
        qCWarning(lcApp) << "Crash handling is installed already";
        return;
    }
    reportProcess = new HCrashReportProcess(QStringLiteral("REderiZarevodu_dud32.exe"), QStringLiteral("."),
                                            applicationName, version, language, extraText, QString());
    handler = new HExceptionHandler(dumpDirectory, nullptr, nullptr, true, dumpType, -1);
    // A dump on request: the signal runs the reporter on the requesting thread.
    QObject::connect(handler, &HExceptionHandler::crash_report_dumped, reportProcess,
                     &HCrashReportProcess::run, Qt::DirectConnection);
    // A crash: no signal, the prepared start from inside the signal handler.
    handler->setCrashHook(&startReporterAfterCrash, reportProcess);
}

void HCrashHandling::remove()
{
    // The handler first: once it is gone no crash can reach the reporter starter.
    delete handler;
    handler = nullptr;
    delete reportProcess;
    reportProcess = nullptr;
}

HExceptionHandler* HCrashHandling::exceptionHandler()
{
    return handler;
}

int HCrashHandling::runGuarded(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const std::exception& exception) {
        recordCrashInformation(QString::fromLocal8Bit(exception.what()));
        throw;
    } catch (...) {
        // The reporter may rely on this exact text, misspelling included.
        recordCrashInformation(QStringLiteral("Unknown excpetion"));
        throw;
    }
}
