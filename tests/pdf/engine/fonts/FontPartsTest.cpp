#include "engine/fonts/CidFontParts.h"
#include "engine/fonts/FontEncodingTables.h"
#include "engine/fonts/PdfTextString.h"

#include <gtest/gtest.h>

using namespace vum;

TEST(PdfTextString, UsesPdfDocEncodingWhenTheTextFitsElseUtf16)
{
    struct Case {
        const char* utf8;
        std::string bytes;
    } cases[] = {
        {"Title", "Title"},
        {"café", "caf\xE9"},
        {"\xE2\x80\xA2 \xC5\x81", "\x80 \x95"},  // bullet and Ł have PDFDocEncoding codes
        {"", ""},
        {"图A", std::string("\xFE\xFF\x56\xFE\x00\x41", 6)},
        {"\xF0\x9F\x98\x80", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)},
        {"\xE2\x82\xAC 5", "\xA0 5"},  // PDF 1.3 gave the euro the unused code 0xA0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(PdfTextStringBytes(c.utf8), c.bytes);
    }
}

TEST(PdfName, EscapesEveryByteOutsidePrintableAsciiAndTheDelimiters)
{
    EXPECT_EQ(PdfName("Arial,Bold"), "/Arial,Bold");
    EXPECT_EQ(PdfName("Times New Roman"), "/Times#20New#20Roman");
    EXPECT_EQ(PdfName("黑体"), "/#E9#BB#91#E4#BD#93");
    EXPECT_EQ(PdfName("a(b)/c#d%"), "/a#28b#29#2Fc#23d#25");
}

TEST(FontEncodingTables, HoldTheCharsetDifferencesAndRightToLeftLetters)
{
    EXPECT_EQ(DifferencesLines(238).size(), 32u);
    EXPECT_EQ(DifferencesLines(238).front(), "140/Sacute/Tcaron");
    EXPECT_EQ(DifferencesLines(204).size(), 21u);
    EXPECT_TRUE(DifferencesLines(0).empty());

    EXPECT_TRUE(IsRightToLeftCharacter(2, U'א'));
    EXPECT_TRUE(IsRightToLeftCharacter(1, U'ا'));
    EXPECT_FALSE(IsRightToLeftCharacter(2, U'A'));
    EXPECT_FALSE(IsRightToLeftCharacter(0, U'א'));

    CodeFlags flags{};
    EXPECT_TRUE(MarkDifferenceCodes({"10/a/b", "250/x"}, flags));
    EXPECT_TRUE(flags[10] && flags[11] && flags[250]);
    EXPECT_FALSE(flags[12]);
    EXPECT_FALSE(MarkDifferenceCodes({"12"}, flags));
    EXPECT_FALSE(MarkDifferenceCodes({"x/a"}, flags));
    EXPECT_FALSE(MarkDifferenceCodes({"255/a/b"}, flags));
}

TEST(CidFontParts, WritesWidthsAndTheUnicodeMap)
{
    EXPECT_EQ(CidWidthsArray({{3, 500}, {4, 600}, {9, 1000}}), "[3 [500 600]\n9 [1000]]");
    EXPECT_EQ(CidWidthsArray({}), "[]");

    const std::string cmap = ToUnicodeCMap({{0x1234, U"图"}, {7, U"\U0001F600"}, {8, U""}});
    EXPECT_NE(cmap.find("2 beginbfchar\n<0007> <D83DDE00>\n<1234> <56FE>\nendbfchar"), std::string::npos);
    EXPECT_NE(cmap.find("<0000> <FFFF>"), std::string::npos);

    std::map<uint32_t, std::u32string> many;
    const std::u32string letter(1, U'a');
    for (uint32_t g = 1; g <= 150; ++g)
        many.emplace(g, letter);
    const std::string big = ToUnicodeCMap(many);
    EXPECT_NE(big.find("100 beginbfchar"), std::string::npos);
    EXPECT_NE(big.find("50 beginbfchar"), std::string::npos);

    const std::string tag = SubsetTag("WenQuanYiZenHei", {1, 2, 3});
    EXPECT_EQ(tag.size(), 6u);
    EXPECT_EQ(tag.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
    EXPECT_NE(tag, SubsetTag("WenQuanYiZenHei", {1, 2, 4}));
}
