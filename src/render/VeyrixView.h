#pragma once

#include <QQuickItem>
#include <QVector2D>

#include <atomic>
#include <memory>

class HGlobalObject;
class HShaderCodeBuilder;
class HTextureProvider;

// The panorama: one rectangle over the whole item, drawn by the scene graph straight into the
// window with the fragment shader that the shader code builder generates, from the frames of the
// current media's texture provider and the orientation, field of view and picture limits of the
// global object. updatePaintNode() is where the view state meets the render thread: it is copied
// into the node there, so the picture and the view always move together.
class VeyrixView : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(int fps READ fps NOTIFY fpsChanged)
    // Why nothing can be drawn on this OpenGL (the shader does not build); empty when it draws.
    Q_PROPERTY(QString errorString READ errorString NOTIFY errorStringChanged)
    // A flat screen shows one picture of a stereo frame: the second (right or lower) when true.
    Q_PROPERTY(bool rightEye READ rightEye WRITE setRightEye NOTIFY rightEyeChanged)

public:
    explicit VeyrixView(QQuickItem* parent = nullptr);
    ~VeyrixView() override;

    int fps() const { return framesPerSecond; }
    QString errorString() const { return shaderError; }
    bool rightEye() const { return rightEyeValue; }
    void setRightEye(bool value);

    Q_INVOKABLE void init(HShaderCodeBuilder* hShaderCodeBuilder, HGlobalObject* hGlobalObject,
                          HTextureProvider* hTextureProvider);

signals:
    void fpsChanged();
    void errorStringChanged();
    void rightEyeChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;

private slots:
    void dirtyShader();

private:
    void setFramesPerSecond(int value);
    void setShaderError(const QString& error);

    HShaderCodeBuilder* shaderCodeBuilder = nullptr;
    HGlobalObject* globalObject = nullptr;
    HTextureProvider* textureProvider = nullptr;
    bool initialised = false;
    bool shaderDirty = true;
    int framesPerSecond = 0;
    bool rightEyeValue = false;
    QString shaderError;
    // The render thread's reports reach the item through this, on the GUI thread, for as long as
    // the item lives; the node holds it weakly.
    std::shared_ptr<VeyrixView*> self;
};
