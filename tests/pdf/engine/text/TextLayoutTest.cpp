#include "TextDocument.h"

#include "TempDir.h"
#include "engine/document/PdfVum.h"
#include "engine/pdf/PdfCanvas.h"
#include "platform/fonts/Utf8.h"
#include "vumpdf.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\f'))
            line.pop_back();
        while (!line.empty() && line.front() == ' ')
            line.erase(0, 1);
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(TextLayoutDocument, DrawTextWrapsAtBreakCharactersAndReturnsWhatIsLeftOver)
{
    TextDocument doc;
    ASSERT_EQ(SetNumProp(doc.h(), 32, 1), 0);  // points
    doc.begin();
    doc.font("Arial", 10);
    // 40 points hold "aaaa " (27.8) but not "aaaa bbbb" (50).
    EXPECT_EQ(DrawText(doc.h(), 100, 100, 140, 400, 0, 0, "aaaa bbbb-cccc dd"), 0) << lastError();
    EXPECT_GT(GetNumProp(doc.h(), VUM_CURRENT_Y), 100) << "CurrentY stands below the text";
    doc.end();
    EXPECT_EQ(Lines(doc.text(1, true)), (std::vector<std::string>{"aaaa", "bbbb-", "cccc dd"}));
    EXPECT_EQ(doc.check().exitCode, 0);
}

TEST(TextLayoutDocument, ChineseWrapsByCharacters)
{
    TextDocument doc;
    ASSERT_EQ(SetNumProp(doc.h(), 32, 1), 0);
    doc.begin();
    doc.font("宋体", 16);
    ASSERT_EQ(DrawText(doc.h(), 100, 100, 150, 400, 0, 0, "图片集图片集"), 0) << lastError();
    doc.end();
    EXPECT_EQ(Lines(doc.text(1, true)), (std::vector<std::string>{"图片集", "图片集"}));
}

// DrawText answers how many characters (not bytes) did not fit, so a caller
// can tell what was cut off; CurrentY stands below the last line drawn.
TEST(TextLayoutDocument, DrawTextCountsTheCharactersThatDidNotFit)
{
    struct Case {
        const char* font;
        const char* text;
        int32_t bottom;  // one line of 10 or 16 points fits, two do not
        int32_t leftOver;
        const char* drawn;
    } cases[] = {
        {"Arial", "aaaa bbbb cccc", 112, 9, "aaaa"},      // "bbbb cccc" left over
        {"Arial", "aaaa", 112, 0, "aaaa"},
        {"宋体", "图片集图片集", 118, 3, "图片集"},         // three characters, nine bytes
        {"Arial", "one\ntwo\nthree", 112, 9, "one"},     // "two\nthree"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextDocument doc;
        ASSERT_EQ(SetNumProp(doc.h(), 32, 1), 0);
        doc.begin();
        doc.font(c.font, std::string(c.font) == "Arial" ? 10 : 16);
        EXPECT_EQ(DrawText(doc.h(), 100, 100, std::string(c.font) == "Arial" ? 140 : 150, c.bottom, 0, 0, c.text),
                  c.leftOver) << lastError();
        const int32_t lineHeight = TextHeight(doc.h(), "A");
        EXPECT_EQ(GetNumProp(doc.h(), VUM_CURRENT_Y), 100 + lineHeight);
        doc.end();
        EXPECT_EQ(Lines(doc.text(1, true)), (std::vector<std::string>{c.drawn}));
        EXPECT_EQ(doc.check().exitCode, 0);
    }
}

// Base styles may chain as long as a caller likes, but never come back to
// a style on the way: that is refused where the link is made.
TEST(TextLayoutDocument, CircularBaseStylesAreRefused)
{
    {
        TextDocument doc;
        doc.begin();
        EXPECT_EQ(DefineStyle(doc.h(), "Self", "BaseStyle", "self"), -1);
        EXPECT_EQ(lastError(), "Circular reference in style sheet: Self");
    }
    {
        TextDocument doc;
        doc.begin();
        ASSERT_EQ(DefineStyle(doc.h(), "A", "FontSize", "9"), 0);
        ASSERT_EQ(DefineStyle(doc.h(), "B", "BaseStyle", "A"), 0);
        ASSERT_EQ(DefineStyle(doc.h(), "C", "BaseStyle", "B"), 0);
        EXPECT_EQ(DefineStyle(doc.h(), "A", "BaseStyle", "C"), -1);
        EXPECT_EQ(lastError(), "Circular reference in style sheet: A");
    }
    TempDir dir;
    writeFile(dir.path() / "pair.ini", "[A]\nBaseStyle=B\n[B]\nBaseStyle=A\n");
    writeFile(dir.path() / "self.ini", "[S]\nFontSize=9\nBaseStyle=s\n");
    for (const auto& [file, message] : {std::pair{"pair.ini", "Circular reference in style sheet: B"},
                                        std::pair{"self.ini", "Circular reference in style sheet: S"}}) {
        TextDocument doc;
        doc.begin();
        EXPECT_EQ(LoadStyleSheet(doc.h(), dir.file(file).c_str()), -1) << file;
        EXPECT_EQ(lastError(), message);
    }

    // A chain of a hundred styles reaches the first one's value.
    TextDocument doc;
    doc.begin();
    ASSERT_EQ(DefineStyle(doc.h(), "S0", "LeftMargin", "321"), 0);
    for (int i = 1; i < 100; ++i)
        ASSERT_EQ(DefineStyle(doc.h(), std::string("S").append(std::to_string(i)).c_str(), "BaseStyle",
                              std::string("S").append(std::to_string(i - 1)).c_str()), 0) << lastError();
    ASSERT_EQ(SetStrProp(doc.h(), VUM_CURRENT_STYLE_NAME, "S99"), 0) << lastError();
    char buffer[256] = {};
    ASSERT_EQ(StyleParameter(doc.h(), "LeftMargin", buffer), 0);
    EXPECT_STREQ(buffer, "321");
    doc.end();
    EXPECT_EQ(doc.check().exitCode, 0);
}

