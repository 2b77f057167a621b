// Colour effects of the bitmap surface. Every effect walks the 3 x W pixel
// bytes of each row and never the row padding, so that widths which are not a
// multiple of 4 keep their channels apart. Pixels are counted in memory order
// (bottom row first); "the next pixel" of a row's last pixel is the first of
// the row above in memory, so for widths that are multiples of 4 the results
// equal a flat walk over the whole memory.
#include "processing/CDIB.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Layout {
    size_t S;   // row stride
    size_t W;   // pixels per row
    size_t count;  // pixels in all
    size_t off(size_t p) const { return (p / W) * S + 3 * (p % W); }
};

int roundEven(double v) { return int(std::nearbyint(v)); }

} // namespace

template <typename F> void CDIB::forEachPixel(F&& f)
{
    for (int32_t r = 0; r < height_; ++r) {
        uint8_t* row = bits_.get() + size_t(r) * stride_;
        for (int32_t c = 0; c < width_; ++c) {
            uint8_t* px = row + 3 * size_t(c);
            f(px[0], px[1], px[2]);
        }
    }
}

void CDIB::ShiftColors(int32_t addRed, int32_t addGreen, int32_t addBlue)
{
    forEachPixel([&](uint8_t& B, uint8_t& G, uint8_t& R) {
        B = ClampByte(B + addBlue);
        G = ClampByte(G + addGreen);
        R = ClampByte(R + addRed);
    });
}

void CDIB::ShiftColorsEx(int32_t addRed, int32_t addGreen, int32_t addBlue, int32_t ExCol)
{
    forEachPixel([&](uint8_t& B, uint8_t& G, uint8_t& R) {
        if (R + 256 * G + 65536 * B == ExCol)
            return;
        B = ClampByte(B + addBlue);
        G = ClampByte(G + addGreen);
        R = ClampByte(R + addRed);
    });
}

void CDIB::FilterOutColors(bool red, bool green, bool blue)
{
    // A channel whose flag is off is pushed to 0; one whose flag is on keeps its value.
    ShiftColors(red ? 0 : -255, green ? 0 : -255, blue ? 0 : -255);
}

void CDIB::ExchangeRGB(int32_t Oper)
{
    forEachPixel([&](uint8_t& B, uint8_t& G, uint8_t& R) {
        const uint8_t b = B, g = G, r = R;
        if (Oper == 1) { B = g; G = r; R = b; }
        else if (Oper == 2) { B = r; G = b; R = g; }
        else if (Oper == 3) { B = r; R = b; }
    });
}

void CDIB::FlipHorZ()
{
    // Mirrors the W pixels of every row exactly, whatever the width.
    for (int32_t r = 0; r < height_; ++r) {
        uint8_t* row = bits_.get() + size_t(r) * stride_;
        for (int32_t a = 0, b = width_ - 1; a < b; ++a, --b)
            for (int c = 0; c < 3; ++c)
                std::swap(row[3 * a + c], row[3 * b + c]);
    }
}

void CDIB::FlipVert()
{
    if (!bits_)
        return;
    std::vector<uint8_t> tmp(stride_);
    for (int32_t a = 0, b = height_ - 1; a < b; ++a, --b) {
        uint8_t* ra = bits_.get() + size_t(a) * stride_;
        uint8_t* rb = bits_.get() + size_t(b) * stride_;
        std::memcpy(tmp.data(), ra, stride_);
        std::memcpy(ra, rb, stride_);
        std::memcpy(rb, tmp.data(), stride_);
    }
}

void CDIB::FastRot()
{
    FlipVert();
    FlipHorZ();
}

void CDIB::Greyscale()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        const uint8_t g = uint8_t((B + G + R) / 3);
        B = G = R = g;
    });
}

void CDIB::InvertColors()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        B = 255 - B;
        G = 255 - G;
        R = 255 - R;
    });
}

void CDIB::Monochrome(uint8_t Threshold)
{
    forEachPixel([&](uint8_t& B, uint8_t& G, uint8_t& R) {
        const int a = (B + G + R) / 3;
        B = G = R = a < Threshold ? 0 : 255;
    });
}

void CDIB::ScanLines(uint8_t Percent)
{
    if (Percent == 0 || !bits_)
        return;
    const int k = roundEven(100.0 / Percent);
    if (k <= 0)
        return;  // 200 % and more would be a step of 0: nothing to blacken
    for (int32_t r = 0; r < height_; r += k)
        std::memset(bits_.get() + size_t(r) * stride_, 0, stride_);
}

