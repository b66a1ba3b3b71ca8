#include "HPanoramaNode.h"

#include "HFrameTexture.h"

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

void HPanoramaNode::setShaders(const QString& rgb, const QString& yuv)
{
    rgbProgram = HPanoramaProgram::forText(rgb);
    yuvProgram = HPanoramaProgram::forText(yuv);
}

void HPanoramaNode::setState(const HPanoramaState& state, const QSizeF& size)
{
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
    const bool yuv = frame && !frame->isEmpty() && frame->format().isYuv();
    if (HPanoramaProgram* wanted = yuv ? yuvProgram : rgbProgram) {
        useProgram(wanted);
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
