#pragma once

#include <QApplication>
#include <QVariantMap>

class HGlobalObject;
class HQQuickView;
class HSettingsManager;
class HShaderCodeBuilder;
class HTextureProvider;

// The application object: creates the core objects, publishes them to the QML scene, opens the
// window, and deletes everything again in a fixed order once the event loop has ended.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv, HSettingsManager* settings);
    ~Application() override;

    // hardwareDecoding is the process-wide flag that main() owns; it outlives the set-up.
    void setup(bool* hardwareDecoding);
    void tearDown();

    QVariantMap commandLine() const { return arguments; }
    HQQuickView* mainWindow() const { return window; }
    HGlobalObject* globalObject() const { return global; }
    HShaderCodeBuilder* shaderCodeBuilder() const { return shaderBuilder; }
    HTextureProvider* textureProvider() const { return frameTextureProvider; }

    // The core types QML names in the module "Veyrix" 1.0. Process-wide; the set-up calls it.
    static void registerQmlTypes();

public slots:
    // Runs on the render thread when the scene graph starts; the message box is only queued.
    void checkOpenGLVersion();
    void displayOpenGLErrorMessage();

private:
    HSettingsManager* const settings;
    bool* hardwareDecodingFlag = nullptr;
    QVariantMap arguments;
    HQQuickView* window = nullptr;
    HGlobalObject* global = nullptr;
    HShaderCodeBuilder* shaderBuilder = nullptr;
    HTextureProvider* frameTextureProvider = nullptr;
};
