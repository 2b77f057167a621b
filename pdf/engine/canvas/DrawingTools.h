#pragma once

#include "engine/util/Colors.h"

#include <cstdint>
#include <string>

namespace vum {

// Style bits of TVumFont::Style.
enum FontStyleBit : uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

struct TVumFont {
    std::string Name = "Arial";
    int32_t Size = 10;         // points
    TColor Color = ColorBlack;
    uint8_t Charset = 1;       // Windows character-set code; 1 = the system's default
    uint8_t Style = 0;         // FontStyleBit flags
    bool operator==(const TVumFont&) const = default;
};

// 0 solid, 1 clear, 2-7 hatches.
enum BrushStyle : uint8_t { bsSolid = 0, bsClear = 1 };
struct TVumBrush {
    TColor Color = ColorWhite;
    uint8_t Style = bsSolid;
    bool operator==(const TVumBrush&) const = default;
};

// 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 clear, 6 inside frame.
enum PenStyle : uint8_t { psSolid = 0, psClear = 5 };
struct TVumPen {
    TColor Color = ColorBlack;
    uint8_t Style = psSolid;
    int32_t Width = 1;
    bool operator==(const TVumPen&) const = default;
};

} // namespace vum
