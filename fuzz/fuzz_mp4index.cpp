// The top-level boxes of a file or of the start of a download: where its index lies.
#include "FuzzSupport.h"
#include "media/HMp4Index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = FuzzSupport::bytes(data, size);
    for (const bool complete : {true, false}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        (void)HMp4Index::inspect(buffer, complete);
    }
    return 0;
}
