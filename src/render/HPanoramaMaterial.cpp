#include "HPanoramaMaterial.h"

#include "HFrameTexture.h"
#include "HTiledTexture.h"
#include "RenderLogging.h"
#include "VeyrixViewVertexShader.h"

#include <QHash>
#include <QMutex>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShader>
#include <QSGMaterialShader>
#include <QSGTexture>

#include <algorithm>
#include <cmath>

namespace {

struct ProgramRegistry
{
    QMutex mutex;
    QHash<QString, HPanoramaProgram*> programs;
};

ProgramRegistry& registry()
{
    static ProgramRegistry programs;
    return programs;
}

QMutex& messageMutex()
{
    static QMutex mutex;
    return mutex;
}

constexpr GLenum glTextureMaxLevel = 0x813D;
// Mipmaps stop at a quarter of the picture's size. Where the panorama's longitude wraps round, the
// texture coordinate jumps from one edge to the other between neighbouring pixels, which asks for the
// smallest level of all: without a limit the seam shows as a line of the whole picture's average.
constexpr GLint coarsestLevel = 2;

// Whether mipmaps of any size can be made and limited to a few levels: not on OpenGL ES 2.0.
bool limitedMipmaps()
{
    const QOpenGLContext* context = QOpenGLContext::currentContext();
    return !context->isOpenGLES() || context->format().majorVersion() >= 3;
}

// A still picture (uploaded once) is sampled smooth, clamped at its edges, and with mipmaps where
// they can be limited, so that a large map shown small does not shimmer.
void bindStillTexture(QOpenGLFunctions* gl, QSGTexture* texture)
{
    texture->setFiltering(QSGTexture::Linear);
    texture->setHorizontalWrapMode(QSGTexture::ClampToEdge);
    texture->setVerticalWrapMode(QSGTexture::ClampToEdge);
    const bool mipmaps = limitedMipmaps();
    texture->setMipmapFiltering(mipmaps ? QSGTexture::Linear : QSGTexture::None);
    texture->bind();
    if (mipmaps) {
        gl->glTexParameteri(GL_TEXTURE_2D, glTextureMaxLevel, coarsestLevel);
    }
}

class PanoramaShader : public QSGMaterialShader
{
public:
    explicit PanoramaShader(HPanoramaProgram* shaderProgram) : panoramaProgram(shaderProgram) {}

    const char* vertexShader() const override { return VeyrixViewVertexShader::source; }
    const char* fragmentShader() const override { return panoramaProgram->fragmentShader().constData(); }
    char const* const* attributeNames() const override
    {
        static const char* const names[] = {"vertex", nullptr};
        return names;
    }

    void initialize() override
    {
        QOpenGLShaderProgram* p = program();
        panoramaProgram->setLinked(p->isLinked(), p->log());
        if (!p->isLinked()) {
            return;
        }
        qCDebug(lcRender) << "Shader program rebuilt";
        matrix = p->uniformLocation("matrix");
        viewInverse = p->uniformLocation("uMatViewInverse");
        samplers[0] = p->uniformLocation("uSampler");
        samplers[1] = p->uniformLocation("uSamplerUV");
        yuvToRgb = p->uniformLocation("uYuvToRgb");
        viewportSize = p->uniformLocation("uViewportSize");
        viewportSizeMin = p->uniformLocation("uViewportSizeMin");
        viewportSizeRatio = p->uniformLocation("uViewportSizeRatio");
        viewportWidth = p->uniformLocation("uViewportWidth");
        yawMin = p->uniformLocation("uYawMin");
        yawMax = p->uniformLocation("uYawMax");
        pitchMin = p->uniformLocation("uPitchMin");
        pitchMax = p->uniformLocation("uPitchMax");
        fov = p->uniformLocation("uFov");
        colorMatrix = p->uniformLocation("uColorMatrix");
        cameraYaw = p->uniformLocation("uCameraYaw");
        cameraPitch = p->uniformLocation("uCameraPitch");
        for (const char* name : {"uBrightness", "uContrast", "uHue", "uSaturation", "uVibrance", "uTime",
                                 "uVignettingRadius", "uVignettingAmount"}) {
            zeroes.append(p->uniformLocation(name));
        }
    }

