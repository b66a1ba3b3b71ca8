#include "HTileFeedback.h"

#include "HTiledTexture.h"
#include "RenderLogging.h"
#include "VeyrixViewVertexShader.h"

#include <QHash>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

constexpr int reduction = 8;

} // namespace

HTileFeedback::HTileFeedback() = default;
HTileFeedback::~HTileFeedback() = default;

void HTileFeedback::setShader(const QString& requestShader)
{
    if (requestShader != text) {
        text = requestShader;
        program.reset();
        failed = false;
    }
}

std::vector<HTileKey> HTileFeedback::run(const HPanoramaState& state, const QSizeF& pixels,
                                         const HTiledTexture& texture)
{
    if (text.isEmpty() || failed || pixels.isEmpty()) {
        return {};
    }
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    if (!program) {
        program = std::make_unique<QOpenGLShaderProgram>();
        program->addShaderFromSourceCode(QOpenGLShader::Vertex, VeyrixViewVertexShader::source);
        program->addShaderFromSourceCode(QOpenGLShader::Fragment, text);
        program->bindAttributeLocation("vertex", 0);
        if (!program->link()) {
            qCWarning(lcRender).noquote()
                << "The tiled photo's request pass does not build:" << program->log();
            failed = true;
            program.reset();
            return {};
        }
    }
    const QSize size(std::max(1, int(std::ceil(pixels.width() / reduction))),
                     std::max(1, int(std::ceil(pixels.height() / reduction))));
    if (!target || target->size() != size) {
        target = std::make_unique<QOpenGLFramebufferObject>(size);
    }

    GLint previousFramebuffer = 0;
    GLint previousViewport[4] = {};
    GLint previousProgram = 0;
    gl->glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    gl->glGetIntegerv(GL_VIEWPORT, previousViewport);
    gl->glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    const bool blend = gl->glIsEnabled(GL_BLEND);
    const bool scissor = gl->glIsEnabled(GL_SCISSOR_TEST);
    const bool depth = gl->glIsEnabled(GL_DEPTH_TEST);
    const bool stencil = gl->glIsEnabled(GL_STENCIL_TEST);
    gl->glDisable(GL_BLEND);
    gl->glDisable(GL_SCISSOR_TEST);
    gl->glDisable(GL_DEPTH_TEST);
    gl->glDisable(GL_STENCIL_TEST);

    target->bind();
    gl->glViewport(0, 0, size.width(), size.height());
    gl->glClearColor(0, 0, 0, 0);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    program->bind();
    QMatrix4x4 unitSquare;
    unitSquare.ortho(0, 1, 0, 1, -1, 1);
    program->setUniformValue("matrix", unitSquare);
    const float w = float(size.width());
    const float h = float(size.height());
    const float shorter = std::min(w, h);
    program->setUniformValue("uViewportSize", QVector2D(w, h));
    program->setUniformValue("uViewportSizeMin", QVector2D(shorter, shorter));
    program->setUniformValue("uViewportSizeRatio", QVector2D(std::max(w, h) / h, h / shorter));
    program->setUniformValue("uViewportWidth", state.rightEye ? -1.0f : w);
    program->setUniformValue("uMatViewInverse", state.rotation);
    program->setUniformValue("uYawMin", state.yawMin);
    program->setUniformValue("uYawMax", state.yawMax);
    program->setUniformValue("uPitchMin", state.pitchMin);
    program->setUniformValue("uPitchMax", state.pitchMax);
    program->setUniformValue("uFov", state.fov);
    program->setUniformValue("uCameraYaw", state.yaw);
    program->setUniformValue("uCameraPitch", state.pitch);
    texture.setUniforms(program.get(), w / float(pixels.width()));
    static const GLfloat square[] = {0, 0, 0, 1, 1, 0, 1, 1};
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    program->enableAttributeArray(0);
    program->setAttributeArray(0, GL_FLOAT, square, 2);
    gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    program->disableAttributeArray(0);
    std::vector<unsigned char> read(size_t(size.width()) * size_t(size.height()) * 4);
    gl->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, read.data());

    gl->glBindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
    gl->glViewport(previousViewport[0], previousViewport[1], previousViewport[2], previousViewport[3]);
    gl->glUseProgram(GLuint(previousProgram));
    const auto restore = [gl](GLenum capability, bool enabled) {
        enabled ? gl->glEnable(capability) : gl->glDisable(capability);
    };
    restore(GL_BLEND, blend);
    restore(GL_SCISSOR_TEST, scissor);
    restore(GL_DEPTH_TEST, depth);
    restore(GL_STENCIL_TEST, stencil);

    // Each tile once, at the distance of its pixel nearest to the centre.
    QHash<HTileKey, float> nearest;
    const HTileLayout& layout = texture.layout();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const unsigned char* pixel = &read[(size_t(y) * size_t(size.width()) + size_t(x)) * 4];
            const HTileKey key{pixel[2], pixel[0], pixel[1]};
            if (pixel[3] < 128 || !layout.contains(key.level, key.column, key.row)) {
                continue;
            }
            const float dx = x + 0.5f - w / 2;
            const float dy = y + 0.5f - h / 2;
            const float distance = dx * dx + dy * dy;
            auto found = nearest.find(key);
            if (found == nearest.end()) {
                nearest.insert(key, distance);
            } else if (distance < found.value()) {
                found.value() = distance;
            }
        }
    }
    std::vector<std::pair<float, HTileKey>> ordered;
    ordered.reserve(size_t(nearest.size()));
    for (auto i = nearest.constBegin(); i != nearest.constEnd(); ++i) {
        ordered.emplace_back(i.value(), i.key());
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first
                                  : std::tie(a.second.level, a.second.row, a.second.column) <
                                        std::tie(b.second.level, b.second.row, b.second.column);
    });
    std::vector<HTileKey> tiles;
    tiles.reserve(ordered.size());
    for (const auto& entry : ordered) {
        tiles.push_back(entry.second);
    }
    return tiles;
}
