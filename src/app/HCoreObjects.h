#pragma once

#include <QString>

#include <memory>

class HDisplay;
class HGlobalObject;
class HHostingManager;
class HLeap;
class HOculus;
class HPhotoTiling;
class HPictureLayout;
class HResumeStore;
class HSensor;
class HSettingsManager;
class HShaderCodeBuilder;
class HSpatialSound;
class HTextureProvider;
class HUdpSocket;
class QQmlContext;
class QQuickWindow;

// The objects the interface is made of, beside the window and the video back end: made in the
// start-up's order, published to a QML context under the names the interface uses, and deleted in
// the tear-down's order. The program and the tests that load the interface's scenes both use it,
// so that they run the same wiring.
class HCoreObjects
{
public:
    // udpRole is the command line's "master", "slave" or "off"; empty reads the setting.
    HCoreObjects(HSettingsManager* settings, QQuickWindow* window, const QString& udpRole);
    // Each object may still be used by the ones deleted after it.
    ~HCoreObjects();

    HCoreObjects(const HCoreObjects&) = delete;
    HCoreObjects& operator=(const HCoreObjects&) = delete;

    void publish(QQmlContext* context) const;

    // The core types QML imports as "Veyrix" 1.0. The registration is process-wide; publish() needs
    // it, and so does anything else that loads the interface's files.
    static void registerQmlTypes();

    HGlobalObject* globalObject() const { return global.get(); }
    HShaderCodeBuilder* shaderCodeBuilder() const { return shaderBuilder.get(); }
    HTextureProvider* textureProvider() const { return frameTextureProvider.get(); }
    HResumeStore* resumeStore() const { return resume.get(); }

private:
    // Declared in creation order, so that they are destroyed in the reverse one except where the
    // destructor says otherwise.
    std::unique_ptr<HDisplay> display;
    std::unique_ptr<HTextureProvider> frameTextureProvider;
    std::unique_ptr<HGlobalObject> global;
    std::unique_ptr<HPictureLayout> picture;
    std::unique_ptr<HResumeStore> resume;
    std::unique_ptr<HShaderCodeBuilder> shaderBuilder;
    std::unique_ptr<HOculus> oculus;
    std::unique_ptr<HLeap> leap;
    std::unique_ptr<HUdpSocket> udpSocket;
    std::unique_ptr<HHostingManager> hostingManager;
    std::unique_ptr<HSensor> sensor;
    std::unique_ptr<HPhotoTiling> photoTiling;
    std::unique_ptr<HSpatialSound> spatialSound;
};
