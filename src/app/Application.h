#pragma once

#include <QApplication>
#include <QVariantMap>

class HDisplay;
class HGlobalObject;
class HLeap;
class HOculus;
class HPictureLayout;
class HQQuickView;
class HSensor;
class HSettingsManager;
class HShaderCodeBuilder;
class HHostingManager;
class HVideoPlugin;
class HTextureProvider;
class HUdpSocket;

// The application object: creates the core objects, publishes them to the QML scene, opens the
// window, and deletes everything again in a fixed order once the event loop has ended.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv, HSettingsManager* settings);
    ~Application() override;

    void setup();
    void tearDown();

    QVariantMap commandLine() const { return arguments; }
    HQQuickView* mainWindow() const { return window; }
    HGlobalObject* globalObject() const { return global; }
    HShaderCodeBuilder* shaderCodeBuilder() const { return shaderBuilder; }
    HHostingManager* hostingClient() const { return hostingManager; }
    HDisplay* displayObject() const { return display; }
    HOculus* oculusObject() const { return oculus; }
    HLeap* leapObject() const { return leap; }
    HSensor* orientationSensor() const { return sensor; }
    HVideoPlugin* videoPlugin() const { return videoSelector; }
    HTextureProvider* textureProvider() const { return frameTextureProvider; }
    HUdpSocket* udpSynchroniser() const { return udpSocket; }

    // The core types QML imports as "Veyrix" 1.0. The registration is process-wide; the set-up makes
    // it, and so may anything else that loads the interface's files without the set-up.
    static void registerQmlTypes();

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
    HGlobalObject* global = nullptr;
    HPictureLayout* picture = nullptr;
    HShaderCodeBuilder* shaderBuilder = nullptr;
    HDisplay* display = nullptr;
    HOculus* oculus = nullptr;
    HLeap* leap = nullptr;
    HSensor* sensor = nullptr;
    HUdpSocket* udpSocket = nullptr;
    HHostingManager* hostingManager = nullptr;
    HTextureProvider* frameTextureProvider = nullptr;
};
