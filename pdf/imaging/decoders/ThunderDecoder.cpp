#include "imaging/decoders/ThunderDecoder.h"

#include <algorithm>
#include <cstring>

namespace vum {

void TThunderDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                             std::size_t unpackedSize)
{
    static const int twoBit[4] = {0, 1, 0, -1};
    static const int threeBit[8] = {0, 1, 2, 3, 0, -3, -2, -1};
    std::memset(dest, 0, unpackedSize);
    decoded_ = 0;
    if (width_ <= 0)
        return;
    const uint8_t* in = source;
    std::size_t left = packedSize;
    std::size_t lineBytes = std::size_t(width_);
    for (std::size_t lineStart = 0; lineStart < unpackedSize; lineStart += lineBytes) {
        // Pixels never pass the line or the output.
        std::size_t pixels = 2 * std::min(lineBytes, unpackedSize - lineStart);
        uint8_t* line = dest + lineStart;
        uint8_t last = 0;
        std::size_t count = 0;
        auto put = [&](int value) {
            if (count >= pixels)
                return;
            last = uint8_t(value & 15);
            if (count % 2)
                line[count / 2] |= last;
            else
                line[count / 2] = uint8_t(last << 4);
            ++count;
        };
        while (left > 0 && count < pixels) {
            uint8_t b = *in++;
            --left;
            switch (b >> 6) {
            case 0:
                for (int i = 0; i < b && count < pixels; ++i)
                    put(last);
                break;
            case 1:
                for (int shift = 4; shift >= 0; shift -= 2) {
                    int delta = (b >> shift) & 3;
                    if (delta != 2)
                        put(last + twoBit[delta]);
                }
                break;
            case 2:
                for (int shift = 3; shift >= 0; shift -= 3) {
                    int delta = (b >> shift) & 7;
                    if (delta != 4)
                        put(last + threeBit[delta]);
                }
                break;
            default:
                put(b & 15);
            }
        }
        if (count > 0)
            decoded_ = lineStart + (count + 1) / 2;
    }
    source = in;
}

} // namespace vum
