#pragma once

#include <cstddef>
#include <cstdint>

// Checks bytes against Qt 5's binary JSON layout before Qt's own reader sees them. Qt's validation
// trusts sizes it has not bounded (a few dozen crafted bytes send it far outside the buffer) and
// follows references that point at shared data as often as they occur (a kilobyte keeps it busy for
// minutes). This check reads only inside the given bytes, visits at most a fixed number of values
// and levels, and reads no string byte more often than the document has bytes, so its time is
// bounded by the input's size whatever the input holds; whatever it accepts, Qt reads in the same
// bounded way, because Qt follows exactly the references this check followed.
//
// It accepts what Qt writes (every offset and size a multiple of four, keys in order) and nothing
// that Qt's reader would take differently.
class HBinaryJsonValidator
{
public:
    struct Limits
    {
        // Values (array elements and object members) over all levels, counted every time a reference
        // leads to them.
        std::uint32_t maxValues = 1024;
        // Containers inside containers; the document itself is level 1.
        std::uint32_t maxDepth = 16;
    };

    struct Result
    {
        bool accepted = false;
        // The work done, for tests: values visited and string bytes read (keys and string values).
        std::uint32_t values = 0;
        std::uint64_t stringBytes = 0;
    };

    static Result check(const char* data, std::size_t size, const Limits& limits);
    static Result check(const char* data, std::size_t size) { return check(data, size, Limits()); }
    static bool isAcceptable(const char* data, std::size_t size) { return check(data, size).accepted; }
};
