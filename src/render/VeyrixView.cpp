#include "VeyrixView.h"

#include "HPanoramaNode.h"
#include "HShaderCodeBuilder.h"
#include "HTextureProvider.h"
#include "RenderLogging.h"
#include "base/HAssign.h"
#include "session/HGlobalObject.h"
#include "session/HScreenPlace.h"
#include "session/HViewMaths.h"

#include <QCoreApplication>
#include <QQuickWindow>

namespace {

// Runs `report` on the GUI thread with the view, unless the view has gone by then.
template <typename Report>
void toView(const std::weak_ptr<VeyrixView*>& view, Report report)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [view, report] {
            const std::shared_ptr<VeyrixView*> alive = view.lock();
            if (alive && *alive) {
                report(*alive);
            }
        },
        Qt::QueuedConnection);
}

} // namespace

VeyrixView::VeyrixView(QQuickItem* parent) : QQuickItem(parent), self(std::make_shared<VeyrixView*>(this))
{
    setFlag(ItemHasContents, true);
}

VeyrixView::~VeyrixView()
{
    // Reports still on their way find no view.
    *self = nullptr;
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
        disconnect(globalObject->screenPlace(), nullptr, this, nullptr);
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
    // A new frame, or a new source of frames.
    connect(textureProvider, &HTextureProvider::textureChanged, this, &QQuickItem::update);
    // Everything the shader reads of the view state.
    connect(globalObject, &HGlobalObject::rotationMatrixChanged, this, &QQuickItem::update);
    connect(globalObject, &HGlobalObject::fovChanged, this, &QQuickItem::update);
    connect(globalObject, &HGlobalObject::yawMinChanged, this, &QQuickItem::update);
    connect(globalObject, &HGlobalObject::yawMaxChanged, this, &QQuickItem::update);
    connect(globalObject, &HGlobalObject::pitchMinChanged, this, &QQuickItem::update);
    connect(globalObject, &HGlobalObject::pitchMaxChanged, this, &QQuickItem::update);
    connect(globalObject->screenPlace(), &HScreenPlace::changed, this, &QQuickItem::update);
    initialised = true;
    update();
}

void VeyrixView::dirtyShader()
{
    // The texts are built at the next synchronisation, however many changes come before it.
    shaderDirty = true;
    update();
}

QSGNode* VeyrixView::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data)
{
    Q_UNUSED(data)
    if (!initialised || width() <= 0 || height() <= 0) {
        delete oldNode;
        return nullptr;
    }
    auto* node = static_cast<HPanoramaNode*>(oldNode);
    if (!node) {
        const std::weak_ptr<VeyrixView*> view = self;
        HPanoramaNode::Reports reports;
        reports.shaderError = [view](const QString& error) {
            toView(view, [error](VeyrixView* v) { v->setShaderError(error); });
        };
        reports.framesPerSecond = [view](int value) {
            toView(view, [value](VeyrixView* v) { v->setFramesPerSecond(value); });
        };
        reports.texture = [view](int textureId) {
            toView(view, [textureId](VeyrixView* v) { v->textureProvider->setTextureId(textureId); });
        };
        node = new HPanoramaNode(std::move(reports));
        shaderDirty = true;
    }
    if (shaderDirty) {
        node->setShaders(shaderCodeBuilder->build(false),
                         shaderCodeBuilder->build(false, HShaderCodeBuilder::YUV_INPUT),
                         shaderCodeBuilder->build(false, HShaderCodeBuilder::TILED_INPUT),
                         shaderCodeBuilder->build(false, HShaderCodeBuilder::TILE_REQUEST_INPUT));
        shaderDirty = false;
    }
    // The followed view, turned and widened as this screen's place in a room of screens says.
    const HScreenPlace* place = globalObject->screenPlace();
    const int projection = shaderCodeBuilder->projection();
    const bool dome = projection == HShaderCodeBuilder::DOME;
    HPanoramaState state;
    state.rotation = place->screenMatrix(globalObject->rotationMatrix(), dome);
    // The flat map moves by the offsets as it moves by the view's own angles; it cannot roll.
    state.yaw =
        HViewMaths::wrapYaw(globalObject->yaw() + float(place->yawOffset() * HViewMaths::radiansPerDegree));
    state.pitch = globalObject->pitch() + float(place->pitchOffset() * HViewMaths::radiansPerDegree);
    state.fov = dome ? float(place->domeAperture())
                     : place->shorterSideFov(globalObject->fov(), size(),
                                             projection == HShaderCodeBuilder::RECTILINEAR);
    state.yawMin = globalObject->yawMin();
    state.yawMax = globalObject->yawMax();
    state.pitchMin = globalObject->pitchMin();
    state.pitchMax = globalObject->pitchMax();
    state.rightEye = rightEyeValue;
    state.pixelRatio = float(window()->effectiveDevicePixelRatio());
    node->setState(state, size());
    node->setTextureProvider(textureProvider->frameProvider(window()));
    return node;
}

void VeyrixView::setRightEye(bool value)
{
    if (assignChanged(rightEyeValue, value)) {
        emit rightEyeChanged();
        update();
    }
}

void VeyrixView::setFramesPerSecond(int value)
{
    framesPerSecond = value;
    emit fpsChanged();
}

void VeyrixView::setShaderError(const QString& error)
{
    if (error != shaderError) {
        shaderError = error;
        emit errorStringChanged();
    }
}
