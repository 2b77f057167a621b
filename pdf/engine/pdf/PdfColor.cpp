#include "engine/pdf/PdfColor.h"

#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"

namespace vum {

void TPdfColor::Set(int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4, TColor resulting)
{
    model_ = model;
    v_[0] = v1;
    v_[1] = v2;
    v_[2] = v3;
    v_[3] = v4;
    resulting_ = resulting;
}

std::string TPdfColor::Encode(TColor bound, bool stroke, bool withOperator) const
{
    const int model = (bound == resulting_) ? model_ : 0;
    std::string text;
    const char* op = "";
    switch (model) {
    case 1:
        text = FormatPdfNumber(v_[0] / 255.0) + " " + FormatPdfNumber(v_[1] / 255.0) + " " +
               FormatPdfNumber(v_[2] / 255.0) + " ";
        op = "rg";
        break;
    case 3:
        for (int i = 0; i < 4; ++i)
            text += FormatPdfNumber(v_[i] / 100.0) + " ";
        op = "k";
        break;
    case 4:
        text = FormatPdfNumber(v_[0] / 100.0) + " ";
        op = "g";
        break;
    default: {
        const TColor rgb = ColorToRGB(bound);
        text = FormatPdfNumber(RedOf(rgb) / 255.0) + " " + FormatPdfNumber(GreenOf(rgb) / 255.0) +
               " " + FormatPdfNumber(BlueOf(rgb) / 255.0) + " ";
        op = "rg";
    }
    }
    if (withOperator)
        text += op;
    else
        text.pop_back();
    return stroke ? AsciiUpper(text) : text;
}

} // namespace vum
