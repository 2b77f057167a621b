#include "TextDocument.h"

#include "vumpdf.h"

#include <gtest/gtest.h>

namespace {

// Words as pdftotext gives them, without the page breaks and line ends.
std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\f' || text.back() == ' '))
        text.pop_back();
    return text;
}

struct TextCase {
    const char* font;
    int32_t size;
    bool bold;
    int32_t charset;
    const char* text;
};

} // namespace

TEST(TextFonts, TextComesBackExactlyInEveryFontAndScript)
{
    const TextCase cases[] = {
        {"Arial", 12, false, 1, "Hello, world (1+1=2) \\ done"},
        {"Arial", 14, false, 238, "Łódź"},
        {"Liberation Serif", 12, true, 0, "Café € naïve"},
        {"Arial", 12, false, 204, "Привет"},
        {"黑体", 30, true, 1, "Vimo图片集"},
        {"宋体", 16, false, 134, "宋体的文字"},
        {"Arial", 12, false, 1, "Arial 与 图片"},  // Chinese taken from a face that has it
    };
    TextDocument doc;
    doc.begin();
    for (size_t i = 0; i < std::size(cases); ++i) {
        if (i > 0) {
            ASSERT_EQ(NewPage(doc.h()), 0);
        }
        doc.font(cases[i].font, cases[i].size, cases[i].bold, cases[i].charset);
        ASSERT_EQ(TextOut(doc.h(), 100, 100, cases[i].text), 0) << lastError();
    }
    doc.end();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].text);
        EXPECT_EQ(Trimmed(doc.text(static_cast<int>(i) + 1)), cases[i].text);
    }
    const ToolResult check = doc.check();
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}

