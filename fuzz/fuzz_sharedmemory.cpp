// A shared-memory segment as another program writes it, read by the viewer's real input while the
// writer changes it: the input begins with a script of what happens (the reader watches, looks for
// a frame or takes one, reading each row's first and last byte; the writer overwrites bytes,
// truncates the segment or makes it anew), and the rest is the segment's first content. A check
// that lets a read reach past the segment faults on the guard page or reads a poisoned byte; a
// read past a truncated end must read zeros instead of ending with SIGBUS.
//
// Input: u16 script length, the script, the segment. Script steps: 0 watch, 1 frameWaiting,
// 2 take, 3 write (u16 offset, u8 count, the bytes), 4 truncate (u16 size), 5 make anew.
#include "FuzzSupport.h"
#include "render/HSharedMemorySegment.h"
#include "render/SharedMemoryInput.h"
#include "render/SharedMemoryLayout.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

class Script
{
public:
    Script(const std::uint8_t* data, std::size_t size) : at(data), end(data + size) {}
    bool done() const { return at >= end; }
    unsigned byte() { return at < end ? *at++ : 0; }
    unsigned u16() { return byte() | byte() << 8; }
    const std::uint8_t* take(std::size_t* count)
    {
        *count = std::min<std::size_t>(*count, std::size_t(end - at));
        const std::uint8_t* bytes = at;
        at += *count;
        return bytes;
    }

private:
    const std::uint8_t* at;
    const std::uint8_t* end;
};

void truncate(const QString& name, off_t size)
{
    const int descriptor = ::shm_open(("/" + name).toLatin1().constData(), O_RDWR, 0);
    if (descriptor >= 0) {
        (void)::ftruncate(descriptor, size);
        ::close(descriptor);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSupport::bytes(data, size); // quiet logs
    if (size < 2) {
        return 0;
    }
    const std::size_t scriptSize = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const std::uint8_t* image = data + 2 + scriptSize;
    const qint64 imageSize = qint64(size - 2 - scriptSize);
    if (imageSize <= 0 || imageSize > (1 << 20)) {
        return 0;
    }
    static const QString name = QStringLiteral("gyre-fuzz-%1").arg(::getpid());
    HSharedMemorySegment writer(name);
    const auto makeAnew = [&] {
        if (writer.create(imageSize)) {
            std::memcpy(writer.data(), image, std::size_t(imageSize));
        }
    };
    makeAnew();
    if (!writer.isOpen()) {
        return 0;
    }
    unsigned sum = 0;
    {
        SharedMemoryInput reader(name);
        reader.watch();
        Script script(data + 2, scriptSize);
        while (!script.done()) {
            switch (script.byte() % 6) {
            case 0:
                reader.watch();
                break;
            case 1:
                reader.frameWaiting();
                break;
            case 2:
                reader.take([&](const SharedMemoryInput::Frame& frame) {
                    for (int row = 0; row < frame.height; ++row) {
                        const uchar* line = frame.pixels + qint64(row) * frame.bytesPerLine;
                        sum += line[0] + line[frame.width * SharedMemoryLayout::bytesPerPixel - 1];
                    }
                });
                break;
            case 3: {
                const qint64 offset = script.u16();
                std::size_t count = script.byte();
                const std::uint8_t* bytes = script.take(&count);
                // Past a truncated end the writer's own mapping reads and writes zero pages.
                const qint64 room = std::max<qint64>(0, writer.size() - offset);
                std::memcpy(writer.data() + std::min(offset, writer.size()), bytes,
                            std::size_t(std::min<qint64>(qint64(count), room)));
                break;
            }
            case 4:
                truncate(name, off_t(script.u16()));
                break;
            default:
                makeAnew();
                if (!writer.isOpen()) {
                    return 0;
                }
                break;
            }
        }
    }
    return int(sum & 0);
}
