#pragma once

#include "HPictureGeometry.h"

class QIODevice;
class QString;

// The geometry that a media file's own metadata gives: panorama XMP for JPEG and PNG photos, the
// spherical boxes for MP4 and MOV videos. Empty for any other file and for what cannot be read.
class HPictureMetadata
{
public:
    static HPictureGeometry read(const QString& path);
    static HPictureGeometry read(QIODevice& device);
};
