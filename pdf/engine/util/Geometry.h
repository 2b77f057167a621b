#pragma once

#include <climits>
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

// The largest distance from the origin, in any length unit, that a position,
// a length or a spacing may have: far beyond every page (the largest PDF page
// is 14400 points), yet small enough that sums and differences of a few of
// them stay within 32 bits.
inline constexpr int32_t kMaxCoordinate = 1 << 24;
inline constexpr bool WithinCoordinates(int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }

// The value, or the nearest end of the 32-bit range: sums taken in 64 bits
// come back without overflowing.
inline constexpr int32_t ClampToInt32(int64_t v)
{
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

// Nearest integer, halves to the even neighbour; saturates instead of
// overflowing so that absurd inputs cannot produce undefined values.
int32_t RoundEven(double value);

// The largest rectangle with the picture's proportions inside rect, placed
// by the alignments (0 left/top, 1 right/bottom, 2 centre).
TRect FitRect(TRect rect, int32_t imageWidth, int32_t imageHeight, int horzAlign, int vertAlign);

} // namespace vum
