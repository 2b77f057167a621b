#pragma once

// The run-length codes of RLE8 and RLE4 bitmaps. A code either repeats one
// byte (a run) or copies the pixels stored after it (absolute mode); escapes
// end a row, end the bitmap or move the position on (delta). Rows are stored
// bottom row first.
#include <cstdint>
#include <functional>
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
    uint8_t Index(uint32_t i, int bits) const;
};

// Follows the codes of a picture `width` pixels wide and `height` rows high
// and hands each code's pixels within its row to `span` (a code that sets
// none is not handed on). Returns the row (from the bottom)
// at which the end-of-bitmap escape stood, or the height when the codes ran
// past the last row; raises EInvalidGraphic when the data stop before either.
uint64_t FollowBmpRleCodes(const std::vector<uint8_t>& data, uint64_t width, uint64_t height, int bits,
                           const std::function<void(const TBmpRleSpan&)>& span);

} // namespace vum
