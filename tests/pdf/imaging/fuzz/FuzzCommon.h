#pragma once

// Shared set-up of the fuzz targets: low caps keep every run fast and small.
#include "imaging/Limits.h"

inline void lowerImageLimits()
{
    static bool done = [] {
        vum::imageLimits().maxPixels = uint64_t(1) << 22;
        vum::imageLimits().maxAllocation = uint64_t(1) << 26;
        return true;
    }();
    (void)done;
}
