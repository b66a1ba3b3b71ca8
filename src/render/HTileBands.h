#pragma once

#include "HTileLayout.h"

#include <memory>
#include <vector>

class HTileStore;

// Turns the rows of one pyramid level, top to bottom, into that level's tiles in the store, and
// halves them (2x2 averages) into the rows of the next level, down to lastLevel. Holds one band of
// tiles (a tile's height and the border rows) per level, never the whole picture.
class HTileBands
{
public:
    HTileBands(const HTileLayout& layout, int level, int lastLevel, HTileStore* store);
    ~HTileBands();

    // A row of packed RGB, levelSize(level).width() pixels.
    void pushRow(const unsigned char* rgb);
    // After the last row: the last band and the levels below.
    void finish();
    // Rows pushed so far.
    int rows() const { return rowCount; }

private:
    unsigned char* bandRow(int slotRow) { return band.data() + size_t(slotRow) * rowBytes; }
    void cutTileRow();
    void pushHalf(const unsigned char* upper, const unsigned char* lower);

    HTileLayout layout;
    int level;
    HTileStore* store;
    int width;
    int height;
    size_t rowBytes;
    // Rows tileRow * content - 1 .. (tileRow + 1) * content of the level, one slot row each.
    std::vector<unsigned char> band;
    int tileRow = 0;
    int rowCount = 0;
    std::vector<unsigned char> slotPixels;
    std::vector<unsigned char> evenRow;
    std::vector<unsigned char> halfRow;
    std::unique_ptr<HTileBands> next;
};
