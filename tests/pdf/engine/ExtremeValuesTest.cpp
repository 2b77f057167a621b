// Every export that takes numbers, called with the extremes of int32 on an
// open document: the library either does the call or refuses it with a
// message of its own, and the document goes on to a sound file either way.
// (The sanitizer build also turns any overflow on the way into a crash.)
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>

namespace {

using Call = std::function<int32_t(int32_t h, int32_t v)>;

struct ExtremeCase {
    const char* name;
    Call call;
};

// A 2x2 24-bit bitmap that the picture cases place, written once per process.
const char* picturePath()
{
    static const std::string path = [] {
        static TempDir dir;
        const std::string file = dir.file("p.bmp");
        writeFile(file, std::string("BM") + std::string("\x46\0\0\0\0\0\0\0\x36\0\0\0", 12) +
                            std::string("\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0", 24) +
                            std::string(16, '\0') + std::string(16, '\x7F'));
        return file;
    }();
    return path.c_str();
}

// -v, except that the smallest value stays the largest negative one can name.
int32_t neg(int32_t v)
{
    return v == INT32_MIN ? INT32_MAX : -v;
}

const int32_t kExtremes[] = {INT32_MIN, INT32_MIN + 1, -(1 << 30), -(1 << 24), -65536, 65536, 1 << 24, 1 << 30, INT32_MAX};

const char* const kText = "Extreme 文字 text, with words to wrap over the lines\r\nand a second one";

// A document with a page open, Arial and a style with a numbered bullet.
void openDocument(const PdfHandle& h, const std::string& file)
{
    h.setFile(file);
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    h.setStr(VUM_FONT_NAME, "Arial");
}

std::vector<ExtremeCase> exportCases()
{
    return {
        {"MoveToLineTo", [](int32_t h, int32_t v) { pdf().MoveTo(h, v, neg(v)); return pdf().LineTo(h, neg(v), v); }},
        {"Rectangle", [](int32_t h, int32_t v) { return pdf().Rectangle(h, neg(v), neg(v), v, v); }},
        {"Ellipse", [](int32_t h, int32_t v) { return pdf().Ellipse(h, neg(v), 0, v, v); }},
        {"FillRect", [](int32_t h, int32_t v) { return pdf().FillRect(h, v, neg(v), neg(v), v); }},
        {"FrameRect", [](int32_t h, int32_t v) { return pdf().FrameRect(h, neg(v), v, v, neg(v)); }},
        {"RoundRect", [](int32_t h, int32_t v) { return pdf().RoundRect(h, neg(v), neg(v), v, v, v, neg(v)); }},
        {"Arc", [](int32_t h, int32_t v) { return pdf().Arc(h, neg(v), neg(v), v, v, v, 0, 0, v); }},
        {"Chord", [](int32_t h, int32_t v) { return pdf().Chord(h, v, v, neg(v), neg(v), 0, v, v, 0); }},
        {"Pie", [](int32_t h, int32_t v) { return pdf().Pie(h, neg(v), neg(v), v, v, neg(v), 0, 0, neg(v)); }},
        {"Polygon", [](int32_t h, int32_t v) {
             pdf().AddPoint(h, neg(v), v);
             pdf().AddPoint(h, v, neg(v));
             pdf().AddPoint(h, v, v);
             return pdf().Polygon(h);
         }},
        {"PolyBezier", [](int32_t h, int32_t v) {
             for (int i = 0; i < 4; ++i)
                 pdf().AddPoint(h, i % 2 ? v : neg(v), v);
             return pdf().PolyBezier(h);
         }},
        {"StretchDrawFromFile", [](int32_t h, int32_t v) { return pdf().StretchDrawFromFile(h, neg(v), neg(v), v, v, picturePath()); }},
        {"DrawFromFile", [](int32_t h, int32_t v) { return pdf().DrawFromFile(h, v, v, picturePath()); }},
        {"TextOut", [](int32_t h, int32_t v) { return pdf().TextOut(h, v, neg(v), kText); }},
        {"DrawText", [](int32_t h, int32_t v) { return pdf().DrawText(h, neg(v), neg(v), v, v, 2, 2, kText); }},
        {"DrawTextRight", [](int32_t h, int32_t v) { return pdf().DrawText(h, v, v, neg(v), neg(v), 1, 1, kText); }},
        {"DrawPageCounter", [](int32_t h, int32_t v) { return pdf().DrawPageCounter(h, v, v, neg(v), 2, "p", 1, "/", 3, ""); }},
        {"DefineName", [](int32_t h, int32_t v) { return pdf().DefineName(h, v, neg(v), "n"); }},
        {"SetLink", [](int32_t h, int32_t v) { return pdf().SetLink(h, neg(v), neg(v), v, v, "http://x"); }},
        {"WriteLink", [](int32_t h, int32_t v) { return pdf().WriteLink(h, v, v, "link", "http://x"); }},
        {"SetBookmark", [](int32_t h, int32_t v) { return pdf().SetBookmark(h, v, v, "b", v, 1); }},
        {"WriteBookmark", [](int32_t h, int32_t v) { return pdf().WriteBookmark(h, v, v, "b", 1, 1); }},
        {"Annotation", [](int32_t h, int32_t v) { return pdf().Annotation(h, v, neg(v), "a", v); }},
        {"RubberStamp", [](int32_t h, int32_t v) { return pdf().RubberStamp(h, neg(v), neg(v), v, v, "s", v); }},
        {"Grid", [](int32_t h, int32_t v) {
             pdf().DefineGrid(h, "g", 0, v);
             pdf().DefineCol(h, "g", v, 0, 0, 1);
             pdf().DefineCol(h, "g", v, 2, 2, 1);
             pdf().DrawGrid(h, "g", v, v);
             pdf().TextToCell(h, "g", 1, 1, kText);
             pdf().CellX(h, "g", 1, 1, v);
             pdf().CellY(h, "g", 1, 1, v);
             pdf().CellTextHeight(h, "g", 1, kText);
             return pdf().DrawRow(h, "g", v);
         }},
        {"Field", [](int32_t h, int32_t v) {
             pdf().DefineField(h, "f", 1, "t", "", "");
             pdf().SetNumFieldProp(h, "f", 1, v);
             return pdf().PutField(h, "f", neg(v), neg(v), v, v);
         }},
        {"StyleMargins", [](int32_t h, int32_t v) {
             const std::string text = std::to_string(v);
             for (const char* key : {"LeftMargin", "RightMargin", "TopMargin", "BottomMargin", "FirstIndent",
                                     "LeftIndent", "RightIndent", "SpaceAfter", "SpaceBefore", "LineSpacing",
                                     "CharacterSpacing", "FontSize"}) {
                 pdf().DefineStyle(h, "m", key, text.c_str());
                 pdf().WritePara(h, kText, "m");
                 pdf().ParaHeight(h, kText);
             }
             return pdf().WritePara(h, kText, "m");
         }},
        {"SetColorEx", [](int32_t h, int32_t v) {
             for (int mode = 0; mode < 5; ++mode)
                 pdf().SetColorEx(h, mode % 3, mode, v, v, v, v);
             return pdf().Rectangle(h, 0, 0, 10, 10);
         }},
        {"NewSection", [](int32_t h, int32_t v) { return pdf().NewSection(h, v, v); }},
        {"Paragraphs", [](int32_t h, int32_t v) {
             pdf().SetNumProp(h, VUM_CURRENT_Y, v);
             pdf().SetNumProp(h, VUM_CURRENT_X, v);
             pdf().WritePara(h, kText, "");
             pdf().BeginPara(h, kText, "");
             pdf().AppendTabPara(h, "\ttab", "");
             pdf().EndPara(h, kText, "");
             return pdf().ParaHeight(h, kText);
         }},
    };
}

// Numeric properties that place or size things, each followed by drawing that uses it.
std::vector<ExtremeCase> propertyCases()
{
    auto prop = [](int32_t id) {
        return [id](int32_t h, int32_t v) {
            const int32_t set = pdf().SetNumProp(h, id, v);
            pdf().TextOut(h, 100, 100, kText);
            pdf().DrawText(h, 0, 0, 2000, 2000, 2, 2, kText);
            pdf().WritePara(h, kText, "");
            pdf().LineTo(h, 500, 500);
            pdf().Rectangle(h, 10, 10, 20, 20);
            pdf().TextWidth(h, kText);
            pdf().TextHeight(h, kText);
            return set;
        };
    };
    return {
        {"FontSize", prop(VUM_FONT_SIZE)},
        {"FontDegreeAngle", prop(VUM_FONT_DEGREE_ANGLE)},
        {"CharacterSpacing", prop(VUM_CHARACTER_SPACING)},
        {"LineSpacing", prop(VUM_LINE_SPACING)},
        {"PenWidth", prop(VUM_PEN_WIDTH)},
        {"PenPosX", prop(VUM_PEN_POS_X)},
        {"PenPosY", prop(VUM_PEN_POS_Y)},
        {"CurrentX", prop(VUM_CURRENT_X)},
        {"CurrentY", prop(VUM_CURRENT_Y)},
        {"BulletNumber", [](int32_t h, int32_t v) {
             const int32_t set = pdf().SetNumProp(h, VUM_BULLET_NUMBER, v);
             pdf().DefineStyle(h, "num", "Bullet", "1.");
             pdf().WritePara(h, "one", "num");
             pdf().WritePara(h, "two", "num");
             return set;
         }},
    };
}

std::vector<ExtremeCase> allCases()
{
    std::vector<ExtremeCase> cases = exportCases();
    for (ExtremeCase& c : propertyCases())
        cases.push_back(std::move(c));
    return cases;
}

void PrintTo(const ExtremeCase& c, std::ostream* os)
{
    *os << c.name;
}

} // namespace