void CDIB::Flame()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        const int a = (B + G + R) / 3;
        R = ClampByte(R + a);
        B = ClampByte(B - a);
    });
}

void CDIB::PurpleStain()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = ClampByte(G + R / 2);
        G = ClampByte(B + G / 2);
        B = ClampByte(R + B / 2);
    });
}

void CDIB::Brown()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = ClampByte(B * G / 256);
        G = ClampByte(B * R / 256);
        B = ClampByte(G * R / 256);
    });
}

void CDIB::NightShade()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = ClampByte(std::abs(R - 64));
        G = ClampByte(std::abs(R - 64));
        B = ClampByte(std::abs(R - 64));
    });
}

void CDIB::Spooky()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        G = ClampByte(R + G / 2);
        B = ClampByte(R + B / 2);
    });
}

void CDIB::Freeze(bool Strong)
{
    const float f = Strong ? 1.8f : 1.5f;
    forEachPixel([&](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = ClampByte(roundEven(std::abs(f * (R - G - B))));
        G = ClampByte(roundEven(std::abs(f * (G - B - R))));
        B = ClampByte(roundEven(std::abs(f * (B - G - R))));
    });
}

void CDIB::Aqua()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = uint8_t(roundEven(ClampByte((G - B) * (G - B)) * 0.008));
        G = ClampByte(roundEven((R - B) * (R - B) * 0.008));
        B = ClampByte(roundEven((R - G) * (R - G) * 0.008));
    });
}

void CDIB::Psycho()
{
    forEachPixel([](uint8_t& B, uint8_t& G, uint8_t& R) {
        R = ClampByte(roundEven(std::abs((R - G - B) * 1.2)));
        G = ClampByte(roundEven(std::abs((G - B - R) * 1.4)));
        B = ClampByte(roundEven(std::abs((B - G - R) * 1.6)));
    });
}

// Effects with neighbours: the pixel range and the neighbours are counted in
// pixels (p - 1, p + 1, p +- W), which equals the flat byte walk of a surface
// without padding.
void CDIB::FastBlur()
{
    if (!bits_ || width_ < 1)
        return;
    const Layout L{stride_, size_t(width_), size_t(width_) * size_t(height_)};
    if (L.count < 2 * L.W + 3)
        return;
    const std::vector<uint8_t> o(bits_.get(), bits_.get() + size_);
    uint8_t* v = bits_.get();
    for (size_t p = L.W + 1; p + L.W + 2 <= L.count; ++p) {
        const size_t k = L.off(p), up = L.off(p + L.W), down = L.off(p - L.W);
        const size_t left = L.off(p - 1), right = L.off(p + 1);
        for (int c = 0; c < 3; ++c)
            v[k + c] = uint8_t((o[down + c] + o[left + c] + o[right + c] + o[up + c] + 2 * o[k + c]) / 6);
    }
}

void CDIB::Sharpen()
{
    if (!bits_ || width_ < 1)
        return;
    const Layout L{stride_, size_t(width_), size_t(width_) * size_t(height_)};
    uint8_t* v = bits_.get();
    // The neighbour one row further in memory and one pixel on, still unchanged.
    for (size_t p = 0; p + L.W + 2 <= L.count; ++p) {
        const size_t k = L.off(p), n = L.off(p + L.W + 1);
        for (int c = 0; c < 3; ++c)
            v[k + c] = ClampByte(2 * v[k + c] - v[n + c]);
    }
}

void CDIB::MakeEmboss(int32_t embFactor, bool Extended, bool useGreyscale)
{
    if (!bits_ || width_ < 1)
        return;
    const Layout L{stride_, size_t(width_), size_t(width_) * size_t(height_)};
    const size_t D = Extended ? L.W + 1 : 1;
    uint8_t* v = bits_.get();
    for (size_t p = 0; p + D < L.count; ++p) {
        const size_t i = L.off(p), j = L.off(p + D);
        int t[3];
        for (int c = 2; c >= 0; --c)
            t[c] = ClampByte(embFactor + v[i + c] - v[j + c]);
        if (useGreyscale) {
            const uint8_t g = uint8_t((t[0] + t[1] + t[2]) / 3);
            v[i] = v[i + 1] = v[i + 2] = g;
        } else {
            for (int c = 2; c >= 0; --c)
                v[i + c] = uint8_t(t[c]);
        }
    }
}
