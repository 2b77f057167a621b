#pragma once

// The run-length codes of RLE8 and RLE4 bitmaps. A code either repeats one
// byte (a run) or copies the pixels stored after it (absolute mode); escapes
// end a row, end the bitmap or move the position on (delta). Rows are stored
// bottom row first.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vum {

// The pixels one code sets.
struct TBmpRleSpan {
    uint64_t x = 0;                   // the first pixel
    uint64_t y = 0;                   // its row, counted from the bottom
    uint32_t count = 0;               // how many pixels, none past the row's end
    const uint8_t* stored = nullptr;  // absolute mode: the pixels as stored; a run has none
    uint8_t value = 0;                // a run: its byte (RLE4: two pixels that alternate)

    // The colour index of the span's i-th pixel in a bitmap of `bits` (4 or 8) bits a pixel.
    uint8_t Index(uint32_t i, int bits) const
    {
        if (bits == 8)
            return stored ? stored[i] : value;
        uint8_t b = stored ? stored[i / 2] : value;
        return i % 2 ? b & 15 : b >> 4;
    }
};

// The codes stop before the end-of-bitmap escape: raises EInvalidGraphic.
[[noreturn]] void RaiseBmpRleCodesCut();

// Follows the codes of a picture `width` pixels wide and `height` rows high
// and hands each code's pixels within its row to `span` (a code that sets
// none is not handed on). Returns the row (from the bottom)
// at which the end-of-bitmap escape stood, or the height when the codes ran
// past the last row; raises EInvalidGraphic when the data stop before either.
// A template: a bitmap of 100 megapixels has tens of millions of codes, and
// each is handed on without a call through a pointer.
template <class SpanSink>
uint64_t FollowBmpRleCodes(const std::vector<uint8_t>& data, uint64_t width, uint64_t height, int bits,
                           SpanSink&& span)
{
    std::size_t at = 0;
    uint64_t x = 0, y = 0;
    // A code's pixels past the row's end set nothing: they are cut off in one
    // step, so codes cost what they are, not what they claim.
    auto within = [&](uint32_t count) { return x < width ? uint32_t(std::min<uint64_t>(count, width - x)) : 0u; };
    while (y < height) {
        if (at + 2 > data.size())
            RaiseBmpRleCodesCut();
        uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (uint32_t n = within(count))
                span(TBmpRleSpan{x, y, n, nullptr, value});
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
                RaiseBmpRleCodesCut();
            x += data[at];
            y += data[at + 1];
            at += 2;
            break;
        default: {
            std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
            std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (at + bytes > data.size())
                RaiseBmpRleCodesCut();
            if (uint32_t n = within(value))
                span(TBmpRleSpan{x, y, n, data.data() + at, 0});
            x += value;
            at += std::min(padded, data.size() - at);
        }
        }
    }
    return y;
}

} // namespace vum
