#include "imaging/decoders/pcd_upsample.h"

#include <cstring>

namespace vum {

void UpsamplePlane2x(uint32_t width, uint32_t height, uint32_t lineLength, uint8_t* plane)
{
    if (width == 0 || height == 0 || lineLength < 2 * width)
        return;
    // Rows from the last up, so that no source row is overwritten before it is read;
    // within a row from the right for the same reason.
    for (uint32_t r = height; r-- > 0;) {
        const uint8_t* in = plane + std::size_t(r) * lineLength;
        uint8_t* out = plane + std::size_t(2 * r) * lineLength;
        out[2 * width - 1] = in[width - 1];
        out[2 * width - 2] = in[width - 1];
        for (uint32_t x = width - 1; x-- > 0;) {
            uint8_t a = in[x], b = in[x + 1];
            out[2 * x + 1] = uint8_t((a + b + 1) / 2);
            out[2 * x] = a;
        }
    }
    for (uint32_t r = 0; r + 1 < height; ++r) {
        const uint8_t* upper = plane + std::size_t(2 * r) * lineLength;
        const uint8_t* lower = upper + 2 * std::size_t(lineLength);
        uint8_t* mid = plane + std::size_t(2 * r + 1) * lineLength;
        for (uint32_t x = 0; x < 2 * width; ++x) {
            if (x % 2 == 0 || x == 2 * width - 1)
                mid[x] = uint8_t((upper[x] + lower[x] + 1) / 2);
            else
                mid[x] = uint8_t((upper[x - 1] + upper[x + 1] + lower[x - 1] + lower[x + 1] + 2) / 4);
        }
    }
    std::memcpy(plane + std::size_t(2 * height - 1) * lineLength, plane + std::size_t(2 * height - 2) * lineLength,
                2 * std::size_t(width));
}

} // namespace vum
