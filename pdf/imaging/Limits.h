#pragma once

// Caps on what a picture file may ask the readers to allocate. Every size read
// from a file is checked against them in 64-bit arithmetic before use.
#include <cstdint>

namespace vum {

struct ImageLimits {
    uint64_t maxPixels = uint64_t(1) << 28;       // per picture
    uint64_t maxAllocation = uint64_t(1) << 30;   // per buffer, in bytes
};

// The process-wide caps; fuzzing lowers them so that runs stay fast.
ImageLimits& imageLimits();

// True when width x height pixels are within the caps (and neither is 0).
bool SizeWithinLimits(uint64_t width, uint64_t height);
// True when a buffer of this many bytes may be allocated.
bool AllocationWithinLimits(uint64_t bytes);

} // namespace vum
