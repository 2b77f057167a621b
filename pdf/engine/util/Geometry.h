#pragma once

#include <cstdint>

namespace vum {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// Nearest integer, halves to the even neighbour; saturates instead of
// overflowing so that absurd inputs cannot produce undefined values.
int32_t RoundEven(double value);

// The largest rectangle with the picture's proportions inside rect, placed
// by the alignments (0 left/top, 1 right/bottom, 2 centre).
TRect FitRect(TRect rect, int32_t imageWidth, int32_t imageHeight, int horzAlign, int vertAlign);

} // namespace vum
