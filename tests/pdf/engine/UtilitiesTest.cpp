// Engine helpers: colours, geometry, lists, encodings, numbers, counters,
// output names.
#include "engine/canvas/VumCanvas.h"
#include "engine/document/PdfVum.h"
#include "engine/util/Ascii85.h"
#include "engine/util/Colors.h"
#include "engine/util/Geometry.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>

using namespace vum;

TEST(PdfUtilities, ParseColor)
{
    EXPECT_EQ(ParseColor("255, 128 ,0"), RGB(255, 128, 0));
    EXPECT_EQ(ParseColor("red"), RGB(255, 0, 0));
    EXPECT_EQ(ParseColor("NAVY"), RGB(0, 0, 128));
    EXPECT_EQ(ParseColor(""), ColorBlack);
    EXPECT_EQ(ParseColor("BtnFace"), SystemColorFlag | 15);
    const struct { const char* text; const char* message; } bad[] = {
        {"300,0,0", "Invalid color specification:300,0,0,"},
        {"1,2", "Invalid color specification:"},
        {"1,x,3", "Invalid color specification:x,3,"},
        {"chartreuse", "'clchartreuse' is not a valid integer value"},
    };
    for (const auto& b : bad) {
        try {
            ParseColor(b.text);
            ADD_FAILURE() << b.text;
        } catch (const VumError& e) {
            EXPECT_EQ(std::string(e.what()), b.message);
        }
    }
}

