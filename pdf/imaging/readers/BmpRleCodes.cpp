#include "imaging/readers/BmpRleCodes.h"

#include <algorithm>

#include "imaging/Support.h"

namespace vum {

namespace {

[[noreturn]] void invalid()
{
    RaiseGraphicError(msg::InvalidBitmap);
}

} // namespace

uint8_t TBmpRleSpan::Index(uint32_t i, int bits) const
{
    if (bits == 8)
        return stored ? stored[i] : value;
    uint8_t b = stored ? stored[i / 2] : value;
    return i % 2 ? b & 15 : b >> 4;
}

uint64_t FollowBmpRleCodes(const std::vector<uint8_t>& data, uint64_t width, uint64_t height, int bits,
                           const std::function<void(const TBmpRleSpan&)>& span)
{
    std::size_t at = 0;
    uint64_t x = 0, y = 0;
    // A code's pixels past the row's end set nothing: they are cut off in one
    // step, so codes cost what they are, not what they claim.
    auto within = [&](uint32_t count) { return x < width ? uint32_t(std::min<uint64_t>(count, width - x)) : 0u; };
    while (y < height) {
        if (at + 2 > data.size())
            invalid();   // cut off before the end-of-bitmap escape
        uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (uint32_t n = within(count))
                span({x, y, n, nullptr, value});
            x += count;
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++y;
            break;
        case 1:
            return y;
        case 2:
            if (at + 2 > data.size())
                invalid();
            x += data[at];
            y += data[at + 1];
            at += 2;
            break;
        default: {
            std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
            std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (at + bytes > data.size())
                invalid();
            if (uint32_t n = within(value))
                span({x, y, n, data.data() + at, 0});
            x += value;
            at += std::min(padded, data.size() - at);
        }
        }
    }
    return y;
}

} // namespace vum
