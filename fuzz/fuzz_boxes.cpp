// The boxes of an MP4 or MOV file: what it says about its sphere and its sound field.
#include "FuzzSupport.h"
#include "media/HSphericalBoxReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = FuzzSupport::bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const HPictureGeometry geometry = HSphericalBoxReader::read(buffer);
    FuzzSupport::checkGeometry(geometry);
    (void)geometry.coverageText();

    // A field that is taken names four distinct channels of its track.
    const HSpatialAudio audio = HSphericalBoxReader::readSpatialAudio(buffer);
    if (audio.ambisonic) {
        if (audio.channelMap.size() != 4 || audio.track < 0 || audio.channels < 4) {
            std::abort();
        }
        for (int channel : audio.channelMap) {
            if (channel < 0 || channel >= audio.channels || audio.channelMap.count(channel) != 1) {
                std::abort();
            }
        }
    }
    return 0;
}
