// A JPEG or PNG photo's segments and chunks, up to its XMP packet.
#include "FuzzSupport.h"
#include "media/HPhotoXmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = FuzzSupport::bytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    (void)HPhotoXmpReader::read(buffer);
    return 0;
}