TEST(TextLayoutDocument, ParagraphsFlowOverPagesWithTheirStyle)
{
    TextDocument doc;
    doc.begin();
    ASSERT_EQ(DefineStyle(doc.h(), "Body", "LeftMargin", "200"), 0) << lastError();
    ASSERT_EQ(DefineStyle(doc.h(), "Body", "TopMargin", "200"), 0);
    ASSERT_EQ(DefineStyle(doc.h(), "Body", "BottomMargin", "200"), 0);
    ASSERT_EQ(DefineStyle(doc.h(), "Body", "FontSize", "12"), 0);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Every line of this long paragraph goes on the next page once the page is full. ";
    int pages = 0;
    for (int i = 0; i < 30 && pages < 10; ++i) {
        ASSERT_EQ(WritePara(doc.h(), text.c_str(), "Body"), 0) << lastError();
        pages = GetNumProp(doc.h(), 35);
    }
    doc.end();
    EXPECT_EQ(doc.pageCount(), pages);
    EXPECT_GE(pages, 10);
    EXPECT_EQ(doc.check().exitCode, 0);
}

TEST(TextLayoutDocument, PageCountersShowTheirPages)
{
    TextDocument doc;
    doc.begin();
    doc.font("Arial", 12);
    for (int page = 1; page <= 3; ++page) {
        if (page > 1) {
            ASSERT_EQ(NewPage(doc.h()), 0);
        }
        ASSERT_EQ(DrawPageCounter(doc.h(), 100, 100, 0, 0, "Page ", 1, " of ", 0, "."), 0) << lastError();
    }
    doc.end();
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(Lines(doc.text(page)), (std::vector<std::string>{"Page " + std::to_string(page) + "."}));

    TextDocument uncounted;
    uncounted.begin();
    EXPECT_EQ(DrawPageCounter(uncounted.h(), 100, 200, 0, 0, "", 2, "", 0, ""), -1);
    EXPECT_EQ(lastError(), "This counter requires WantPageCount to be assigned to TRUE before start");
}

TEST(TextLayoutDocument, NumberedBulletsAndTabStops)
{
    TextDocument doc;
    doc.begin();
    const char* definitions[][3] = {
        {"Item", "LeftMargin", "100"}, {"Item", "LeftIndent", "200"}, {"Item", "FirstIndent", "-150"},
        {"Num", "BaseStyle", "Item"},  {"Num", "Bullet", "1."},       {"Item", "BulletStyle", "Num"},
        {"Cols", "Tab1", "600"},       {"Cols", "Tab2", "1200"},
    };
    for (const auto& d : definitions)
        ASSERT_EQ(DefineStyle(doc.h(), d[0], d[1], d[2]), 0) << lastError();
    for (const char* item : {"First", "Second", "Third"})
        ASSERT_EQ(WritePara(doc.h(), item, "Item"), 0) << lastError();
    ASSERT_EQ(BeginPara(doc.h(), "Left", "Cols"), 0) << lastError();
    ASSERT_EQ(AppendTabPara(doc.h(), "Middle", ""), 0) << lastError();
    ASSERT_EQ(AppendTabPara(doc.h(), "Right", ""), 0) << lastError();
    ASSERT_EQ(EndPara(doc.h(), "", ""), 0);
    char buffer[256] = {};
    ASSERT_EQ(StyleParameter(doc.h(), "Tab2", buffer), 0);
    EXPECT_STREQ(buffer, "1200");
    doc.end();
    const std::vector<std::string> lines = Lines(doc.text(1, true));
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i].substr(0, 2), std::to_string(i + 1) + ".") << lines[i];
    EXPECT_NE(lines[0].find("First"), std::string::npos);
    EXPECT_NE(lines[3].find("Left"), std::string::npos);
    EXPECT_LT(lines[3].find("Left"), lines[3].find("Middle"));
    EXPECT_LT(lines[3].find("Middle"), lines[3].find("Right"));
}

