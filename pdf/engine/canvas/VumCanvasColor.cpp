#include "engine/canvas/VumCanvas.h"
#include "engine/recorder/VumRecorder.h"

#include "engine/util/PdfNumber.h"

namespace vum {

namespace {

int32_t CmykComponent(int32_t v, int32_t black)
{
    const int32_t c = 255 - RoundEven((double(v) + black) * 2.55);
    return c < 0 ? 0 : c;
}

} // namespace

void TCustomVumCanvas::SetColorEx(int target, int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4)
{
    if (target < 0 || target > 2)
        RaiseMethodError("Invalid method call", "SetColorEx");
    const int32_t values[4] = {v1, v2, v3, v4};
    auto check = [&](int count, int32_t high) {
        for (int i = 0; i < count; ++i)
            if (values[i] < 0 || values[i] > high)
                RaiseMethodError("Invalid color specification", IntText(values[i]));
    };
    TColor color = ColorBlack;
    switch (model) {
    case 0:
        color = static_cast<TColor>(v1);
        break;
    case 1:
        check(3, 255);
        color = RGB(uint8_t(v1), uint8_t(v2), uint8_t(v3));
        break;
    case 2:
        check(3, 100);
        color = HslToRgb(v1, v2, v3);
        break;
    case 3:
        check(4, 100);
        color = RGB(uint8_t(CmykComponent(v1, v4)), uint8_t(CmykComponent(v2, v4)),
                    uint8_t(CmykComponent(v3, v4)));
        break;
    case 4: {
        check(1, 100);
        const auto g = static_cast<uint8_t>(RoundEven(v1 * 255.0 / 101));
        color = RGB(g, g, g);
        break;
    }
    default:
        // No colour is defined for other models: leave the object as it is.
        return;
    }
    (target == 0 ? Brush.Color : target == 1 ? Pen.Color : Font.Color) = color;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opSetColorEx);
        recorder->WriteByte(static_cast<uint8_t>(target + 1));
        recorder->WriteByte(static_cast<uint8_t>(model));
        recorder->WriteIntegers({v1, v2, v3, v4});
    }
}

} // namespace vum
