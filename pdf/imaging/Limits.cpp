#include "imaging/Limits.h"

namespace vum {

ImageLimits& imageLimits()
{
    static ImageLimits limits;
    return limits;
}

bool SizeWithinLimits(uint64_t width, uint64_t height)
{
    if (width == 0 || height == 0 || width > 0xFFFFFFFFu || height > 0xFFFFFFFFu)
        return false;
    return width * height <= imageLimits().maxPixels;
}

bool AllocationWithinLimits(uint64_t bytes)
{
    return bytes <= imageLimits().maxAllocation;
}

} // namespace vum
