#include "VeyrixView.h"

#include "HShaderCodeBuilder.h"
#include "HTextureProvider.h"
#include "RenderLogging.h"
#include "VeyrixViewVertexShader.h"
#include "session/HGlobalObject.h"

#include <QDateTime>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QPainter>
#include <QQuickWindow>
#include <QRunnable>

#include <algorithm>

namespace {

// Deletes a program on the render thread with the scene graph's context current. Should the job
// never run (the window goes first), its destructor still frees the program: Qt then deletes the
// GL object the next time a context of the group is current.
class ProgramReleaseJob : public QRunnable
{
public:
    explicit ProgramReleaseJob(std::unique_ptr<QOpenGLShaderProgram> releasedProgram)
        : program(std::move(releasedProgram))
    {
    }
    void run() override { program.reset(); }

private:
    std::unique_ptr<QOpenGLShaderProgram> program;
};

// The rectangle covering the item, in the unit square that the projection matrix maps onto it.
constexpr GLfloat unitSquare[] = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f};

} // namespace

VeyrixView::VeyrixView(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setMipmap(false);
    // The native drawing has OpenGL's bottom-up rows; this target shows them the right way up.
    setRenderTarget(QQuickPaintedItem::InvertedYFramebufferObject);
    connect(this, &QQuickItem::widthChanged, this, &VeyrixView::computeViewportParameters);
    connect(this, &QQuickItem::heightChanged, this, &VeyrixView::computeViewportParameters);
}

VeyrixView::~VeyrixView()
{
    scheduleProgramRelease();
}

void VeyrixView::init(HShaderCodeBuilder* hShaderCodeBuilder, HGlobalObject* hGlobalObject,
                      HTextureProvider* hTextureProvider)
{
    if (!hShaderCodeBuilder || !hGlobalObject || !hTextureProvider) {
        qCWarning(lcRender) << "VeyrixView.init needs the shader code builder, the global object and the "
                               "texture provider";
        return;
    }
    if (initialised) {
        // A second init replaces the objects; the old ones stop driving this item.
        disconnect(shaderCodeBuilder, nullptr, this, nullptr);
        disconnect(globalObject, nullptr, this, nullptr);
        disconnect(textureProvider, nullptr, this, nullptr);
    }
    shaderCodeBuilder = hShaderCodeBuilder;
    globalObject = hGlobalObject;
    textureProvider = hTextureProvider;

    connect(shaderCodeBuilder, &HShaderCodeBuilder::oculusModeChanged, this, &VeyrixView::dirtyShader);
    connect(shaderCodeBuilder, &HShaderCodeBuilder::effectChanged, this, &VeyrixView::dirtyShader);
    connect(shaderCodeBuilder, &HShaderCodeBuilder::projectionChanged, this, &VeyrixView::dirtyShader);
    connect(shaderCodeBuilder, &HShaderCodeBuilder::stereoModeChanged, this, &VeyrixView::dirtyShader);
    connect(shaderCodeBuilder, &HShaderCodeBuilder::stackedChanged, this, &VeyrixView::dirtyShader);
    const auto repaint = [this] { update(); };
    connect(textureProvider, &HTextureProvider::textureChanged, this, repaint);
    connect(globalObject, &HGlobalObject::rotationMatrixChanged, this, repaint);
    // The field of view and the picture limits reach the shader as uniforms too; without these a
    // still photo would show a zoom only at the next tick of the texture provider.
    connect(globalObject, &HGlobalObject::fovChanged, this, repaint);
    connect(globalObject, &HGlobalObject::yawMinChanged, this, repaint);
    connect(globalObject, &HGlobalObject::yawMaxChanged, this, repaint);
    connect(globalObject, &HGlobalObject::pitchMinChanged, this, repaint);
    connect(globalObject, &HGlobalObject::pitchMaxChanged, this, repaint);
    initialised = true;
}

void VeyrixView::dirtyShader()
{
    shaderDirty = true;
    // The rebuild itself waits for the paint; asking for one shows a new projection or effect on
    // a still photo at once rather than at the provider's next tick.
    update();
}

void VeyrixView::computeViewportParameters()
{
    const float w = float(width());
    const float h = float(height());
    const float shorter = std::min(w, h);
    const float longer = std::max(w, h);
    viewportSizeValue = QVector2D(w, h);
    viewportSizeMinValue = QVector2D(shorter, shorter);
    // An empty item is never painted; keep its ratios finite all the same.
    viewportSizeRatioValue = shorter > 0.0f ? QVector2D(longer / h, h / shorter) : QVector2D();
    viewportWidthValue = w;
}

void VeyrixView::computeFps()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (now > lastSecond) {
        framesPerSecond.store(frameCount + 1);
        frameCount = 0;
        lastSecond = now;
        emit fpsChanged();
    } else {
        ++frameCount;
    }
}

