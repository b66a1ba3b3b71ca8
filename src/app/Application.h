#pragma once

#include <QApplication>
#include <QVariantMap>

#include <memory>

class HCoreObjects;
class HQQuickView;
class HSettingsManager;
class HTranslations;
class HVideoPlugin;

// The application object: makes the video back end, the window and the core objects, publishes
// them to the QML scene, opens the window, and deletes everything again in a fixed order once the
// event loop has ended.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv, HSettingsManager* settings);
    ~Application() override;

    void setup();
    void tearDown();

public slots:
    // Runs on the render thread when the scene graph starts; the message box is only queued.
    void checkOpenGLVersion();
    void displayOpenGLErrorMessage();

private:
    void openCommandLineFiles();
    // In the tear-down's order: each object may still be used by the ones deleted after it.
    void deleteCoreObjects();

    HSettingsManager* const settings;
    // main() makes the program's folder current; relative paths on the command line name files
    // in the folder the user started it from.
    const QString launchDirectory;
    QVariantMap arguments;
    HVideoPlugin* videoSelector = nullptr;
    HQQuickView* window = nullptr;
    std::unique_ptr<HCoreObjects> core;
    // Until the end: the translators stay installed while any text may still be made.
    std::unique_ptr<HTranslations> translations;
};
