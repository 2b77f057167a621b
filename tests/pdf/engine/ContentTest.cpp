// The operator lines that shapes put into a page's content.
#include "engine/document/PdfVum.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/VumError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace vum;

namespace {

// An open document in points on an A4 page (842 high), its content reachable.
struct OpenDocument {
    TempDir dir;
    TPdfVum doc;
    TPdfCanvas& canvas = doc.PdfCanvas();
    OpenDocument()
    {
        doc.SetLengthUnit(1);
        doc.SetFileName(dir.file("content.pdf"));
        doc.BeginDoc();
        canvas.ContentLines.clear();
    }
    const std::vector<std::string>& lines() const { return canvas.ContentLines; }
    std::string all() const
    {
        std::string text;
        for (const auto& line : canvas.ContentLines)
            text += line + "\n";
        return text;
    }
};

} // namespace

TEST(PdfContent, NothingPaintedWritesNothing)
{
    OpenDocument d;
    d.canvas.Brush.Style = bsClear;
    for (const uint8_t penStyle : {uint8_t(psClear), uint8_t(psSolid)}) {
        d.canvas.Pen.Style = penStyle;
        d.canvas.Pen.Width = penStyle == psSolid ? 0 : 1;
        d.canvas.Rectangle(10, 10, 50, 50);
        d.canvas.Ellipse(10, 10, 50, 50);
        d.canvas.RoundRect(10, 10, 50, 50, 5, 5);
        d.canvas.Pie(10, 10, 50, 50, 50, 30, 10, 30);
        d.canvas.Polygon({{1, 1}, {2, 2}});
        d.canvas.LineTo(40, 40);
    }
    EXPECT_EQ(d.all(), "");
}

TEST(PdfContent, ShapeOperators)
{
    const struct {
        const char* name;
        void (*draw)(TPdfCanvas&);
        const char* expected;
    } cases[] = {
        {"rectangle", [](TPdfCanvas& c) { c.Rectangle(110, 20, 10, 120); },
         "1 1 1 rg\n0 0 0 RG\n[]0 d\n1 w\n10 722 100 100 re B\n"},
        {"flat rectangle is a line", [](TPdfCanvas& c) { c.Rectangle(10, 20, 10, 80); },
         "0 0 0 RG\n[]0 d\n1 w\n10 822 m\n10 762 l S\n"},
        {"two-point polygon", [](TPdfCanvas& c) { c.Brush.Style = bsClear; c.Polygon({{0, 0}, {10, 42}}); },
         "0 0 0 RG\n[]0 d\n1 w\n0 842 m\n10 800 l\n0 842 l\nS\n"},
        {"fill rect", [](TPdfCanvas& c) { c.Brush.Color = RGB(0, 128, 255); c.FillRect({0, 0, 10, 10}); },
         "0 0.502 1 rg\n0 832 10 10 re f\n"},
        {"frame rect uses the brush", [](TPdfCanvas& c) { c.Brush.Color = RGB(255, 0, 0); c.FrameRect({0, 0, 10, 10}); },
         "1 0 0 RG\n[]0 d\n1 w\n0 832 10 10 re S\n"},
        {"dashed pen", [](TPdfCanvas& c) { c.Pen.Style = 1; c.Pen.Width = 3; c.Polyline({{0, 0}, {1, 1}}); },
         "0 0 0 RG\n[3 3]0 d\n3 w\n0 842 m\n1 841 l\nS\n"},
        {"bezier", [](TPdfCanvas& c) { c.PolyBezier({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}); },
         "0 0 0 RG\n[]0 d\n1 w\n0 842 m\n1 841 2 840 3 839 c\nS\n"},
        {"cmyk pen", [](TPdfCanvas& c) { c.SetColorEx(1, 3, 10, 20, 30, 40); c.LineTo(0, 1); },
         "0.1 0.2 0.3 0.4 K\n[]0 d\n1 w\n0 842 m\n0 841 l S\n"},
    };
    for (const auto& c : cases) {
        OpenDocument d;
        c.draw(d.canvas);
        EXPECT_EQ(d.all(), c.expected) << c.name;
    }
}

TEST(PdfContent, RoundRectCornersAreCutToHalfTheRectangle)
{
    OpenDocument d;
    d.canvas.Brush.Style = bsClear;
    d.canvas.RoundRect(0, 0, 40, 20, 100, 100);
    // Radii 20 x 10: the top-left quarter runs from (0, 10) to (20, 0).
    ASSERT_GE(d.lines().size(), 4u);
    EXPECT_EQ(d.lines()[3], "0 832 m 0 838 9 842 20 842 c S");
}

TEST(PdfContent, DegenerateArcsStayFinite)
{
    OpenDocument d;
    d.canvas.Arc(10, 10, 11, 11, 10, 10, 10, 10);
    d.canvas.Pie(10, 10, 11, 12, 11, 10, 10, 11);
    d.canvas.Chord(-2000000000, -2000000000, 2000000000, 2000000000, 1, 0, 0, 1);
    const std::string text = d.all();
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_LT(d.lines().size(), 400000u) << "huge arcs have a bounded number of points";
}

