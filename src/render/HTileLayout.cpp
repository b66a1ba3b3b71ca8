#include "HTileLayout.h"

namespace {

int halved(int value, int times)
{
    return int((qint64(value) + (qint64(1) << times) - 1) >> times);
}

int tilesFor(int pixels)
{
    return (pixels + HTileLayout::content - 1) / HTileLayout::content;
}

} // namespace

HTileLayout::HTileLayout(const QSize& picture)
{
    if (picture.isEmpty() || tilesFor(picture.width()) > maxTiles || tilesFor(picture.height()) > maxTiles) {
        return;
    }
    pictureSize = picture;
    levelCount = 1;
    while (halved(picture.width(), levelCount - 1) > content ||
           halved(picture.height(), levelCount - 1) > content) {
        ++levelCount;
    }
    // Wide enough for every level's columns also where the height decides the number of levels.
    while (power < qMax(tilesFor(picture.width()), tilesFor(picture.height()))) {
        power *= 2;
    }
}

QSize HTileLayout::levelSize(int level) const
{
    return QSize(halved(pictureSize.width(), level), halved(pictureSize.height(), level));
}

QSize HTileLayout::tiles(int level) const
{
    const QSize size = levelSize(level);
    return QSize(tilesFor(size.width()), tilesFor(size.height()));
}

QRect HTileLayout::tileRect(int level, int column, int row) const
{
    const QSize size = levelSize(level);
    const QRect whole(0, 0, size.width(), size.height());
    return QRect(column * content, row * content, content, content).intersected(whole);
}

bool HTileLayout::contains(int level, int column, int row) const
{
    const QSize count = tiles(level);
    return level >= 0 && level < levelCount && column >= 0 && row >= 0 && column < count.width() &&
           row < count.height();
}

QSize HTileLayout::pageTableSize() const
{
    return QSize(2 * power, tiles(0).height());
}

int HTileLayout::pageColumn(int level) const
{
    // 2P(1 - 2^-L): P columns for level 0, P/2 for level 1, and so on.
    return 2 * power - ((2 * power) >> level);
}
