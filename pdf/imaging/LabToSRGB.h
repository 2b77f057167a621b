#pragma once

// CIE L*a*b* colours, relative to the white of the picture they come from, as
// sRGB bytes: Lab to XYZ, Bradford adaptation to D65, the sRGB primaries and
// the sRGB transfer curve.
#include <array>
#include <cstdint>

namespace vum {

// The white of ICC profiles, Photoshop and TIFF files that name none (x, y).
inline constexpr double kD50WhiteX = 0.3457, kD50WhiteY = 0.3585;

class TLabToSRGB {
public:
    // The white point as CIE xy chromaticity; values no white can have give D50.
    explicit TLabToSRGB(double whiteX = kD50WhiteX, double whiteY = kD50WhiteY);

    // L* 0..100, a* and b* about -128..127; out of gamut colours are clipped.
    std::array<uint8_t, 3> Convert(double L, double a, double b) const;

private:
    std::array<double, 3> white_{};                  // XYZ with Y = 1
    std::array<std::array<double, 3>, 3> toLinear_{};   // XYZ under the white to linear sRGB
};

} // namespace vum