TEST(PdfContent, CharacterSpacingIsWrittenWhenItChangesAndOnEveryPage)
{
    OpenDocument d;
    d.canvas.SetCharacterSpacing(2);
    d.canvas.SetCharacterSpacing(2);
    EXPECT_EQ(d.all(), "2 Tc\n");
    d.doc.NewPage();
    EXPECT_EQ(d.all(), "2 Tc\n");
}

TEST(PdfContent, LiteralAndInformationStrings)
{
    EXPECT_EQ(TPdfCanvas::LiteralString("a(b)\\c"), "(a\\(b\\)\\\\c)");
    EXPECT_EQ(TPdfCanvas::LiteralString("\b\t\n\f\r"), "(\\b\\t\\n\\f\\r)");
    EXPECT_EQ(TPdfCanvas::InfoString("Ab"), "(Ab)");
    EXPECT_EQ(TPdfCanvas::InfoString("ü"), "(\xFC)");  // PDFDocEncoding when the text fits
    EXPECT_EQ(TPdfCanvas::InfoString("图ü"), "<FEFF56FE00FC>");
    EXPECT_EQ(TPdfCanvas::InfoString("😀"), "<FEFFD83DDE00>");
    EXPECT_EQ(TPdfCanvas::InfoString("\xFF"), "(\xFF)");  // a stray byte is read as Windows-1252
}

TEST(PdfContent, ImageRectPlacesPictures)
{
    TPdfVum doc;
    const TCustomVumCanvas& c = doc.Canvas();
    EXPECT_EQ(c.ImageRect({10, 20, 10, 20}, 100, 50), (TRect{10, 20, 275, 152}));
    EXPECT_EQ(c.ImageRect({0, 0, 100, 100}, 200, 100), (TRect{0, 25, 100, 75}));
    EXPECT_EQ(c.ImageRect({0, 0, 100, 100}, 0, 100), (TRect{0, 0, 100, 100}));
    doc.SetSmartStretchDraw(0);
    EXPECT_EQ(c.ImageRect({0, 0, 100, 100}, 200, 100), (TRect{0, 0, 100, 100}));
}

namespace {

// Half an em per byte; metrics chosen to give round numbers.
class FakeFont : public PdfFontResource {
public:
    explicit FakeFont(bool rightToLeft = false) : rightToLeft_(rightToLeft) {}
    int32_t FontObjectNumber() const override { return 99; }
    double AscentPerPoint() const override { return 0.8; }
    double UnderlineThickness() const override { return 0.05; }
    double UnderlinePosition() const override { return -0.1; }
    double StrikeOutThickness() const override { return 0.05; }
    double StrikeOutPosition() const override { return 0.3; }
    bool RightToLeft() const override { return rightToLeft_; }
    std::string StringOperand(const std::string& text) const override { return TPdfCanvas::LiteralString(text); }
    double TextWidth1000(const std::string& text, int32_t& counted) const override
    {
        counted = static_cast<int32_t>(text.size());
        return 500.0 * static_cast<double>(text.size());
    }

private:
    bool rightToLeft_;
};

} // namespace

TEST(PdfContent, TextLineOperators)
{
    const struct {
        const char* name;
        int32_t angle;
        uint8_t style;
        bool rightToLeft;
        const char* expected;
    } cases[] = {
        {"plain", 0, 0, false, "BT\n/F0 10 Tf\n0 0 0 rg\n100 792 Td\n(a\\(b\\)) Tj\nET\n"},
        {"turned", 90, 0, false, "BT\n/F0 10 Tf\n0 0 0 rg\n0 1 -1 0 100 792 Tm\n(a\\(b\\)) Tj\nET\n"},
        {"right to left", 0, 0, true, "BT\n/F0 10 Tf\n0 0 0 rg\n80 792 Td\n(a\\(b\\)) Tj\nET\n"},
        {"underlined", 0, fsUnderline, false,
         "BT\n/F0 10 Tf\n0 0 0 rg\n100 792 Td\n(a\\(b\\)) Tj\nET\n0 0 0 RG\n[]0 d\n0.5 w\n100 791 m 120 791 l S\n"},
    };
    for (const auto& c : cases) {
        OpenDocument d;
        d.canvas.FontResources.emplace_back("fake", std::make_unique<FakeFont>(c.rightToLeft));
        d.canvas.SetFontDegreeAngle(c.angle);
        d.canvas.Font.Style = c.style;
        d.canvas.AppendTextLine(*d.canvas.FontResources[0].second, 100, 42, "a(b)");
        EXPECT_EQ(d.all(), c.expected) << c.name;
    }
}

TEST(PdfContent, TextWidthCountsSpacingBetweenCharacters)
{
    OpenDocument d;
    FakeFont font;
    EXPECT_EQ(d.canvas.TextWidthIn(font, "abcd"), 20);
    d.canvas.SetCharacterSpacing(2);
    EXPECT_EQ(d.canvas.TextWidthIn(font, "abcd"), 26);
    EXPECT_EQ(d.canvas.TextWidthIn(font, ""), 0);
    d.doc.Abort();
    d.doc.SetLengthUnit(0);
    EXPECT_EQ(d.canvas.TextWidthIn(font, "abcd"), 71 + 6) << "tenths of a millimetre: round(20 * 254 / 72) + spacing";
}
