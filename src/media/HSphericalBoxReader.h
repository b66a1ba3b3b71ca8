#pragma once

#include "HPictureGeometry.h"
#include "HSpatialAudio.h"

class QIODevice;
class QString;

// The spherical metadata of an MP4 or MOV file: the st3d and sv3d boxes of a video sample entry,
// or the older spherical XMP box of a track; and the spatial audio boxes (SA3D, SAND) of an audio
// sample entry. The file is walked box by box; every size is checked
// against its parent and the file, depth and box count are capped and at most readLimit bytes are
// read, so a truncated or hostile file only ever gives an empty geometry.
class HSphericalBoxReader
{
public:
    static constexpr qint64 readLimit = 4 << 20;
    static constexpr int depthLimit = 16;
    static constexpr int boxLimit = 20000;

    static HPictureGeometry read(QIODevice& device);
    static HSpatialAudio readSpatialAudio(QIODevice& device);
    static HSpatialAudio readSpatialAudio(const QString& path);
};
