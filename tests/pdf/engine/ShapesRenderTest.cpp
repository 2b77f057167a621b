// Shapes and colours rendered by pdftoppm: the colour lands where drawn.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

struct Probe {
    int x, y;
    uint32_t rgb; // 0xRRGGBB
    int tolerance = 3; // per channel
};

struct ShapeCase {
    const char* name;
    std::function<void(int32_t)> draw;
    std::vector<Probe> probes;
};

void brush(int32_t h, uint32_t bgr)
{
    pdf().SetNumProp(h, VUM_BRUSH_COLOR, static_cast<int32_t>(bgr));
}

bool near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

} // namespace

TEST(PdfShapes, ColoursLandWhereTheShapesAre)
{
    const std::vector<ShapeCase> cases = {
        {"rectangle", [](int32_t h) { brush(h, 0x0000FF); pdf().Rectangle(h, 50, 50, 150, 100); },
         {{100, 75, kRed}, {160, 75, kWhite}}},
        {"ellipse", [](int32_t h) { brush(h, 0x00FF00); pdf().Ellipse(h, 300, 150, 200, 50); },
         {{250, 100, kGreen}, {204, 54, kWhite}}},
        {"round rectangle", [](int32_t h) { brush(h, 0xFF0000); pdf().RoundRect(h, 350, 50, 450, 150, 60, 60); },
         {{400, 100, kBlue}, {352, 52, kWhite}, {400, 52, kBlue}}},
        {"pie", [](int32_t h) { brush(h, 0x0000FF); pdf().Pie(h, 50, 200, 150, 300, 150, 250, 50, 250); },
         {{100, 220, kRed}, {100, 280, kWhite}}},
        {"chord", [](int32_t h) { brush(h, 0x00FF00); pdf().Chord(h, 200, 200, 300, 300, 200, 250, 300, 250); },
         {{250, 280, kGreen}, {250, 220, kWhite}}},
        {"polygon", [](int32_t h) {
             brush(h, 0xFF0000);
             pdf().AddPoint(h, 350, 300); pdf().AddPoint(h, 450, 300); pdf().AddPoint(h, 400, 200);
             pdf().Polygon(h);
         }, {{400, 280, kBlue}, {355, 210, kWhite}}},
        {"fill rect", [](int32_t h) { brush(h, 0x0000FF); pdf().FillRect(h, 50, 350, 150, 400); },
         {{100, 375, kRed}}},
        {"thick line", [](int32_t h) {
             pdf().SetNumProp(h, VUM_PEN_WIDTH, 6);
             pdf().SetNumProp(h, VUM_PEN_COLOR, 0x00FF00);
             pdf().MoveTo(h, 200, 375); pdf().LineTo(h, 300, 375);
         }, {{250, 375, kGreen}, {250, 385, kWhite}}},
        {"clear brush keeps the page", [](int32_t h) {
             brush(h, 0x0000FF);
             pdf().SetNumProp(h, VUM_BRUSH_STYLE, 1);
             pdf().Rectangle(h, 350, 350, 450, 400);
         }, {{400, 375, kWhite}}},
        {"rgb model", [](int32_t h) { pdf().SetColorEx(h, 0, 1, 255, 128, 0, 0); pdf().FillRect(h, 50, 450, 100, 500); },
         {{75, 475, 0xFF8000}}},
        {"cmyk model", [](int32_t h) { pdf().SetColorEx(h, 0, 3, 0, 100, 100, 0); pdf().FillRect(h, 150, 450, 200, 500); },
         {{175, 475, kRed, 60}}}, // the renderer manages CMYK colours
        {"grey model", [](int32_t h) { pdf().SetColorEx(h, 0, 4, 50, 0, 0, 0); pdf().FillRect(h, 250, 450, 300, 500); },
         {{275, 475, 0x808080}}},
        {"hsl model", [](int32_t h) { pdf().SetColorEx(h, 0, 2, 0, 100, 50, 0); pdf().FillRect(h, 350, 450, 400, 500); },
         {{375, 475, kRed}}},
        {"property after model", [](int32_t h) {
             pdf().SetColorEx(h, 0, 1, 255, 0, 0, 0);
             brush(h, 0xFF0000);
             pdf().FillRect(h, 450, 450, 500, 500);
         }, {{475, 475, kBlue}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        PdfHandle h;
        const std::string file = dir.file("shape.pdf");
        h.setFile(file);
        ASSERT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, 1), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        c.draw(h);
        ASSERT_EQ(lastError(), "");
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        ASSERT_EQ(qpdfProblems(file), "");
        const Raster page = renderPage(file);
        ASSERT_EQ(page.width, 595);
        for (const Probe& p : c.probes)
            EXPECT_TRUE(near(page.at(p.x, p.y), p.rgb, p.tolerance))
                << "at " << p.x << "," << p.y << std::hex << " got " << page.at(p.x, p.y) << " want " << p.rgb;
    }
}

TEST(PdfShapes, ShapeArgumentErrors)
{
    TempDir dir;
    const struct {
        const char* name;
        std::function<int32_t(int32_t)> call;
        const char* message;
    } cases[] = {
        {"ellipse without width", [](int32_t h) { return pdf().Ellipse(h, 10, 10, 10, 50); }, "Bad rectangle definition"},
        {"one-point polygon", [](int32_t h) { pdf().AddPoint(h, 1, 1); return pdf().Polygon(h); },
         "Bad parameters for method: Polygon"},
        {"empty polyline", [](int32_t h) { return pdf().Polyline(h); }, "Bad parameters for method: Polyline"},
        {"three-point bezier", [](int32_t h) {
             for (int i = 0; i < 3; ++i) pdf().AddPoint(h, i, i);
             return pdf().PolyBezier(h);
         }, "Bad parameters for method: PolyBezier"},
        {"colour target", [](int32_t h) { return pdf().SetColorEx(h, 3, 1, 0, 0, 0, 0); }, "Invalid method call: SetColorEx"},
        {"colour value", [](int32_t h) { return pdf().SetColorEx(h, 1, 1, 0, 256, 0, 0); }, "Invalid color specification: 256"},
        {"cmyk value", [](int32_t h) { return pdf().SetColorEx(h, 2, 3, 0, 0, 0, 101); }, "Invalid color specification: 101"},
        {"copy from a device", [](int32_t h) { return pdf().CopyRect(h, 0, 0, 1, 1, 5, 0, 0, 1, 1); }, "Invalid method call: CopyRect"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PdfHandle h;
        const std::string file = dir.file("bad.pdf");
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        EXPECT_EQ(c.call(h), -1);
        EXPECT_EQ(lastError(), c.message);
        EXPECT_FALSE(std::filesystem::exists(file)) << "the document was aborted";
    }
}

TEST(PdfShapes, PolygonPointsAreUsedOnceAndTwoPointsSuffice)
{
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("poly.pdf");
    h.setFile(file);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    pdf().AddPoint(h, 10, 10);
    pdf().AddPoint(h, 100, 100);
    EXPECT_EQ(pdf().Polygon(h), 0) << lastError();
    EXPECT_EQ(pdf().Polyline(h), -1) << "the buffer was emptied by the polygon";
    EXPECT_EQ(lastError(), "Bad parameters for method: Polyline");
}
