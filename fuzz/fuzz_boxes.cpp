// The boxes of an MP4 or MOV file: what it says about its sphere.
#include "FuzzSupport.h"
#include "media/HSphericalBoxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = FuzzSupport::bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const HPictureGeometry geometry = HSphericalBoxReader::read(buffer);
    FuzzSupport::checkGeometry(geometry);
    (void)geometry.coverageText();
    return 0;
}
