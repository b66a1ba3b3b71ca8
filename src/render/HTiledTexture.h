#pragma once

#include "HTileKey.h"
#include "HTileLayout.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSGDynamicTexture>

#include <memory>
#include <vector>

class HTileLoader;
class QOpenGLFunctions;
class QOpenGLShaderProgram;

// A tiled panorama on the render thread: an atlas texture of tile slots within a texture budget, and
// a page table that says, for every tile of every level, which slot holds the finest tile at that
// level or coarser that is there. The panorama's shader finds each pixel's level and tile through the
// table; what the view needs (setVisible, from the view's request pass) is read by the loader, nearest
// to the view's centre first, uploaded a few tiles a frame, and slots not used by the current view go
// least recently used first. The coarsest levels, a few tiles, stay for good: the whole picture,
// small, is always there to fall back on.
class HTiledTexture : public QSGDynamicTexture
{
    Q_OBJECT

public:
    HTiledTexture(const HTileLayout& layout, std::shared_ptr<HTileLoader> loader, qint64 budgetBytes);
    ~HTiledTexture() override;

    int textureId() const override { return int(atlas); }
    QSize textureSize() const override { return tileLayout.picture(); }
    bool hasAlphaChannel() const override { return false; }
    bool hasMipmaps() const override { return false; }
    // The atlas on the active texture unit.
    void bind() override;
    // Uploads what the loader has read; true when the picture changed.
    bool updateTexture() override;

    const HTileLayout& layout() const { return tileLayout; }
    // The page table on that unit; leaves GL_TEXTURE0 active.
    void bindPages(QOpenGLFunctions* gl, int unit);
    // The tile uniforms of the panorama's shader; footprint is the screen pixels per shader pixel.
    void setUniforms(QOpenGLShaderProgram* program, float footprint) const;
    // The tiles the view shows, each at the level it wants, nearest to its centre first.
    void setVisible(const std::vector<HTileKey>& tiles);

private:
    struct Slot
    {
        HTileKey key;
        bool filled = false;
        bool pinned = false;
        quint64 used = 0;
    };

    void createTextures(QOpenGLFunctions* gl);
    // An empty slot, or the least recently used one the view can spare (emptied); -1 when none.
    int freeSlot();
    void writePages(QOpenGLFunctions* gl);
    bool isPinned(int level) const { return level >= pinnedLevel; }
    void requestMissing();

    HTileLayout tileLayout;
    std::shared_ptr<HTileLoader> loader;
    int slotColumns = 0;
    int slotRows = 0;
    unsigned atlas = 0;
    unsigned pages = 0;
    std::vector<Slot> slotTable;
    QHash<HTileKey, int> resident;
    std::vector<HTileKey> visible;
    quint64 stamp = 1;
    int pinnedLevel = 0;
    bool pagesDirty = true;
    bool fullReported = false;
    // From the moment the view's tiles changed until all of them are there.
    QElapsedTimer viewClock;
    bool viewComplete = true;
};
