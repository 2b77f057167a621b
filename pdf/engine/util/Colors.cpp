#include "engine/util/Colors.h"

#include "engine/util/Geometry.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vum {
namespace {

struct NamedColor {
    const char* name;
    TColor value;
};

constexpr TColor Sys(uint32_t index) { return SystemColorFlag | index; }

constexpr std::array<NamedColor, 42> kNamedColors{{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000}, {"clPurple", 0x800080},
    {"clTeal", 0x808000}, {"clGray", 0x808080}, {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", Sys(0)}, {"clBackground", Sys(1)}, {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)}, {"clMenu", Sys(4)}, {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)}, {"clMenuText", Sys(7)}, {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)}, {"clActiveBorder", Sys(10)}, {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)}, {"clHighlight", Sys(13)}, {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)}, {"clBtnShadow", Sys(16)}, {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)}, {"clInactiveCaptionText", Sys(19)}, {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)}, {"cl3DLight", Sys(22)}, {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)}, {"clNone", ColorNone},
}};

// The classic desktop palette, by system-colour index.
constexpr std::array<TColor, 25> kSystemColors{{
    RGB(200, 200, 200), RGB(0, 0, 0), RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0), RGB(0, 0, 0), RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(0, 120, 215), RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0), RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225),
}};

uint8_t TakeComponent(std::string& rest)
{
    const auto comma = rest.find(',');
    if (comma == std::string::npos)
        throw VumError("Invalid color specification:" + rest);
    const std::string part = Trim(rest.substr(0, comma));
    int value = -1;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() || value < 0 || value > 255)
        throw VumError("Invalid color specification:" + rest);
    rest.erase(0, comma + 1);
    return static_cast<uint8_t>(value);
}

double HueComponent(double p, double q, double t)
{
    if (t < 0) t += 1;
    else if (t > 1) t -= 1;
    if (6 * t < 1) return p + (q - p) * 6 * t;
    if (2 * t < 1) return q;
    if (3 * t < 2) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color & SystemColorFlag) {
        const uint32_t index = color & 0xFF;
        return index < kSystemColors.size() ? kSystemColors[index] : ColorBlack;
    }
    return color;
}

TColor ParseColor(const std::string& text)
{
    if (text.empty())
        return ColorBlack;
    if (static_cast<unsigned char>(AsciiUpper(text.substr(0, 1))[0]) < 'A') {
        std::string rest = text + ",";
        const uint8_t r = TakeComponent(rest);
        const uint8_t g = TakeComponent(rest);
        const uint8_t b = TakeComponent(rest);
        return RGB(r, g, b);
    }
    const std::string ident = "cl" + text;
    for (const auto& named : kNamedColors)
        if (SameTextAscii(named.name, ident))
            return named.value;
    throw VumError("'" + ident + "' is not a valid integer value");
}

TColor HslToRgb(int32_t hue, int32_t saturation, int32_t lightness)
{
    const double l = lightness / 100.0;
    const double s = saturation / 100.0;
    if (s == 0) {
        const auto grey = static_cast<uint8_t>(RoundEven(l * 255));
        return RGB(grey, grey, grey);
    }
    const double q = l > 0.5 ? l + s - l * s : l * (1 + s);
    const double p = 2 * l - q;
    const double h = hue / 100.0;
    auto channel = [&](double t) {
        return static_cast<uint8_t>(std::clamp(RoundEven(255 * HueComponent(p, q, t)), 0, 255));
    };
    return RGB(channel(h + 1.0 / 3), channel(h), channel(h - 1.0 / 3));
}

} // namespace vum
