// One line of text on the page, and its width, in the current font.
#include "engine/document/VumDocument.h"
#include "engine/fonts/PdfTextFonts.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"

#include <cmath>
#include <cstdlib>

namespace vum {

void TPdfCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    TCustomVumCanvas::TextOut(x, y, text);
    if (!Guard())
        return;
    PdfTextFonts& fonts = TextFonts();
    const std::vector<PdfTextFonts::Run> runs = fonts.Runs(Font, text);
    const double size = std::abs(double(Font.Size));
    double left = x;
    if (runs.front().Font->RightToLeft())
        left -= TextWidth(text);
    const double px = ToPoints(left);
    const double py = FlipY(y) - size * fonts.AscentPerPoint(Font);
    const double t = FontRadians();
    const std::string n = FormatPdfNumber(px) + " " + FormatPdfNumber(py);
    const std::string sizeText = std::string(" ").append(FormatPdfNumber(size)).append(" Tf");
    ContentLines.push_back("BT");
    ContentLines.push_back("/F" + IntText(FontIndex(*runs.front().Font)) + sizeText);
    ContentLines.push_back(FontColorEncoder.Encode(Font.Color, false));
    // Italic asked of a face without an italic design: the glyphs are slanted
    // by 12 degrees, as an oblique face would be.
    const double slant = runs.front().FakeItalic ? 0.2126 : 0.0;
    if (FontDegreeAngle() != 0 || slant != 0)
        ContentLines.push_back(FormatPdfNumber(std::cos(t)) + " " + FormatPdfNumber(std::sin(t)) + " " +
                               FormatPdfNumber(slant * std::cos(t) - std::sin(t)) + " " +
                               FormatPdfNumber(std::cos(t) + slant * std::sin(t)) + " " + n + " Tm");
    else
        ContentLines.push_back(n + " Td");
    bool fakeBold = false;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (i > 0)
            ContentLines.push_back("/F" + IntText(FontIndex(*runs[i].Font)) + sizeText);
        if (runs[i].FakeBold != fakeBold) {
            // A face without a bold design is emboldened by outlining its
            // glyphs in the text colour as well as filling them.
            fakeBold = runs[i].FakeBold;
            if (fakeBold) {
                ContentLines.push_back(FontColorEncoder.Encode(Font.Color, true));
                ContentLines.push_back(FormatPdfNumber(size / 30) + " w");
            }
            ContentLines.push_back(fakeBold ? "2 Tr" : "0 Tr");
        }
        ContentLines.push_back(runs[i].Operand + " Tj");
    }
    if (fakeBold)
        ContentLines.push_back("0 Tr");
    ContentLines.push_back("ET");
    if (Font.Style & (fsUnderline | fsStrikeOut)) {
        PdfFontResource& font = *runs.front().Font;
        const double width = ToPoints(TextWidth(text));
        if (Font.Style & fsUnderline)
            TextDecoration(font.UnderlineThickness(), font.UnderlinePosition(), size, px, py, width);
        if (Font.Style & fsStrikeOut)
            TextDecoration(font.StrikeOutThickness(), font.StrikeOutPosition(), size, px, py, width);
    }
}

void TPdfCanvas::AppendTextLine(PdfFontResource& font, int32_t x, int32_t y, const std::string& text)
{
    const double size = std::abs(double(Font.Size));
    double left = x;
    if (font.RightToLeft())
        left -= TextWidthIn(font, text);
    const double px = ToPoints(left);
    const double py = FlipY(y) - size * font.AscentPerPoint();
    const double t = FontRadians();
    const std::string n = FormatPdfNumber(px) + " " + FormatPdfNumber(py);
    ContentLines.push_back("BT");
    ContentLines.push_back("/F" + IntText(FontIndex(font)) + " " + FormatPdfNumber(size) + " Tf");
    ContentLines.push_back(FontColorEncoder.Encode(Font.Color, false));
    if (FontDegreeAngle() != 0)
        ContentLines.push_back(FormatPdfNumber(std::cos(t)) + " " + FormatPdfNumber(std::sin(t)) + " " +
                               FormatPdfNumber(-std::sin(t)) + " " + FormatPdfNumber(std::cos(t)) + " " + n + " Tm");
    else
        ContentLines.push_back(n + " Td");
    ContentLines.push_back(font.StringOperand(text) + " Tj");
    ContentLines.push_back("ET");
    if (Font.Style & (fsUnderline | fsStrikeOut)) {
        const double width = ToPoints(TextWidthIn(font, text));
        if (Font.Style & fsUnderline)
            TextDecoration(font.UnderlineThickness(), font.UnderlinePosition(), size, px, py, width);
        if (Font.Style & fsStrikeOut)
            TextDecoration(font.StrikeOutThickness(), font.StrikeOutPosition(), size, px, py, width);
    }
}

void TPdfCanvas::TextDecoration(double thickness, double position, double size, double x, double y,
                                double width)
{
    const double t = FontRadians();
    const double p = position * size;
    const double x1 = x - std::sin(t) * p, y1 = y + std::cos(t) * p;
    const double x2 = x1 + std::cos(t) * width, y2 = y1 + std::sin(t) * width;
    ContentLines.push_back(FontColorEncoder.Encode(Font.Color, true));
    ContentLines.push_back("[]0 d");
    ContentLines.push_back(FormatPdfNumber(thickness * size) + " w");
    ContentLines.push_back(FormatPdfNumber(x1) + " " + FormatPdfNumber(y1) + " m " + FormatPdfNumber(x2) +
                           " " + FormatPdfNumber(y2) + " l S");
}

int32_t TPdfCanvas::TextWidth(const std::string& text)
{
    if (!Guard())
        return 1;
    int32_t counted = 0;
    const double points = TextFonts().Width1000(Font, text, counted) * std::abs(double(Font.Size)) / 1000;
    const int32_t units = Document().LengthUnit() == 1 ? RoundEven(points) : RoundEven(points * 254 / 72);
    return ClampToInt32(int64_t(units) + int64_t(CharacterSpacing()) * (counted > 1 ? counted - 1 : 0));
}

void TPdfCanvas::PrefixTextWidths(const std::u32string& text, size_t begin,
                                  const std::function<bool(size_t, int32_t)>& each)
{
    if (!Guard()) {
        for (size_t k = 1; begin + k <= text.size(); ++k)
            if (!each(k, 1))
                return;
        return;
    }
    const double size = std::abs(double(Font.Size));
    const bool points = Document().LengthUnit() == 1;
    const int32_t spacing = CharacterSpacing();
    TextFonts().PrefixWidths1000(Font, text, begin, [&](size_t k, double width, int32_t counted) {
        const double p = width * size / 1000;
        const int32_t units = points ? RoundEven(p) : RoundEven(p * 254 / 72);
        return each(k, ClampToInt32(int64_t(units) + int64_t(spacing) * (counted > 1 ? counted - 1 : 0)));
    });
}

int32_t TPdfCanvas::TextWidthIn(const PdfFontResource& font, const std::string& text) const
{
    int32_t counted = 0;
    const double points = font.TextWidth1000(text, counted) * std::abs(double(Font.Size)) / 1000;
    const int32_t units = Document().LengthUnit() == 1 ? RoundEven(points) : RoundEven(points * 254 / 72);
    return ClampToInt32(int64_t(units) + int64_t(CharacterSpacing()) * (counted > 1 ? counted - 1 : 0));
}

} // namespace vum
