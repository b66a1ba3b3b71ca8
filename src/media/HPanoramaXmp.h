#pragma once

#include "HPictureGeometry.h"

#include <QByteArray>

// The panorama properties of an XMP packet: those of photos (GPano) and those that the older
// spherical video metadata writes (GSpherical), which share their names. Only equirectangular
// pictures give a geometry; a packet larger than maxPacketSize is not read.
class HPanoramaXmp
{
public:
    static constexpr int maxPacketSize = 1 << 20;

    // imageWidth and imageHeight stand in for the cropped size where the packet leaves it out;
    // 0 when not known.
    static HPictureGeometry parse(const QByteArray& packet, int imageWidth, int imageHeight,
                                  HPictureGeometry::Origin origin);
};
