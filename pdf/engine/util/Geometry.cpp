#include "engine/util/Geometry.h"

#include <cmath>
#include <limits>

namespace vum {

int32_t RoundEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

TRect FitRect(TRect rect, int32_t imageWidth, int32_t imageHeight, int horzAlign, int vertAlign)
{
    const double dx = double(rect.Right) - rect.Left;
    const double dy = double(rect.Bottom) - rect.Top;
    if (imageWidth == 0 || imageHeight == 0 || dx == 0 || dy == 0)
        return rect;
    const double sx = dx / imageWidth;
    const double sy = dy / imageHeight;
    int32_t w, h;
    if (sy >= sx) {
        w = RoundEven(dx);
        h = RoundEven(sx * imageHeight);
    } else {
        w = RoundEven(sy * imageWidth);
        h = RoundEven(dy);
    }
    switch (horzAlign) {
    case 0: rect.Right = rect.Left + w; break;
    case 1: rect.Left = rect.Right - w; break;
    case 2:
        rect.Left += RoundEven((dx - w) / 2);
        rect.Right = rect.Left + w;
        break;
    default: break;
    }
    switch (vertAlign) {
    case 0: rect.Bottom = rect.Top + h; break;
    case 1: rect.Top = rect.Bottom - h; break;
    case 2:
        rect.Top += RoundEven((dy - h) / 2);
        rect.Bottom = rect.Top + h;
        break;
    default: break;
    }
    return rect;
}

} // namespace vum