class ExtremeExports : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeExports, EveryExportSurvivesTheExtremesOfItsNumbers)
{
    const ExtremeCase& c = GetParam();
    for (int32_t v : kExtremes) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(v));
        TempDir dir;
        const std::string file = dir.file("extreme.pdf");
        PdfHandle h;
        openDocument(h, file);
        (void)lastError();  // only what the call itself leaves counts
        const int32_t result = c.call(h, v);
        const std::string error = lastError();
        if (result == -1) {
            EXPECT_FALSE(error.empty()) << "refused without a word";
        }
        EXPECT_EQ(error.find("Internal error"), std::string::npos) << error;
        if (pdf().GetNumProp(h, VUM_PRINTING) == 1) {
            // Still open: the document takes the next page and drawing, and
            // ends as a sound file.
            EXPECT_EQ(pdf().NewPage(h), 0) << lastError();
            EXPECT_EQ(pdf().MoveTo(h, 10, 10), 0) << lastError();
            EXPECT_EQ(pdf().LineTo(h, 20, 20), 0) << lastError();
            ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
            EXPECT_EQ(qpdfProblems(file), "") << "result " << result << ", message " << error;
        } else {
            // A refusal aborted the document: it says why, leaves no file
            // behind, and the handle begins the next document as before.
            EXPECT_FALSE(error.empty()) << "the document closed without a word";
            EXPECT_FALSE(std::filesystem::exists(file));
            ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
            EXPECT_EQ(pdf().LineTo(h, 20, 20), 0) << lastError();
            ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
            EXPECT_EQ(qpdfProblems(file), "") << "after " << error;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, ExtremeExports, ::testing::ValuesIn(allCases()),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST(ExtremeValues, PropertiesBeyondAnyPageAreRefused)
{
    const struct { int32_t id; const char* name; int32_t value; } cases[] = {
        {VUM_FONT_SIZE, "FontSize", INT32_MIN}, {VUM_FONT_SIZE, "FontSize", 1 << 30},
        {VUM_CHARACTER_SPACING, "CharacterSpacing", INT32_MAX}, {VUM_LINE_SPACING, "LineSpacing", INT32_MIN},
        {VUM_CURRENT_X, "CurrentX", INT32_MAX}, {VUM_CURRENT_Y, "CurrentY", INT32_MIN},
        {VUM_PEN_WIDTH, "PenWidth", INT32_MAX}, {VUM_BULLET_NUMBER, "BulletNumber", INT32_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        PdfHandle h;
        openDocument(h, dir.file("refused.pdf"));
        EXPECT_EQ(pdf().SetNumProp(h, c.id, c.value), -1);
        EXPECT_EQ(lastError(), std::string("Invalid property value: ") + c.name);
    }
    // A message base whose event numbers would pass the largest integer.
    EXPECT_EQ(pdf().CreateVum(0, INT32_MAX), -1);
    EXPECT_EQ(lastError(), "Bad parameters for method: CreateVum");
}
