#include "HSigbusGuard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Range
{
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> faulted{false};
};

// A few segments at most are mapped at once (one, and its successor while it is checked).
constexpr int rangeCount = 8;
Range ranges[rangeCount];
struct sigaction previous = {};
std::once_flag installed;

void passOn(int signal, siginfo_t* info, void* context)
{
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler == SIG_DFL) {
        // Returning retries the access, which faults again and now ends the program as it would have.
        ::sigaction(signal, &previous, nullptr);
    } else if (previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
    }
}

void onSigbus(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Range& range : ranges) {
        const std::uintptr_t start = range.start.load(std::memory_order_acquire);
        const std::uintptr_t end = range.end.load(std::memory_order_acquire);
        if (start == 0 || address < start || address >= end) {
            continue;
        }
        const std::uintptr_t page = address & ~std::uintptr_t(::sysconf(_SC_PAGESIZE) - 1);
        // Zero pages from the faulting one to the end: the file behind them is gone in any case.
        void* zeros = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            range.faulted.store(true, std::memory_order_release);
            return;
        }
        break;
    }
    passOn(signal, info, context);
}

void install()
{
    struct sigaction action = {};
    action.sa_sigaction = onSigbus;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous);
}

} // namespace

bool HSigbusGuard::guard(void* start, std::size_t length)
{
    release();
    std::call_once(installed, install);
    static std::mutex table;
    const std::lock_guard<std::mutex> lock(table);
    for (int index = 0; index < rangeCount; ++index) {
        Range& range = ranges[index];
        if (range.start.load(std::memory_order_relaxed) == 0) {
            range.faulted.store(false, std::memory_order_relaxed);
            const auto begin = reinterpret_cast<std::uintptr_t>(start);
            range.end.store(begin + length, std::memory_order_relaxed);
            range.start.store(begin, std::memory_order_release);
            entry = index;
            return true;
        }
    }
    return false;
}

void HSigbusGuard::release()
{
    if (entry >= 0) {
        ranges[entry].start.store(0, std::memory_order_release);
        entry = -1;
    }
}

bool HSigbusGuard::faulted() const
{
    return entry >= 0 && ranges[entry].faulted.load(std::memory_order_acquire);
}
