#pragma once

#include "HPanoramaMaterial.h"
#include "HTileFeedback.h"

#include <QPointer>
#include <QSGFlatColorMaterial>
#include <QSGGeometryNode>
#include <QSGTextureProvider>

#include <functional>

// The panorama in the scene graph: one rectangle over the item, drawn straight into the window with
// the builder's fragment shader. The view item hands it the view state and the shader texts at each
// synchronisation; before every frame it is drawn in (preprocess, render thread) it takes the newest
// frame from the texture provider and picks the program for that frame's input (RGB or YUV). A text
// that does not build on this OpenGL draws nothing and is reported.
class HPanoramaNode : public QSGGeometryNode
{
public:
    // What the node tells the view item. Called on the render thread; the item is told on the GUI
    // thread by whoever implements these.
    struct Reports
    {
        std::function<void(const QString& error)> shaderError;
        std::function<void(int framesPerSecond)> framesPerSecond;
        std::function<void(int textureId)> texture;
    };

    explicit HPanoramaNode(Reports reports);
    ~HPanoramaNode() override;

    // GUI thread blocked (synchronisation).
    void setShaders(const QString& rgb, const QString& yuv, const QString& tiled, const QString& tileRequest);
    void setState(const HPanoramaState& state, const QSizeF& size);
    void setTextureProvider(QSGTextureProvider* provider);

    void preprocess() override;

private:
    void useProgram(HPanoramaProgram* program);
    void countFrame();

    Reports reports;
    QSGGeometry geometry;
    QSGFlatColorMaterial nothing;
    HPanoramaMaterial* panoramaMaterial = nullptr;
    HPanoramaProgram* rgbProgram = nullptr;
    HPanoramaProgram* yuvProgram = nullptr;
    HPanoramaProgram* tiledProgram = nullptr;
    // What a tiled photo's view needs; run again when the view, the size or the text changes.
    HTileFeedback feedback;
    bool feedbackDirty = true;
    QSGTexture* feedbackTexture = nullptr;
    HPanoramaProgram* reportedProgram = nullptr;
    bool reportedFailure = false;
    HPanoramaState viewState;
    QSizeF itemSize;
    QPointer<QSGTextureProvider> provider;
    int lastTextureId = -1;
    int frameCount = 0;
    qint64 lastSecond = 0;
};
