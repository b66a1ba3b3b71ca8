#pragma once

#include <cstddef>

// A mapping of a file that another process can shrink: reading a page past the file's new end
// raises SIGBUS, which would end the program. While a range is guarded, such a fault maps zero
// pages over the rest of the range instead, so the read that faulted and every later one read
// zeros, and the range is marked; the owner sees the mark, drops what it read and lets go of the
// mapping. A fault anywhere else goes to the handler that was there before.
//
// The handler can only reach static data: the guarded ranges are a small fixed table.
class HSigbusGuard
{
public:
    // Guards `length` bytes (whole pages) from `start`; false when the table is full.
    bool guard(void* start, std::size_t length);
    // Stops guarding, before the range is unmapped.
    void release();
    // Whether a read of the range has faulted since guard().
    bool faulted() const;

    HSigbusGuard() = default;
    ~HSigbusGuard() { release(); }
    HSigbusGuard(const HSigbusGuard&) = delete;
    HSigbusGuard& operator=(const HSigbusGuard&) = delete;

private:
    int entry = -1;
};
