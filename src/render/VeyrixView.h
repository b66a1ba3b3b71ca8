#pragma once

#include <QQuickPaintedItem>
#include <QVector2D>

#include <atomic>
#include <memory>

class HGlobalObject;
class HShaderCodeBuilder;
class HTextureProvider;
class QOpenGLShaderProgram;

// The panorama: one rectangle over the whole item, drawn in native OpenGL with the fragment
// shader that the shader code builder generates, from the frame texture of the texture provider
// and the orientation, field of view and picture limits of the global object.
class VeyrixView : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(int fps READ fps NOTIFY fpsChanged)

public:
    explicit VeyrixView(QQuickItem* parent = nullptr);
    ~VeyrixView() override;

    void paint(QPainter* painter) override;

    int fps() const { return framesPerSecond.load(); }

    Q_INVOKABLE void init(HShaderCodeBuilder* hShaderCodeBuilder, HGlobalObject* hGlobalObject,
                          HTextureProvider* hTextureProvider);

    // What the shader's screen mapping is given: the item's size, its shorter side in both
    // components, and the ratios that centre the item on 0 with the shorter side spanning -1..1.
    QVector2D viewportSize() const { return viewportSizeValue; }
    QVector2D viewportSizeMin() const { return viewportSizeMinValue; }
    QVector2D viewportSizeRatio() const { return viewportSizeRatioValue; }
    float viewportWidth() const { return viewportWidthValue; }

signals:
    void fpsChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData& value) override;
    void releaseResources() override;

private slots:
    void dirtyShader();
    void computeFps();
    void computeViewportParameters();
    // Render thread, with the scene graph's context current.
    void onSceneGraphInvalidated();

private:
    void rebuildProgram();
    void scheduleProgramRelease();

    std::unique_ptr<QOpenGLShaderProgram> program;
    HShaderCodeBuilder* shaderCodeBuilder = nullptr;
    HGlobalObject* globalObject = nullptr;
    HTextureProvider* textureProvider = nullptr;
    bool initialised = false;
    bool shaderDirty = true;
    // Written on the render thread, read by QML on the GUI thread.
    std::atomic<int> framesPerSecond{0};
    int frameCount = 0;
    qint64 lastSecond = 0;
    QVector2D viewportSizeValue;
    QVector2D viewportSizeMinValue;
    QVector2D viewportSizeRatioValue;
    float viewportWidthValue = 0.0f;
    QMetaObject::Connection sceneGraphInvalidatedConnection;
};
