# Application shell: the composition root (start-up, the application object that makes and wires
# the core objects), the main window and crash reporting.
target_sources(gyre-core PRIVATE
    app/Application.cpp app/Application.h
    app/HCommandLine.cpp app/HCommandLine.h
    app/HCoreObjects.cpp app/HCoreObjects.h
    app/HCrashHandling.cpp app/HCrashHandling.h
    app/HCrashDumps.cpp app/HCrashDumps.h
    app/HCrashReportProcess.cpp app/HCrashReportProcess.h
    app/HExceptionHandler.cpp app/HExceptionHandler.h
    app/HOpenGLCheck.cpp app/HOpenGLCheck.h
    app/HQQuickView.cpp app/HQQuickView.h
    app/HTranslations.cpp app/HTranslations.h
    app/AppLogging.cpp app/AppLogging.h
    app/HMemoryTuning.h
)
# The allocator's knobs are the C library's own.
include(CheckSymbolExists)
check_symbol_exists(mallopt malloc.h GYRE_HAVE_MALLOPT)
if(GYRE_HAVE_MALLOPT)
    target_sources(gyre-core PRIVATE app/HMemoryTuningGlibc.cpp)
else()
    target_sources(gyre-core PRIVATE app/HMemoryTuningNone.cpp)
endif()