void VeyrixView::rebuildProgram()
{
    if (program) {
        program->release();
        program.reset();
    }
    auto candidate = std::make_unique<QOpenGLShaderProgram>();
    const bool linked =
        candidate->addShaderFromSourceCode(QOpenGLShader::Vertex, VeyrixViewVertexShader::source) &&
        candidate->addShaderFromSourceCode(QOpenGLShader::Fragment, shaderCodeBuilder->build(false)) &&
        candidate->link();
    if (linked) {
        program = std::move(candidate);
        qCDebug(lcRender) << "Shader program rebuilt for projection" << shaderCodeBuilder->projection()
                          << "effect" << shaderCodeBuilder->effect() << "stereo"
                          << shaderCodeBuilder->stereoMode() << "stacked" << shaderCodeBuilder->stacked();
    } else {
        qCDebug(lcRender) << "Shader program for projection" << shaderCodeBuilder->projection()
                          << "does not link; nothing is drawn until the next change";
    }
}

void VeyrixView::paint(QPainter* painter)
{
    if (!initialised) {
        return;
    }
    painter->beginNativePainting();

    QOpenGLContext* context = QOpenGLContext::currentContext();
    QOpenGLFunctions* gl = context ? context->functions() : nullptr;
    if (gl && gl->hasOpenGLFeature(QOpenGLFunctions::Shaders)) {
        if (shaderDirty) {
            rebuildProgram();
            shaderDirty = false;
        }
        if (program && program->isLinked()) {
            program->bind();

            QMatrix4x4 matrix;
            matrix.ortho(0.0f, 1.0f, 0.0f, 1.0f, -1.0f, 1.0f);
            program->setUniformValue("matrix", matrix);

            program->setUniformValue("uMatViewInverse", globalObject->rotationMatrix());
            program->setUniformValue("uSampler", 0);
            program->setUniformValue("uViewportSize", viewportSizeValue);
            program->setUniformValue("uViewportSizeMin", viewportSizeMinValue);
            program->setUniformValue("uViewportSizeRatio", viewportSizeRatioValue);
            program->setUniformValue("uViewportWidth", viewportWidthValue);
            program->setUniformValue("uYawMin", globalObject->yawMin());
            program->setUniformValue("uYawMax", globalObject->yawMax());
            program->setUniformValue("uPitchMin", globalObject->pitchMin());
            program->setUniformValue("uPitchMax", globalObject->pitchMax());
            program->setUniformValue("uFov", globalObject->fov());
            program->setUniformValue("uColorMatrix", QMatrix4x4());
            for (const char* name : {"uBrightness", "uContrast", "uHue", "uSaturation", "uVibrance", "uTime",
                                     "uVignettingRadius", "uVignettingAmount"}) {
                program->setUniformValue(name, 0.0f);
            }
            program->setUniformValue("uCameraYaw", globalObject->yaw());
            program->setUniformValue("uCameraPitch", globalObject->pitch());

            gl->glActiveTexture(GL_TEXTURE0);
            gl->glBindTexture(GL_TEXTURE_2D, GLuint(textureProvider->textureId()));

            gl->glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
            gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

            // The vertices come from client memory, not from whatever buffer the painter left bound.
            gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
            program->enableAttributeArray("vertex");
            program->setAttributeArray("vertex", unitSquare, 2);
            gl->glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
            program->disableAttributeArray("vertex");
            program->release();
        }
    }

    painter->endNativePainting();
    computeFps();
}

void VeyrixView::itemChange(ItemChange change, const ItemChangeData& value)
{
    if (change == ItemSceneChange) {
        disconnect(sceneGraphInvalidatedConnection);
        if (value.window) {
            // Direct: the program must go while the scene graph's context is still current.
            sceneGraphInvalidatedConnection =
                connect(value.window, &QQuickWindow::sceneGraphInvalidated, this,
                        &VeyrixView::onSceneGraphInvalidated, Qt::DirectConnection);
        }
    }
    QQuickPaintedItem::itemChange(change, value);
}

void VeyrixView::onSceneGraphInvalidated()
{
    program.reset();
    // A new context needs a new program.
    shaderDirty = true;
}

void VeyrixView::releaseResources()
{
    scheduleProgramRelease();
    shaderDirty = true;
    QQuickPaintedItem::releaseResources();
}

void VeyrixView::scheduleProgramRelease()
{
    if (!program) {
        return;
    }
    if (QQuickWindow* quickWindow = window()) {
        quickWindow->scheduleRenderJob(new ProgramReleaseJob(std::move(program)),
                                       QQuickWindow::BeforeSynchronizingStage);
    } else {
        program.reset();
    }
}
