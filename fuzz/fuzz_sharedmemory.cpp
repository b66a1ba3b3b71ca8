// A shared-memory segment as another program wrote it: the header and the slot table, and the
// pixels of every slot the checks let through, read to their last byte. The input is the whole
// segment, so a check that lets a frame reach past it reads outside the input.
#include "FuzzSupport.h"
#include "render/SharedMemoryFrame.h"
#include "render/SharedMemoryLayout.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace L = SharedMemoryLayout;
    if (qint64(size) < L::headerSize ||
        std::memcmp(data + L::versionOffset, L::versionText, sizeof(L::versionText)) != 0) {
        return 0;
    }
    QString fault;
    const int count = SharedMemoryFrame::slotCount(data, qint64(size), &fault);
    unsigned sum = 0;
    for (int slot = 0; slot < count; ++slot) {
        const SharedMemoryFrame frame = SharedMemoryFrame::inSlot(data, qint64(size), slot);
        if (frame.fault.isEmpty()) {
            const std::uint8_t* pixels = data + frame.pixels;
            sum += pixels[0] +
                   pixels[qint64(frame.height - 1) * frame.bytesPerLine + frame.width * L::bytesPerPixel - 1];
        }
    }
    return int(sum & 0);
}
