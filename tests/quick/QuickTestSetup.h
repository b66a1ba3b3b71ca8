#pragma once

#include "WarningCounter.h"

#include <QObject>

#include <memory>

class ControlBarStandIn;
class HDisplay;
class HGlobalObject;
class HPictureLayout;
class HHostingManager;
class HostingServerFixture;
class HLeap;
class HOculus;
class HQQuickView;
class HSettingsManager;
class HShaderCodeBuilder;
class HTextureProvider;
class HVideoPlugin;
class MainSceneStandIn;
class SensorStandIn;
class QQmlEngine;

// Gives every QML test file what the player's start-up gives the scene: the core objects as
// context properties (fresh ones for each file), the media player module on the import path and
// the core QML types, plus stand-ins for the main scene's root and the control bar, which the
// components call by id. The orientation sensor is a stand-in that switches on when asked and
// reads available only when a test calls its setPresent(true). Test media are reachable through
// "testMediaDir" (a file URL ending in /). Photos of a playlist are shown for one second. The
// window is in demo mode when GYRE_QUICK_TEST_DEMO is set. With GYRE_QUICK_TEST_HOSTING set, the
// hosting client talks to a loopback HTTPS server that the tests drive as "hostingServer".
// "warningCounter" counts the warnings written once a test starts it.
class QuickTestSetup : public QObject
{
    Q_OBJECT

public:
    QuickTestSetup();
    ~QuickTestSetup() override;

public slots:
    void applicationAvailable();
    void qmlEngineAvailable(QQmlEngine* engine);
    void cleanupTestCase();

private:
    void deleteCoreObjects();

    // Owned by the test program like main() owns it in the player.
    bool hardwareDecoding = false;
    std::unique_ptr<HSettingsManager> settings;
    std::unique_ptr<HostingServerFixture> hostingServer;
    WarningCounter warningCounter;
    HVideoPlugin* videoPlugin = nullptr;
    HQQuickView* view = nullptr;
    HGlobalObject* global = nullptr;
    HPictureLayout* picture = nullptr;
    HShaderCodeBuilder* shaderBuilder = nullptr;
    HTextureProvider* textureProvider = nullptr;
    HOculus* oculus = nullptr;
    HLeap* leap = nullptr;
    HDisplay* display = nullptr;
    HHostingManager* hostingManager = nullptr;
    SensorStandIn* sensor = nullptr;
    MainSceneStandIn* root = nullptr;
    ControlBarStandIn* controlBar = nullptr;
};
