#include "imaging/LabToSRGB.h"

#include <cmath>

namespace vum {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Vector = std::array<double, 3>;

// Cone responses of the Bradford transform, and back.
constexpr Matrix kBradford = {{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};
constexpr Matrix kBradfordInverse = {
    {{0.9869929, -0.1470543, 0.1599627}, {0.4323053, 0.5183603, 0.0492912}, {-0.0085287, 0.0400428, 0.9684867}}};
// XYZ under D65 to linear sRGB (IEC 61966-2-1).
constexpr Matrix kXyzToSRGB = {
    {{3.2404542, -1.5371385, -0.4985314}, {-0.9692660, 1.8760108, 0.0415560}, {0.0556434, -0.2040259, 1.0572252}}};
constexpr Vector kD65 = {0.95047, 1.0, 1.08883};

Vector apply(const Matrix& m, const Vector& v)
{
    Vector r{};
    for (int i = 0; i < 3; ++i)
        r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return r;
}

Matrix multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

// Inverse of the CIE lightness function f, with its linear part near black.
double unbend(double f)
{
    constexpr double epsilon = 216.0 / 24389.0, kappa = 24389.0 / 27.0;
    double cube = f * f * f;
    return cube > epsilon ? cube : (116 * f - 16) / kappa;
}

uint8_t encode(double linear)
{
    if (!(linear > 0))
        return 0;
    if (linear >= 1)
        return 255;
    double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return uint8_t(std::lround(v * 255));
}

} // namespace

TLabToSRGB::TLabToSRGB(double whiteX, double whiteY)
{
    bool valid = whiteX > 0 && whiteY > 0 && whiteX + whiteY < 1;
    if (!valid) {
        whiteX = kD50WhiteX;
        whiteY = kD50WhiteY;
    }
    white_ = {whiteX / whiteY, 1.0, (1 - whiteX - whiteY) / whiteY};
    Vector source = apply(kBradford, white_), target = apply(kBradford, kD65);
    Matrix scale{};
    for (int i = 0; i < 3; ++i)
        scale[i][i] = target[i] / source[i];
    toLinear_ = multiply(kXyzToSRGB, multiply(kBradfordInverse, multiply(scale, kBradford)));
}

std::array<uint8_t, 3> TLabToSRGB::Convert(double L, double a, double b) const
{
    constexpr double kappa = 24389.0 / 27.0;
    double fy = (L + 16) / 116;
    double y = L > 8 ? fy * fy * fy : L / kappa;
    Vector xyz = {unbend(fy + a / 500) * white_[0], y, unbend(fy - b / 200) * white_[2]};
    Vector rgb = apply(toLinear_, xyz);
    return {encode(rgb[0]), encode(rgb[1]), encode(rgb[2])};
}

} // namespace vum