TEST(PdfUtilities, FitRect)
{
    const struct { TRect in; int w, h, ha, va; TRect out; } cases[] = {
        {{0, 0, 100, 100}, 200, 100, 2, 2, {0, 25, 100, 75}},
        {{0, 0, 100, 100}, 200, 100, 2, 1, {0, 50, 100, 100}},
        {{0, 0, 100, 100}, 100, 200, 1, 0, {50, 0, 100, 100}},
        {{0, 0, 100, 100}, 0, 200, 2, 2, {0, 0, 100, 100}},
        {{10, 10, 10, 50}, 100, 200, 2, 2, {10, 10, 10, 50}},
        {{0, 0, 100, 100}, 200, 100, 7, 7, {0, 0, 100, 100}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitRect(c.in, c.w, c.h, c.ha, c.va), c.out) << c.w << "x" << c.h << " " << c.ha << c.va;
}

TEST(PdfUtilities, ListsAndText)
{
    EXPECT_EQ(SplitList("a;b;;c", ';'), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitList("a", ';'), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitList("a;b\r\nc", ';'), (std::vector<std::string>{"a;b", "c"}));
    EXPECT_TRUE(SplitList("", ';').empty());
    EXPECT_EQ(AlignmentFromText("center"), 2);
    EXPECT_EQ(AlignmentFromText("Right"), 1);
    EXPECT_EQ(AlignmentFromText("middle"), 0);
    EXPECT_TRUE(IsUrl("HTTPS://x"));
    EXPECT_TRUE(IsUrl("ftp://x"));
    EXPECT_FALSE(IsUrl("file:///x"));
    EXPECT_FALSE(IsUrl("http:/x"));
}

TEST(PdfUtilities, Ascii85)
{
    const struct { std::string in; std::string out; } cases[] = {
        {std::string(4, '\0'), "z~>"},
        {"", "~>"},
        {"Man ", "9jqo^~>"},
        {"Man", "9jqo~>"},
        {std::string(5, '\0'), "z!!~>"},
        {"\xFF\xFF\xFF\xFF", "s8W-!~>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ascii85Encode(c.in), c.out);
}

TEST(PdfUtilities, NumbersAreLocaleFreeAndFinite)
{
    const char* comma = std::setlocale(LC_ALL, "de_DE.UTF-8");
    const struct { double in; const char* out; } cases[] = {
        {2, "2"}, {1.23456, "1.235"}, {0.5, "0.5"}, {-0.0001, "0"}, {-2.5, "-2.5"},
        {1e6, "1000000"}, {std::nan(""), "0"}, {HUGE_VAL, "0"}, {-HUGE_VAL, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPdfNumber(c.in), c.out) << c.in << (comma ? " (comma locale)" : "");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(3.5), 4);
    EXPECT_EQ(RoundEven(-0.5), 0);
    EXPECT_EQ(RoundEven(1e300), INT32_MAX);
}

TEST(PdfUtilities, HslToRgb)
{
    EXPECT_EQ(HslToRgb(0, 100, 50), RGB(255, 0, 0));
    EXPECT_EQ(HslToRgb(33, 0, 100), RGB(255, 255, 255));
    EXPECT_EQ(HslToRgb(77, 0, 0), RGB(0, 0, 0));
}

TEST(PdfUtilities, CounterTexts)
{
    const struct { int format; int32_t page; const char* text; } cases[] = {
        {4, 14, "N"}, {6, 14, "XIV"}, {7, 14, "xiv"}, {1, 7, "07"}, {2, 7, "007"},
        {4, 27, "AA"}, {5, 28, "ab"}, {0, 3, "3"}, {6, 4, "IV"}, {6, 9, "IX"}, {9, 3, ""},
    };
    for (const auto& c : cases) {
        TPdfVum doc;
        doc.SetFileName("/nonexistent-folder/x.pdf");
        doc.Canvas().SetEnableOutput(0);
        doc.BeginDoc();
        for (int32_t page = 1; page < c.page; ++page)
            doc.NewPage();
        doc.SetPageNumberFormat(static_cast<uint8_t>(c.format), 0);
        EXPECT_EQ(doc.CounterText(1), c.text) << "format " << c.format << " page " << c.page;
        EXPECT_EQ(doc.CounterValue(7), c.page % 2 ? (c.page + 1) / 2 : 0);
    }
}

TEST(PdfUtilities, TotalsCountFinishedPagesAndSections)
{
    TempDir dir;
    TPdfVum doc;
    doc.SetFileName(dir.file("count.pdf"));
    doc.BeginDoc();
    doc.NewPage();
    doc.NewSection(0, true);
    EXPECT_EQ(doc.CounterValue(1), 3);
    EXPECT_EQ(doc.CounterValue(2), 2) << "pages finished so far";
    EXPECT_EQ(doc.CounterValue(3), 1);
    EXPECT_EQ(doc.CounterValue(4), 0);
    EXPECT_EQ(doc.CounterValue(5), 2);
    EXPECT_EQ(doc.CounterValue(6), 2);
    EXPECT_EQ(doc.CounterValue(8), 1);
    EXPECT_EQ(doc.CounterValue(128 + 1), 3) << "kinds are taken modulo 128";
    doc.EndDoc();
    EXPECT_EQ(doc.PageCount(), 3);
}

namespace {

// Works in a folder of its own (not the test program's) while in scope.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(old_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path old_;
};

} // namespace

TEST(PdfUtilities, OutputFileNames)
{
    // Relative names are taken from the working folder, never the program's.
    TempDir work;
    InFolder in(work.path());
    const struct { const char* fileName; const char* title; const char* expected; } cases[] = {
        {"", "a/b:c?", "a_b_c_.pdf"},
        {"", "", "File.pdf"},
        {"report.jpg", "", "report.pdf"},
        {"report.txt", "", "report.txt.pdf"},
        {"report.", "", "report.pdf"},
        {"report.jp", "", "report.pdf"},
        {"report.PDF", "", "report.PDF"},
        {"sub.d/report", "", "sub.d/report.pdf"},
        {"/tmp/dir.x/report", "", "/tmp/dir.x/report.pdf"},
    };
    for (const auto& c : cases) {
        TPdfVum doc;
        doc.SetFileName(c.fileName);
        doc.SetTitle(c.title);
        const std::string name = doc.MakeOutputFileName({}, {}, ".pdf", ".pdf");
        if (std::string(c.expected).starts_with("/"))
            EXPECT_EQ(name, c.expected);
        else
            EXPECT_EQ(name, work.file(c.expected)) << c.fileName;
    }
}
