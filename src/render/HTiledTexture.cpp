#include "HTiledTexture.h"

#include "HTileLoader.h"
#include "HTileStore.h"
#include "RenderLogging.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QVector4D>

#include <algorithm>
#include <cmath>

namespace {

// Tiles uploaded at most in one frame: a few milliseconds of copying, so panning stays smooth.
constexpr int uploadsPerFrame = 8;
// The coarsest levels kept for good, in tiles.
constexpr int pinnedTiles = 16;
constexpr qint64 slotTextureBytes = qint64(HTileLayout::slot) * HTileLayout::slot * 4;

} // namespace

HTiledTexture::HTiledTexture(const HTileLayout& layout, std::shared_ptr<HTileLoader> tileLoader,
                             qint64 budgetBytes)
    : tileLayout(layout), loader(std::move(tileLoader))
{
    const int budgetSlots = int(std::max<qint64>(2 * pinnedTiles, budgetBytes / slotTextureBytes));
    slotColumns = std::min(16, budgetSlots);
    slotRows = (budgetSlots + slotColumns - 1) / slotColumns;
    int kept = 0;
    pinnedLevel = tileLayout.levels();
    while (pinnedLevel > 0) {
        const QSize count = tileLayout.tiles(pinnedLevel - 1);
        if (kept + count.width() * count.height() > pinnedTiles) {
            break;
        }
        kept += count.width() * count.height();
        --pinnedLevel;
    }
    requestMissing();
}

HTiledTexture::~HTiledTexture()
{
    if (QOpenGLContext* context = QOpenGLContext::currentContext()) {
        QOpenGLFunctions* gl = context->functions();
        gl->glDeleteTextures(1, &atlas);
        gl->glDeleteTextures(1, &pages);
    }
}

void HTiledTexture::createTextures(QOpenGLFunctions* gl)
{
    GLint largest = 2048;
    gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const int fit = std::max(1, int(largest) / HTileLayout::slot);
    slotColumns = std::min(slotColumns, fit);
    slotRows = std::min(slotRows, fit);
    slotTable.assign(size_t(slotColumns * slotRows), Slot());
    qCInfo(lcRender).nospace() << "Tiled photo " << tileLayout.picture().width() << "x"
                               << tileLayout.picture().height() << ": " << tileLayout.levels() << " levels, "
                               << slotTable.size() << " tile slots in a " << slotColumns * HTileLayout::slot
                               << "x" << slotRows * HTileLayout::slot << " texture";
    const auto make = [gl](unsigned& name, GLint filter, int width, int height, GLenum format) {
        gl->glGenTextures(1, &name);
        gl->glBindTexture(GL_TEXTURE_2D, name);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                         nullptr);
    };
    make(atlas, GL_LINEAR, slotColumns * HTileLayout::slot, slotRows * HTileLayout::slot, GL_RGB);
    const QSize table = tileLayout.pageTableSize();
    make(pages, GL_NEAREST, table.width(), table.height(), GL_RGBA);
    pagesDirty = true;
}

void HTiledTexture::bind()
{
    QOpenGLContext::currentContext()->functions()->glBindTexture(GL_TEXTURE_2D, atlas);
}

void HTiledTexture::bindPages(QOpenGLFunctions* gl, int unit)
{
    gl->glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    gl->glBindTexture(GL_TEXTURE_2D, pages);
    gl->glActiveTexture(GL_TEXTURE0);
}

void HTiledTexture::setUniforms(QOpenGLShaderProgram* program, float footprint) const
{
    const QSize picture = tileLayout.picture();
    const QSize table = tileLayout.pageTableSize();
    program->setUniformValue("uTilePicture", QVector4D(picture.width(), picture.height(),
                                                       HTileLayout::content, HTileLayout::border));
    program->setUniformValue("uTileAtlas", QVector4D(HTileLayout::slot, slotColumns * HTileLayout::slot,
                                                     slotRows * HTileLayout::slot, 0));
    program->setUniformValue("uTilePage", QVector4D(table.width(), table.height(), tileLayout.pagePower(),
                                                    tileLayout.levels() - 1));
    program->setUniformValue("uTileFootprint", footprint);
    program->setUniformValue("uTilePages", 1);
}

void HTiledTexture::setVisible(const std::vector<HTileKey>& tiles)
{
    // Called for every new view, also one that shows the same tiles: each view says when it is complete.
    visible = tiles;
    ++stamp;
    viewClock.start();
    viewComplete = false;
    requestMissing();
}

