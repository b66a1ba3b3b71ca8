#include "HTileBands.h"

#include "HTileStore.h"

#include <cstring>

HTileBands::HTileBands(const HTileLayout& tileLayout, int bandLevel, int lastLevel, HTileStore* tileStore)
    : layout(tileLayout), level(bandLevel), store(tileStore), width(layout.levelSize(level).width()),
      height(layout.levelSize(level).height()), rowBytes(size_t(width) * 3),
      band(size_t(HTileLayout::content + 2) * rowBytes), slotPixels(size_t(HTileStore::slotBytes))
{
    if (level < lastLevel && level + 1 < layout.levels()) {
        next = std::make_unique<HTileBands>(layout, level + 1, lastLevel, store);
        halfRow.resize(size_t(layout.levelSize(level + 1).width()) * 3);
    }
}

HTileBands::~HTileBands() = default;

void HTileBands::pushRow(const unsigned char* rgb)
{
    if (rowCount >= height) {
        return;
    }
    const int y = rowCount++;
    const int first = tileRow * HTileLayout::content - 1;
    std::memcpy(bandRow(y - first), rgb, rowBytes);
    if (y == 0) {
        // Above the top: the top row again.
        std::memcpy(bandRow(0), rgb, rowBytes);
    }
    if (y == (tileRow + 1) * HTileLayout::content) {
        // The row below the band is its border: the band is complete.
        cutTileRow();
        std::memcpy(bandRow(0), bandRow(HTileLayout::content), rowBytes);
        std::memcpy(bandRow(1), bandRow(HTileLayout::content + 1), rowBytes);
        ++tileRow;
    }
    if (next) {
        if (y % 2 == 0) {
            evenRow.assign(rgb, rgb + rowBytes);
        } else {
            pushHalf(evenRow.data(), rgb);
        }
    }
}

void HTileBands::finish()
{
    if (rowCount > tileRow * HTileLayout::content) {
        // Below the bottom: the bottom row again.
        const int first = tileRow * HTileLayout::content - 1;
        std::memcpy(bandRow(rowCount - first), bandRow(rowCount - 1 - first), rowBytes);
        cutTileRow();
    }
    if (next) {
        if (rowCount % 2 == 1) {
            pushHalf(evenRow.data(), evenRow.data());
        }
        next->finish();
    }
}

void HTileBands::cutTileRow()
{
    constexpr int border = HTileLayout::border;
    const int columns = layout.tiles(level).width();
    const size_t slotStride = size_t(HTileLayout::slot) * 3;
    for (int column = 0; column < columns; ++column) {
        const QRect rect = layout.tileRect(level, column, tileRow);
        std::fill(slotPixels.begin(), slotPixels.end(), 0);
        // Left and right of the tile: the neighbouring columns, across the wrap at the edges.
        const int left = rect.x() == 0 ? width - 1 : rect.x() - 1;
        const int right = rect.x() + rect.width() == width ? 0 : rect.x() + rect.width();
        for (int y = 0; y < rect.height() + 2 * border; ++y) {
            const unsigned char* source = bandRow(y);
            unsigned char* target = slotPixels.data() + size_t(y) * slotStride;
            std::memcpy(target, source + size_t(left) * 3, 3);
            std::memcpy(target + 3, source + size_t(rect.x()) * 3, size_t(rect.width()) * 3);
            std::memcpy(target + 3 + size_t(rect.width()) * 3, source + size_t(right) * 3, 3);
        }
        store->write(level, column, tileRow, slotPixels.data());
    }
}

void HTileBands::pushHalf(const unsigned char* upper, const unsigned char* lower)
{
    const int halfWidth = int(halfRow.size() / 3);
    for (int x = 0; x < halfWidth; ++x) {
        const int a = 2 * x;
        const int b = std::min(2 * x + 1, width - 1);
        for (int c = 0; c < 3; ++c) {
            const int sum = upper[a * 3 + c] + upper[b * 3 + c] + lower[a * 3 + c] + lower[b * 3 + c];
            halfRow[size_t(x) * 3 + size_t(c)] = static_cast<unsigned char>((sum + 2) / 4);
        }
    }
    next->pushRow(halfRow.data());
}