TEST(TextFonts, ChineseIsAnEmbeddedCidTrueTypeSubsetWithUnicodeMap)
{
    TextDocument doc;
    doc.begin();
    doc.font("黑体", 30, true);
    ASSERT_EQ(TextOut(doc.h(), 100, 100, "Vimo图片集"), 0) << lastError();
    doc.end();
    const std::string fonts = doc.fonts().out;
    // name type encoding emb sub uni
    EXPECT_NE(fonts.find("+WenQuanYiZenHei"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("CID TrueType"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Identity-H"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("yes yes yes"), std::string::npos) << fonts;
    // Only the glyphs drawn are embedded: far less than the 17 MB font.
    EXPECT_LT(doc.bytes().size(), 200000u);
}

TEST(TextFonts, SingleByteFontsFollowTheirCharsetAndEmbedding)
{
    TextDocument doc;
    ASSERT_EQ(SetNumProp(doc.h(), 23, 1), 0);  // EmbedFonts
    doc.begin();
    doc.font("Arial", 12, false, 238);
    ASSERT_EQ(TextOut(doc.h(), 10, 10, "Łódź"), 0);
    doc.font("Arial", 12, true, 0);
    ASSERT_EQ(TextOut(doc.h(), 10, 100, "Bold"), 0);
    doc.font("Times New Roman", 12, false, 0);
    ASSERT_EQ(TextOut(doc.h(), 10, 200, "Serif"), 0);
    doc.font("Liberation Serif", 12, false, 0);
    ASSERT_EQ(TextOut(doc.h(), 10, 300, "Embedded"), 0);
    doc.end();
    const std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("/Differences ["), std::string::npos);
    EXPECT_NE(bytes.find("161/caron/breve/Lslash"), std::string::npos);
    EXPECT_NE(bytes.find("/BaseFont/Arial,Bold"), std::string::npos);
    EXPECT_NE(bytes.find("/BaseFont/Times#20New#20Roman"), std::string::npos);
    EXPECT_NE(bytes.find("/Encoding/WinAnsiEncoding"), std::string::npos);
    const std::string fonts = doc.fonts().out;
    // Arial and Times New Roman are on the list of fonts never embedded.
    EXPECT_NE(fonts.find("Liberation Serif"), std::string::npos) << fonts;
    EXPECT_EQ(doc.check().exitCode, 0);
    const std::string text = doc.text();
    for (const char* word : {"Łódź", "Bold", "Serif", "Embedded"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(TextFonts, MeasuresInFontUnitsAndCharacters)
{
    TextDocument doc;
    ASSERT_EQ(SetNumProp(doc.h(), 32, 1), 0);  // points
    doc.begin();
    doc.font("Arial", 10);
    EXPECT_EQ(TextWidth(doc.h(), "A"), 7);    // 667/1000 of 10 points
    EXPECT_EQ(TextWidth(doc.h(), "AAAAAAAAAA"), 67);
    doc.font("黑体", 100);
    EXPECT_EQ(TextWidth(doc.h(), "图片集"), 300);  // square ideographs
    ASSERT_EQ(SetNumProp(doc.h(), 47, 2), 0);     // character spacing between characters
    EXPECT_EQ(TextWidth(doc.h(), "图片集"), 304);
    EXPECT_GT(TextHeight(doc.h(), "A"), 0);
    doc.end();
}

TEST(TextFonts, RefusesUnknownCharacterSets)
{
    TextDocument doc;
    doc.begin();
    doc.font("Arial", 12, false, 3);
    EXPECT_EQ(TextOut(doc.h(), 10, 10, "x"), -1);
    EXPECT_EQ(lastError(), "Font character set not supported: Arial");
}

TEST(TextStrings, InformationTextsComeBackInEitherEncoding)
{
    for (const char* title : {"Café au lait", "Vimo图片集", "Łódź"}) {
        SCOPED_TRACE(title);
        TextDocument doc;
        ASSERT_EQ(SetStrProp(doc.h(), 14, title), 0);
        doc.begin();
        doc.end();
        const std::string info = runTool({"pdfinfo", doc.path()}).out;
        EXPECT_NE(info.find(std::string("Title:           ") + title + "\n"), std::string::npos) << info;
    }
}

TEST(TextFonts, SymbolFontsAreDeclaredBetweenDocuments)
{
    TextDocument doc;
    EXPECT_EQ(DeclareSymbolicFont(doc.h(), "Dingbats Of Mine"), 0) << lastError();
    doc.begin();
    EXPECT_EQ(DeclareSymbolicFont(doc.h(), "Another"), -1);
    EXPECT_EQ(lastError(), "Can't invoke this method when active: DeclareSymbolicFont");
}

TEST(TextFonts, ASymbolFontBelongsToItsOwnDocument)
{
    TextDocument declaring, other;
    ASSERT_EQ(DeclareSymbolicFont(declaring.h(), "Arial"), 0) << lastError();
    // Flags 4 mark a symbolic font, 32 a font of letters.
    for (TextDocument* doc : {&declaring, &other}) {
        doc->begin();
        doc->font("Arial", 12);
        ASSERT_EQ(TextOut(doc->h(), 100, 100, "Abc"), 0) << lastError();
        doc->end();
    }
    EXPECT_NE(declaring.bytes().find("/Flags 4"), std::string::npos);
    EXPECT_NE(other.bytes().find("/Flags 32"), std::string::npos);
    EXPECT_EQ(other.bytes().find("/Flags 4"), std::string::npos);
    EXPECT_EQ(Trimmed(other.text()), "Abc");
}

TEST(TextFonts, MissingBoldAndItalicDesignsAreMadeUp)
{
    // WenQuanYi Zen Hei has neither: bold is drawn outlined, italic slanted.
    TextDocument doc;
    ASSERT_EQ(SetNumProp(doc.h(), 32, 1), 0);
    doc.begin();
    doc.font("黑体", 20, true);
    ASSERT_EQ(SetNumProp(doc.h(), 27, 1), 0);
    ASSERT_EQ(TextOut(doc.h(), 100, 100, "图片"), 0) << lastError();
    doc.font("Arial", 20, true);
    ASSERT_EQ(TextOut(doc.h(), 100, 200, "Bold"), 0) << lastError();
    doc.end();
    const std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("1 0 0.213 1 100 "), std::string::npos);
    EXPECT_NE(bytes.find("2 Tr\n<"), std::string::npos);
    EXPECT_EQ(bytes.find("2 Tr\n("), std::string::npos);  // Liberation Sans has a bold face
    EXPECT_EQ(Trimmed(doc.text()), "图片\n\nBold");
}
