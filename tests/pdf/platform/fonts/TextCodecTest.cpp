#include "platform/fonts/CodePages.h"
#include "platform/fonts/Utf8.h"

#include <gtest/gtest.h>

using namespace vum::fonts;

struct CodePageCase {
    int codePage;
    uint8_t byte;
    char32_t character;
};

TEST(CodePages, BytesAndCharactersMapBothWays)
{
    const CodePageCase cases[] = {
        {1252, 0x41, U'A'},     {1252, 0x80, U'\u20AC'}, {1252, 0xE9, U'é'},
        {1250, 0xA3, U'Ł'},     {1250, 0x9F, U'ź'},      {1250, 0xF3, U'ó'},
        {1251, 0xC0, U'А'},     {1253, 0xC1, U'Α'},      {1254, 0xF0, U'ğ'},
        {1255, 0xE0, U'א'},     {1256, 0xC7, U'ا'},      {1257, 0xC0, U'Ą'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " byte " << int(c.byte));
        EXPECT_EQ(toUnicode(c.codePage, c.byte), c.character);
        EXPECT_EQ(fromUnicode(c.codePage, c.character), c.byte);
    }
}

TEST(CodePages, UnassignedAndForeignCharactersHaveNoByte)
{
    EXPECT_EQ(toUnicode(1252, 0x81), 0u);
    EXPECT_EQ(fromUnicode(1252, U'Ł'), -1);
    EXPECT_EQ(fromUnicode(1250, U'图'), -1);
    EXPECT_EQ(fromUnicode(1252, 0), -1);
    EXPECT_EQ(fromUnicode(0, U'é'), -1);
    EXPECT_EQ(codePageOfCharset(238), 1250);
    EXPECT_EQ(codePageOfCharset(134), 0);
}

TEST(Utf8, DecodesWellFormedTextAndReadsStrayBytesAsWindows1252)
{
    EXPECT_EQ(decodeUtf8("Vimo图片集"), U"Vimo图片集");
    EXPECT_EQ(decodeUtf8("\xF0\x9F\x98\x80"), U"\U0001F600");
    // A Latin-1 "é" and a cut-off sequence are single bytes, not lost text.
    EXPECT_EQ(decodeUtf8("caf\xE9"), U"café");
    EXPECT_EQ(decodeUtf8("\xE5\x9B"), U"\u00E5\u203A");
    // Overlong forms and surrogates are not characters.
    EXPECT_EQ(decodeUtf8("\xC0\xAF").size(), 2u);
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80").size(), 3u);
}

TEST(Utf8, CountsCodePointsAndRoundTrips)
{
    EXPECT_EQ(countCodePoints("Łódź"), 4u);
    EXPECT_EQ(countCodePoints("Vimo图片集"), 7u);
    EXPECT_EQ(countCodePoints("caf\xE9"), 4u);
    EXPECT_EQ(encodeUtf8(U"Łódź 图 \U0001F600"), "Łódź 图 \U0001F600");
}
