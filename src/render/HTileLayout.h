#pragma once

#include <QRect>
#include <QSize>

// Where a tiled panorama's tiles are: a pyramid of levels, level 0 the whole picture and each next
// level half as wide and high (rounded up), up to the first level that fits one tile. Every level is
// cut into tiles of `content` pixels a side (smaller at the right and bottom edges), each stored in a
// square slot with a border of one pixel taken from its neighbours, so that smooth sampling never
// shows a seam: across the 360° wrap the border is the other edge's column, at top and bottom the
// edge row repeated.
//
// The page table that the shader reads holds one texel per tile of every level, side by side: level L
// starts at column 2P(1 - 2^-L), P being the power of two at or above level 0's tile columns and rows.
class HTileLayout
{
public:
    static constexpr int content = 510;
    static constexpr int border = 1;
    static constexpr int slot = content + 2 * border;
    // Tiles a side at level 0 at most: the shader's tile requests carry a column and a row in a byte.
    static constexpr int maxTiles = 255;

    HTileLayout() = default;
    explicit HTileLayout(const QSize& picture);

    bool isValid() const { return levelCount > 0; }
    QSize picture() const { return pictureSize; }
    int levels() const { return levelCount; }
    QSize levelSize(int level) const;
    QSize tiles(int level) const;
    // The tile's pixels within its level.
    QRect tileRect(int level, int column, int row) const;
    bool contains(int level, int column, int row) const;
    // Counting the tiles of one level, row by row.
    int indexInLevel(int level, int column, int row) const { return row * tiles(level).width() + column; }

    QSize pageTableSize() const;
    int pageColumn(int level) const;
    int pagePower() const { return power; }

private:
    QSize pictureSize;
    int levelCount = 0;
    int power = 1;
};
