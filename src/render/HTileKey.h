#pragma once

#include <QHashFunctions>

// One tile of a tiled panorama: its level and its column and row within the level.
struct HTileKey
{
    int level = 0;
    int column = 0;
    int row = 0;

    bool operator==(const HTileKey& other) const
    {
        return level == other.level && column == other.column && row == other.row;
    }
    bool operator!=(const HTileKey& other) const { return !(*this == other); }
    // The tile of a coarser level that holds this one.
    HTileKey above(int levels) const { return HTileKey{level + levels, column >> levels, row >> levels}; }
};

inline uint qHash(const HTileKey& key, uint seed = 0)
{
    return qHash((quint64(key.level) << 40) | (quint64(key.column) << 20) | quint64(key.row), seed);
}
