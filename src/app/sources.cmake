# Application shell: start-up, settings store, main window.
target_sources(gyre-core PRIVATE
    app/Application.cpp app/Application.h
    app/HCommandLine.cpp app/HCommandLine.h
    app/HOpenGLCheck.cpp app/HOpenGLCheck.h
    app/HQQuickView.cpp app/HQQuickView.h
    app/HSettingsManager.cpp app/HSettingsManager.h
    app/KernelSettingsWriter.h
    app/ProductInfo.h
    app/AppLogging.cpp app/AppLogging.h
)