    void updateState(const RenderState& renderState, QSGMaterial* newMaterial,
                     QSGMaterial* oldMaterial) override
    {
        Q_UNUSED(oldMaterial)
        auto* material = static_cast<HPanoramaMaterial*>(newMaterial);
        QOpenGLShaderProgram* p = program();
        const QMatrix4x4 combined = renderState.combinedMatrix();
        p->setUniformValue(matrix, combined);
        setScreenMapping(renderState, combined, material->itemSize, material->state.rightEye);

        const HPanoramaState& view = material->state;
        p->setUniformValue(viewInverse, view.rotation);
        p->setUniformValue(yawMin, view.yawMin);
        p->setUniformValue(yawMax, view.yawMax);
        p->setUniformValue(pitchMin, view.pitchMin);
        p->setUniformValue(pitchMax, view.pitchMax);
        p->setUniformValue(fov, view.fov);
        p->setUniformValue(cameraYaw, view.yaw);
        p->setUniformValue(cameraPitch, view.pitch);
        p->setUniformValue(colorMatrix, QMatrix4x4());
        for (int location : qAsConst(zeroes)) {
            p->setUniformValue(location, 0.0f);
        }
        bindTexture(material->texture);
    }

private:
    // The fragment shader places each pixel by gl_FragCoord, relative to the item's lower left
    // corner: the item's place on the render target (and whether the target is upside down) is
    // folded into the screen-mapping uniforms, which the shader uses as 2 * p / min - ratio.
    void setScreenMapping(const RenderState& renderState, const QMatrix4x4& combined, const QSizeF& size,
                          bool rightEye)
    {
        const QRect viewport = renderState.viewportRect();
        const int bottom = renderState.deviceRect().height() - (viewport.y() + viewport.height());
        const auto onTarget = [&](qreal x, qreal y) {
            const QPointF ndc = combined.map(QPointF(x, y));
            return QPointF(viewport.x() + (ndc.x() + 1.0) / 2.0 * viewport.width(),
                           bottom + (ndc.y() + 1.0) / 2.0 * viewport.height());
        };
        const QPointF topLeft = onTarget(0, 0);
        const QPointF bottomRight = onTarget(size.width(), size.height());
        const float w = float(std::abs(bottomRight.x() - topLeft.x()));
        const float h = float(std::abs(topLeft.y() - bottomRight.y()));
        const float shorter = std::min(w, h);
        const float longer = std::max(w, h);
        if (shorter <= 0.0f) {
            return;
        }
        const float signX = bottomRight.x() >= topLeft.x() ? 1.0f : -1.0f;
        const float signY = topLeft.y() >= bottomRight.y() ? 1.0f : -1.0f;
        const float originX = float(topLeft.x());
        const float originY = float(bottomRight.y());
        QOpenGLShaderProgram* p = program();
        p->setUniformValue(viewportSize, QVector2D(w, h));
        p->setUniformValue(viewportSizeMin, QVector2D(signX * shorter, signY * shorter));
        p->setUniformValue(viewportSizeRatio, QVector2D(longer / h + 2.0f * signX * originX / shorter,
                                                        h / shorter + 2.0f * signY * originY / shorter));
        // Every pixel of the item reads the same picture of a stereo frame: the first with the eye
        // border at the item's right edge, the second with it left of every pixel.
        p->setUniformValue(viewportWidth, rightEye ? -1.0f : float(std::max(topLeft.x(), bottomRight.x())));
    }

    void bindTexture(QSGTexture* texture)
    {
        QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
        if (auto* tiled = qobject_cast<HTiledTexture*>(texture)) {
            program()->setUniformValue(samplers[0], 0);
            tiled->setUniforms(program(), 1.0f);
            tiled->bindPages(gl, 1);
            gl->glActiveTexture(GL_TEXTURE0);
            tiled->bind();
            return;
        }
        auto* frame = qobject_cast<HFrameTexture*>(texture);
        if (frame && !frame->isEmpty() && frame->format().isYuv()) {
            for (int unit = 0; unit < 2; ++unit) {
                program()->setUniformValue(samplers[unit], unit);
            }
            program()->setUniformValue(yuvToRgb, frame->format().yuvToRgb());
            frame->bindPlanes(gl);
            return;
        }
        program()->setUniformValue(samplers[0], 0);
        gl->glActiveTexture(GL_TEXTURE0);
        if (!texture || (frame && frame->isEmpty())) {
            gl->glBindTexture(GL_TEXTURE_2D, 0);
        } else if (frame) {
            frame->bind();
        } else {
            bindStillTexture(gl, texture);
        }
    }

    HPanoramaProgram* panoramaProgram;
    int matrix = -1;
    int viewInverse = -1;
    int samplers[2] = {-1, -1};
    int yuvToRgb = -1;
    int viewportSize = -1;
    int viewportSizeMin = -1;
    int viewportSizeRatio = -1;
    int viewportWidth = -1;
    int yawMin = -1;
    int yawMax = -1;
    int pitchMin = -1;
    int pitchMax = -1;
    int fov = -1;
    int colorMatrix = -1;
    int cameraYaw = -1;
    int cameraPitch = -1;
    QVector<int> zeroes;
};

} // namespace

HPanoramaProgram::HPanoramaProgram(const QString& fragmentShader) : fragment(fragmentShader.toLatin1())
{
}

HPanoramaProgram* HPanoramaProgram::forText(const QString& fragmentShader)
{
    ProgramRegistry& programs = registry();
    QMutexLocker locker(&programs.mutex);
    HPanoramaProgram*& program = programs.programs[fragmentShader];
    if (!program) {
        program = new HPanoramaProgram(fragmentShader);
    }
    return program;
}

QString HPanoramaProgram::log() const
{
    QMutexLocker locker(&messageMutex());
    return message;
}

HPanoramaProgram::Status HPanoramaProgram::check()
{
    if (status() != Unknown) {
        return status();
    }
    QOpenGLShader shader(QOpenGLShader::Fragment);
    if (!shader.compileSourceCode(fragment)) {
        setLinked(false, shader.log());
        return Failed;
    }
    // The renderer links it and tells the outcome; until then nothing is known against it.
    int unknown = Unknown;
    state.compare_exchange_strong(unknown, Compiles);
    return status();
}

void HPanoramaProgram::setLinked(bool linked, const QString& driverMessage)
{
    {
        QMutexLocker locker(&messageMutex());
        message = linked ? QString() : driverMessage.trimmed();
    }
    const int before = state.exchange(linked ? Linked : Failed);
    if (!linked && before != Failed) {
        qCWarning(lcRender).noquote() << "The panorama's shader does not build on this OpenGL:" << message;
    }
}

HPanoramaMaterial::HPanoramaMaterial(HPanoramaProgram* program) : panoramaProgram(program)
{
    // The shader needs the item's own transformation to find the item on the render target, so
    // nodes are never merged into batches that are drawn in scene coordinates.
    setFlag(QSGMaterial::RequiresFullMatrix);
}

QSGMaterialShader* HPanoramaMaterial::createShader() const
{
    return new PanoramaShader(panoramaProgram);
}

int HPanoramaMaterial::compare(const QSGMaterial* other) const
{
    // Every view draws with its own state: never batched with another.
    return this < other ? -1 : (this == other ? 0 : 1);
}
