#pragma once

#include "app/HCoreObjects.h"

#include <QFile>
#include <QQmlContext>
#include <QQmlError>
#include <QQuickView>
#include <QTemporaryDir>
#include <QtTest>

// A scene of the interface's parts, with the core objects published as the program publishes
// them, and the scene's QML written into `dir`.
inline bool loadPanoramaScene(QQuickView& window, const HCoreObjects& core, const QTemporaryDir& dir,
                              const char* source)
{
    core.publish(window.rootContext());
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
