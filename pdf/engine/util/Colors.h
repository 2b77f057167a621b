#pragma once

#include <cstdint>
#include <string>

namespace vum {

// 0x00BBGGRR, or a system-colour constant (0x80000000 | index), or ColorNone.
using TColor = uint32_t;

constexpr TColor ColorBlack = 0x000000;
constexpr TColor ColorWhite = 0xFFFFFF;
constexpr TColor ColorNone = 0x1FFFFFFF;
constexpr TColor SystemColorFlag = 0x80000000;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// System colours are replaced by the RGB value they stand for on a standard
// desktop; every other value is returned as it is.
TColor ColorToRGB(TColor color);

// "r, g, b" in decimal, or a colour name ("red", "BtnFace", "None").
// Fails with "Invalid color specification:<rest>" or for an unknown name.
TColor ParseColor(const std::string& text);

// Hue, saturation and lightness in hundredths.
TColor HslToRgb(int32_t hue, int32_t saturation, int32_t lightness);

} // namespace vum
