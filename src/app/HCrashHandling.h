#pragma once

#include <QString>

#include <functional>

class HExceptionHandler;

// The process-wide crash handling: one exception handler and one crash reporter starter, installed
// by start-up before the main window exists and removed after the application object is gone.
class HCrashHandling
{
public:
    // The reporter, "REderiZarevodu_dud32.exe", is started in the current directory, which start-up
    // makes the program's own directory. Dumps are written into dumpDirectory with owner-only
    // permissions (they hold the environment and the command line).
    static void install(const QString& dumpDirectory, const QString& applicationName, const QString& version,
                        const QString& language, const QString& extraText, int dumpType);
    static void remove();

    // Null unless installed.
    static HExceptionHandler* exceptionHandler();

    // Runs the program's body. An exception escaping it becomes the crash report's crash
    // information (what() of a standard exception, "Unknown excpetion" for anything else) and is
    // thrown on, so that it ends the process through the crash handler.
    static int runGuarded(const std::function<int()>& body);
};
