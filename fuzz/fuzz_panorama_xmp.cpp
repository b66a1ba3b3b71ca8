// A panorama XMP packet. The first four bytes give the picture's size (two 16-bit numbers), the
// rest is the packet.
#include "FuzzSupport.h"
#include "media/HPanoramaXmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) {
        return 0;
    }
    const int width = data[0] | data[1] << 8;
    const int height = data[2] | data[3] << 8;
    const HPictureGeometry geometry = HPanoramaXmp::parse(FuzzSupport::bytes(data + 4, size - 4), width,
                                                          height, HPictureGeometry::Origin::PanoramaXmp);
    FuzzSupport::checkGeometry(geometry);
    (void)geometry.coverageText();
    return 0;
}
