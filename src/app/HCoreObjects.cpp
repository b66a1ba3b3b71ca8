#include "HCoreObjects.h"

#include "audio/HSpatialSound.h"
#include "base/HSettingsManager.h"
#include "devices/HDisplay.h"
#include "devices/HLeap.h"
#include "devices/HLeapFingerOGL.h"
#include "devices/HOculus.h"
#include "devices/HSensorQt.h"
#include "net/HHostingManager.h"
#include "net/HUdpSocket.h"
#include "net/VideosListModel.h"
#include "render/HPhotoTiling.h"
#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "render/HTiledPicture.h"
#include "render/VeyrixView.h"
#include "session/HDropArea.h"
#include "session/HGlobalObject.h"
#include "session/HPictureLayout.h"
#include "session/HResumeStore.h"

#include <QQmlContext>
#include <qqml.h>

HCoreObjects::HCoreObjects(HSettingsManager* settings, QQuickWindow* window, const QString& udpRole)
    : display(new HDisplay()), frameTextureProvider(new HTextureProvider(window, settings)),
      global(new HGlobalObject(settings)), picture(new HPictureLayout(settings, global.get())),
      resume(new HResumeStore(settings, global.get(), picture.get())),
      shaderBuilder(new HShaderCodeBuilder()), oculus(new HOculus()), leap(new HLeap()),
      udpSocket(new HUdpSocket(global.get(), udpRole, nullptr)),
      hostingManager(new HHostingManager(settings)), sensor(new HSensorQt(global.get())),
      photoTiling(new HPhotoTiling(settings)), spatialSound(new HSpatialSound(settings))
{
    // The sound turns with whatever turns the picture.
    QObject::connect(global.get(), &HGlobalObject::rotationMatrixChanged, spatialSound.get(),
                     [this] { spatialSound->setView(global->rotationMatrix()); });
    spatialSound->setView(global->rotationMatrix());
    // Seconds, as the user would write them.
    const int hostingTimeout =
        settings->ensureValue(QStringLiteral("application/hosting/timeout"), 20).toInt();
    hostingManager->setRequestTimeout(qBound(1, hostingTimeout, 600) * 1000);
}

HCoreObjects::~HCoreObjects()
{
    // The order the program has always torn down in: the view state first, the frame source last.
    spatialSound.reset();
    resume.reset();
    picture.reset();
    global.reset();
    shaderBuilder.reset();
    oculus.reset();
    leap.reset();
    display.reset();
    sensor.reset();
    photoTiling.reset();
    udpSocket.reset();
    hostingManager.reset();
    frameTextureProvider.reset();
}

void HCoreObjects::publish(QQmlContext* context) const
{
    context->setContextProperty(QStringLiteral("hShaderCodeBuilder"), shaderBuilder.get());
    context->setContextProperty(QStringLiteral("hOculus"), oculus.get());
    context->setContextProperty(QStringLiteral("hLeap"), leap.get());
    context->setContextProperty(QStringLiteral("hGlobalObject"), global.get());
    context->setContextProperty(QStringLiteral("hFailure"), global->failure());
    context->setContextProperty(QStringLiteral("hScreenPlace"), global->screenPlace());
    context->setContextProperty(QStringLiteral("hPicture"), picture.get());
    context->setContextProperty(QStringLiteral("hResume"), resume.get());
    context->setContextProperty(QStringLiteral("hSensor"), sensor.get());
    context->setContextProperty(QStringLiteral("hDisplay"), display.get());
    context->setContextProperty(QStringLiteral("hHostingManager"), hostingManager.get());
    context->setContextProperty(QStringLiteral("hTextureProvider"), frameTextureProvider.get());
    context->setContextProperty(QStringLiteral("hPhotoTiling"), photoTiling.get());
    context->setContextProperty(QStringLiteral("hSpatialSound"), spatialSound.get());
    context->setContextProperty(QStringLiteral("videosListModel"), hostingManager->videosListModel());
}

void HCoreObjects::registerQmlTypes()
{
    // QML only names the enumerations of these (HShaderCodeBuilder.RECTILINEAR, HUdpSocket.Movies);
    // their one instance, where there is one, is a context property.
    qmlRegisterUncreatableType<HShaderCodeBuilder>("Veyrix", 1, 0, "HShaderCodeBuilder",
                                                   QStringLiteral("Enums only"));
    qmlRegisterUncreatableType<HHostingManager>("Veyrix", 1, 0, "HHostingManager",
                                                QStringLiteral("Enums only"));
    qmlRegisterUncreatableType<HUdpSocket>("Veyrix", 1, 0, "HUdpSocket", QStringLiteral("Enums only"));
    qmlRegisterUncreatableType<HMediaFailure>("Veyrix", 1, 0, "HMediaFailure", QStringLiteral("Enums only"));
    qmlRegisterType<HDropArea>("Veyrix", 1, 0, "HDropArea");
    qmlRegisterType<HLeapFingerOGL>("Veyrix", 1, 0, "HLeapFingerOGL");
    qmlRegisterType<VeyrixView>("Veyrix", 1, 0, "VeyrixView");
    qmlRegisterType<HTiledPicture>("Veyrix", 1, 0, "HTiledPicture");
    qRegisterMetaType<HPhotoTiling*>();
    // VeyrixView.init takes the context objects by their own types.
    qRegisterMetaType<HGlobalObject*>();
    qRegisterMetaType<HTextureProvider*>();
}
