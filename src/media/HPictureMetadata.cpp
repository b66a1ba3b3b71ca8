#include "HPictureMetadata.h"

#include "HPanoramaXmp.h"
#include "HPhotoXmpReader.h"
#include "HSphericalBoxReader.h"
#include "MediaLogging.h"

#include <QFile>

HPictureGeometry HPictureMetadata::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return HPictureGeometry();
    }
    return read(file);
}

HPictureGeometry HPictureMetadata::read(QIODevice& device)
{
    const HPhotoXmpReader::Result photo = HPhotoXmpReader::read(device);
    if (photo.recognised) {
        return HPanoramaXmp::parse(photo.xmp, photo.width, photo.height,
                                   HPictureGeometry::Origin::PanoramaXmp);
    }
    return HSphericalBoxReader::read(device);
}
