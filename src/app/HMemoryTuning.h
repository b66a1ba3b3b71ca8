#pragma once

// Asks the C library's allocator to hand large blocks (decoded pictures, photos) back to the
// system when they are freed. Left to itself, glibc raises the size above which it maps blocks
// of their own each time such a block is freed, after which pictures come from the heap and stay
// resident: switching media for ten minutes then holds two to three times the memory of a fresh
// start. Where the C library has no such knob this does nothing.
namespace HMemoryTuning {
// Before anything allocates much, at the top of main().
void apply();
} // namespace HMemoryTuning