void HTiledTexture::requestMissing()
{
    std::vector<HTileKey> missing;
    // The whole picture, small, first: it is what every other tile falls back on.
    for (int level = tileLayout.levels() - 1; level >= pinnedLevel; --level) {
        const QSize count = tileLayout.tiles(level);
        for (int row = 0; row < count.height(); ++row) {
            for (int column = 0; column < count.width(); ++column) {
                const HTileKey key{level, column, row};
                if (!resident.contains(key)) {
                    missing.push_back(key);
                }
            }
        }
    }
    // Then the view's own tiles; after them the coarser tiles they fall back on, read first only
    // when the decoder has not made the view's own yet.
    std::vector<HTileKey> fallbacks;
    for (const HTileKey& key : visible) {
        const auto found = resident.constFind(key);
        if (found != resident.constEnd()) {
            slotTable[size_t(found.value())].used = stamp;
            continue;
        }
        missing.push_back(key);
        for (int up = 1; key.level + up < pinnedLevel; ++up) {
            const HTileKey above = key.above(up);
            const auto coarser = resident.constFind(above);
            if (coarser != resident.constEnd()) {
                slotTable[size_t(coarser.value())].used = stamp;
                break;
            }
            if (std::find(fallbacks.begin(), fallbacks.end(), above) == fallbacks.end()) {
                fallbacks.push_back(above);
            }
        }
    }
    const bool viewLoaded = missing.empty();
    missing.insert(missing.end(), fallbacks.begin(), fallbacks.end());
    if (viewLoaded && !viewComplete && viewClock.isValid()) {
        viewComplete = true;
        qCInfo(lcRenderTiles).nospace()
            << "view complete: " << visible.size() << " tiles in " << viewClock.elapsed() << " ms";
    }
    loader->want(std::move(missing));
}

int HTiledTexture::freeSlot()
{
    int chosen = -1;
    for (int i = 0; i < int(slotTable.size()); ++i) {
        const Slot& slot = slotTable[size_t(i)];
        if (!slot.filled) {
            return i;
        }
        // Never a slot the current view uses, nor the coarsest levels.
        if (!slot.pinned && slot.used < stamp && (chosen < 0 || slot.used < slotTable[size_t(chosen)].used)) {
            chosen = i;
        }
    }
    if (chosen < 0 && !fullReported) {
        fullReported = true;
        qCWarning(lcRender)
            << "The view needs more tiles than the texture budget holds; it shows some coarser";
    }
    if (chosen >= 0) {
        resident.remove(slotTable[size_t(chosen)].key);
    }
    return chosen;
}

bool HTiledTexture::updateTexture()
{
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    if (!atlas) {
        createTextures(gl);
    }
    const std::vector<HTileLoader::Tile> tiles = loader->take(uploadsPerFrame);
    bool changed = false;
    for (const HTileLoader::Tile& tile : tiles) {
        if (resident.contains(tile.key)) {
            continue;
        }
        const int index = freeSlot();
        if (index < 0) {
            continue;
        }
        Slot& slot = slotTable[size_t(index)];
        slot = Slot{tile.key, true, isPinned(tile.key.level), stamp};
        resident.insert(tile.key, index);
        gl->glBindTexture(GL_TEXTURE_2D, atlas);
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, (index % slotColumns) * HTileLayout::slot,
                            (index / slotColumns) * HTileLayout::slot, HTileLayout::slot, HTileLayout::slot,
                            GL_RGB, GL_UNSIGNED_BYTE, tile.pixels.constData());
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        changed = true;
    }
    if (changed) {
        pagesDirty = true;
        requestMissing();
    }
    if (pagesDirty) {
        writePages(gl);
    }
    return changed;
}

void HTiledTexture::writePages(QOpenGLFunctions* gl)
{
    pagesDirty = false;
    const QSize table = tileLayout.pageTableSize();
    std::vector<unsigned char> entries(size_t(table.width()) * size_t(table.height()) * 4, 0);
    for (int level = 0; level < tileLayout.levels(); ++level) {
        const QSize count = tileLayout.tiles(level);
        const int first = tileLayout.pageColumn(level);
        for (int row = 0; row < count.height(); ++row) {
            for (int column = 0; column < count.width(); ++column) {
                const HTileKey key{level, column, row};
                for (int up = 0; level + up < tileLayout.levels(); ++up) {
                    const auto found = resident.constFind(key.above(up));
                    if (found == resident.constEnd()) {
                        continue;
                    }
                    unsigned char* entry =
                        &entries[(size_t(row) * size_t(table.width()) + size_t(first + column)) * 4];
                    entry[0] = static_cast<unsigned char>(found.value() % slotColumns);
                    entry[1] = static_cast<unsigned char>(found.value() / slotColumns);
                    entry[2] = static_cast<unsigned char>(level + up);
                    entry[3] = 255;
                    break;
                }
            }
        }
    }
    gl->glBindTexture(GL_TEXTURE_2D, pages);
    gl->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, table.width(), table.height(), GL_RGBA, GL_UNSIGNED_BYTE,
                        entries.data());
}
