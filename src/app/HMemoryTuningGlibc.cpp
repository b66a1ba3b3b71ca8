#include "HMemoryTuning.h"

#include <QString>

#include <malloc.h>

namespace {
// Above the buffers of everyday work (texts, events, datagrams) and far below a picture's.
constexpr int mapThreshold = 256 * 1024;
} // namespace

void HMemoryTuning::apply()
{
    // Someone measuring the allocator with GLIBC_TUNABLES chooses for themselves.
    if (qEnvironmentVariable("GLIBC_TUNABLES").contains(QLatin1String("malloc."))) {
        return;
    }
    // A fixed threshold also stops glibc from moving the trim threshold with it.
    mallopt(M_MMAP_THRESHOLD, mapThreshold);
}
