#pragma once

#include "render/HShaderCodeBuilder.h"
#include "render/HTextureProvider.h"
#include "session/HGlobalObject.h"

#include <QFile>
#include <QQmlContext>
#include <QQmlError>
#include <QQuickView>
#include <QTemporaryDir>
#include <QtTest>

// A scene with the panorama view, as the view tests and the video path's test build it: the three
// objects the view draws from in the window's context, the scene's QML written into `dir`.
inline bool loadPanoramaScene(QQuickView& window, HGlobalObject& global, HShaderCodeBuilder& builder,
                              HTextureProvider& provider, const QTemporaryDir& dir, const char* source)
{
    window.rootContext()->setContextProperty("hGlobalObject", &global);
    window.rootContext()->setContextProperty("hShaderCodeBuilder", &builder);
    window.rootContext()->setContextProperty("hTextureProvider", &provider);
    QFile scene(dir.filePath("scene.qml"));
    if (!scene.open(QIODevice::WriteOnly) || scene.write(source) < 0) {
        return false;
    }
    scene.close();
    window.setResizeMode(QQuickView::SizeRootObjectToView);
    window.setSource(QUrl::fromLocalFile(scene.fileName()));
    for (const QQmlError& error : window.errors()) {
        qWarning().noquote() << error.toString();
    }
    return window.errors().isEmpty() && window.rootObject();
}
