#include "HPanoramaNode.h"

#include "HFrameTexture.h"
#include "HTiledTexture.h"

#include <QDateTime>
#include <QSGDynamicTexture>

HPanoramaNode::HPanoramaNode(Reports nodeReports)
    : reports(std::move(nodeReports)), geometry(QSGGeometry::defaultAttributes_Point2D(), 4)
{
    geometry.setDrawingMode(QSGGeometry::DrawTriangleStrip);
    setGeometry(&geometry);
    // Drawn while there is no program yet, or none that builds: transparent, so nothing shows.
    nothing.setColor(Qt::transparent);
    setMaterial(&nothing);
    setFlag(UsePreprocess);
}

HPanoramaNode::~HPanoramaNode()
{
    delete panoramaMaterial;
}

void HPanoramaNode::setShaders(const QString& rgb, const QString& yuv, const QString& tiled,
                               const QString& tileRequest)
{
    rgbProgram = HPanoramaProgram::forText(rgb);
    yuvProgram = HPanoramaProgram::forText(yuv);
    tiledProgram = HPanoramaProgram::forText(tiled);
    feedback.setShader(tileRequest);
    feedbackDirty = true;
}

void HPanoramaNode::setState(const HPanoramaState& state, const QSizeF& size)
{
    feedbackDirty = feedbackDirty || size != itemSize || state.rotation != viewState.rotation ||
                    state.fov != viewState.fov || state.yawMin != viewState.yawMin ||
                    state.yawMax != viewState.yawMax || state.pitchMin != viewState.pitchMin ||
                    state.pitchMax != viewState.pitchMax || state.rightEye != viewState.rightEye ||
                    state.pixelRatio != viewState.pixelRatio || state.yaw != viewState.yaw ||
                    state.pitch != viewState.pitch;
    viewState = state;
    if (size != itemSize) {
        itemSize = size;
        QSGGeometry::updateRectGeometry(&geometry, QRectF(QPointF(0, 0), size));
        markDirty(DirtyGeometry);
    }
    // The state reaches the shader as uniforms; a change of it is a change of the material.
    markDirty(DirtyMaterial);
}

void HPanoramaNode::setTextureProvider(QSGTextureProvider* textureProvider)
{
    provider = textureProvider;
}

void HPanoramaNode::preprocess()
{
    QSGTexture* texture = provider ? provider->texture() : nullptr;
    if (auto* dynamic = qobject_cast<QSGDynamicTexture*>(texture)) {
        dynamic->updateTexture();
    }
    // The shader reads the whole texture, wraps included; a picture in an atlas is a part of one.
    if (texture && texture->isAtlasTexture()) {
        texture = texture->removedFromAtlas();
    }
    const auto* frame = qobject_cast<HFrameTexture*>(texture);
    auto* tiled = qobject_cast<HTiledTexture*>(texture);
    const bool yuv = frame && !frame->isEmpty() && frame->format().isYuv();
    if (HPanoramaProgram* wanted = tiled ? tiledProgram : (yuv ? yuvProgram : rgbProgram)) {
        useProgram(wanted);
    }
    if (tiled && (feedbackDirty || feedbackTexture != texture)) {
        feedbackDirty = false;
        feedbackTexture = texture;
        tiled->setVisible(feedback.run(viewState, itemSize * qreal(viewState.pixelRatio), *tiled));
    }
    if (panoramaMaterial) {
        panoramaMaterial->state = viewState;
        panoramaMaterial->texture = texture;
        panoramaMaterial->itemSize = itemSize;
    }
    const int textureId = texture ? texture->textureId() : 0;
    if (textureId != lastTextureId) {
        lastTextureId = textureId;
        reports.texture(textureId);
    }
    countFrame();
}

void HPanoramaNode::useProgram(HPanoramaProgram* program)
{
    const bool failed = program->check() == HPanoramaProgram::Failed;
    if (failed) {
        setMaterial(&nothing);
    } else if (!panoramaMaterial || panoramaMaterial->program() != program ||
               QSGGeometryNode::material() != panoramaMaterial) {
        auto* next = new HPanoramaMaterial(program);
        setMaterial(next);
        delete panoramaMaterial;
        panoramaMaterial = next;
    }
    if (reportedProgram != program || reportedFailure != failed) {
        reportedProgram = program;
        reportedFailure = failed;
        reports.shaderError(failed ? program->log() : QString());
    }
}

void HPanoramaNode::countFrame()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (now > lastSecond) {
        reports.framesPerSecond(frameCount + 1);
        frameCount = 0;
        lastSecond = now;
    } else {
        ++frameCount;
    }
}