TEST(TextLayoutDocument, StyleMistakesAreReported)
{
    struct Case {
        const char* key;
        const char* value;
        const char* message;
    } cases[] = {
        {"FontSize", "big", "Numeric value expected for style parameter: FontSize = big"},
        {"LeftMargin", "100000", "Invalid style sheet margins: no space left on paper sheet"},
        {"BaseStyle", "Nowhere", "Invalid style name: Nowhere"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TextDocument doc;
        doc.begin();
        ASSERT_EQ(DefineStyle(doc.h(), "S", "AutoPageFeed", "0"), 0);
        if (DefineStyle(doc.h(), "S", c.key, c.value) == 0) {
            EXPECT_EQ(WritePara(doc.h(), "text", "S"), -1);
        }
        EXPECT_EQ(lastError(), c.message);
    }
    TextDocument doc;
    doc.begin();
    EXPECT_EQ(WritePara(doc.h(), "text", "Unknown"), -1);
    EXPECT_EQ(lastError(), "Invalid style name: Unknown");
}

TEST(TextLayoutDocument, StyleSheetsReplaceTheStyles)
{
    TempDir dir;
    writeFile(dir.path() / "styles.ini",
              "; paragraph styles\r\n[Base]\r\nFontSize=14\r\nLeftMargin=250\r\n\r\n"
              "[Body]\r\nBaseStyle=Base\r\nAlignment=Center\r\n");
    writeFile(dir.path() / "broken.ini", "[Body]\nBaseStyle=Missing\n");
    TextDocument doc;
    doc.begin();
    ASSERT_EQ(DefineStyle(doc.h(), "Old", "FontSize", "9"), 0);
    ASSERT_EQ(LoadStyleSheet(doc.h(), dir.file("styles.ini").c_str()), 0) << lastError();
    ASSERT_EQ(SetStrProp(doc.h(), 18, "body"), 0) << lastError();
    char buffer[256] = {};
    ASSERT_EQ(StyleParameter(doc.h(), "LeftMargin", buffer), 0);
    EXPECT_STREQ(buffer, "250");
    EXPECT_EQ(GetNumProp(doc.h(), 28), 14);
    EXPECT_EQ(WritePara(doc.h(), "centred", "Body"), 0) << lastError();
    EXPECT_EQ(WritePara(doc.h(), "old", "Old"), -1);
    EXPECT_EQ(lastError(), "Invalid style name: Old");

    struct Case {
        std::string file;
        std::string message;
    } cases[] = {
        {dir.file("none.ini"), "File not found: " + dir.file("none.ini")},
        {dir.file("broken.ini"), "Invalid style name: Missing"},
    };
    for (const auto& c : cases) {
        TextDocument other;
        other.begin();
        EXPECT_EQ(LoadStyleSheet(other.h(), c.file.c_str()), -1);
        EXPECT_EQ(lastError(), c.message);
    }
}

// Line breaking adds the widths of a line's prefixes up in one pass; each must
// equal what measuring that prefix alone gives, in either font path.
TEST(TextLayoutDocument, PrefixWidthsEqualTheWidthsOfThePrefixes)
{
    TempDir dir;
    vum::TPdfVum doc;
    doc.SetFileName(dir.file("prefix.pdf"));
    doc.BeginDoc();
    vum::TPdfCanvas& canvas = doc.PdfCanvas();
    const struct { const char* font; int32_t size, spacing; uint8_t unit; const char* text; } cases[] = {
        {"Arial", 12, 0, 0, "Hello, world\tand\r\nmore"},
        {"Arial", 11, 7, 0, "Abc 中文 mixed ، and back"},
        {"黑体", 30, -3, 0, "中文 then Latin"},
        {"Liberation Serif", 9, 2, 0, "\x01\x02 control first"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        canvas.Font.Name = c.font;
        canvas.Font.Size = c.size;
        canvas.SetCharacterSpacing(c.spacing);
        const std::u32string text = vum::fonts::decodeUtf8(c.text);
        for (size_t begin : {size_t(0), size_t(3)}) {
            std::vector<int32_t> got;
            canvas.PrefixTextWidths(text, begin, [&](size_t, int32_t w) {
                got.push_back(w);
                return true;
            });
            ASSERT_EQ(got.size(), text.size() - begin);
            for (size_t k = 1; k <= got.size(); ++k)
                EXPECT_EQ(got[k - 1], canvas.TextWidth(vum::fonts::encodeUtf8(text.substr(begin, k)))) << k;
        }
    }
    doc.Abort();
}
