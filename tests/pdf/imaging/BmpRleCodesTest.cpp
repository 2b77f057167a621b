// What the run-length codes of a bitmap hand on: each code's pixels within
// its row, whatever the code claims beyond the row's end.
#include <gtest/gtest.h>

#include <sstream>

#include "imaging/Errors.h"
#include "imaging/readers/BmpRleCodes.h"

using namespace vum;
using namespace std::string_literals;

namespace {

// Every span as "x,y:indexes", in the order the codes gave them.
std::string spansOf(const std::string& codes, uint64_t width, uint64_t height, int bits)
{
    std::vector<uint8_t> data(codes.begin(), codes.end());
    std::ostringstream out;
    FollowBmpRleCodes(data, width, height, bits, [&](const TBmpRleSpan& s) {
        out << s.x << "," << s.y << ":";
        for (uint32_t i = 0; i < s.count; ++i)
            out << std::hex << int(s.Index(i, bits)) << std::dec;
        out << " ";
    });
    return out.str();
}

} // namespace

TEST(BmpRleCodes, HandOnEachCodesPixelsWithinItsRow)
{
    struct Case {
        const char* what;
        std::string codes;
        uint64_t width;
        int bits;
        std::string spans;
    } cases[] = {
        {"runs and absolute pixels within the row", "\3\7\0\3\1\2\3\0\0\0\2\x0a\0\1"s, 6, 8, "0,0:777 3,0:123 0,1:aa "},
        {"a run past the row's end", "\xff\7\0\0\2\5\0\1"s, 3, 8, "0,0:777 0,1:55 "},
        {"a run that starts past the row's end", "\2\1\4\2\3\3\0\1"s, 3, 8, "0,0:11 2,0:2 "},
        {"absolute pixels past the row's end", "\0\5\1\2\3\4\5\0\0\0\2\6\0\1"s, 2, 8, "0,0:12 0,1:66 "},
        {"RLE4 runs and absolute pixels past an odd row's end", "\x09\xab\0\0\0\5\x12\x34\x50\0\0\1"s, 3, 4,
         "0,0:aba 0,1:123 "},
        {"a delta past the row's end", "\0\2\5\0\3\7\0\0\1\1\0\1"s, 4, 8, "0,1:1 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spansOf(c.codes, c.width, 2, c.bits), c.spans) << c.what;
}

// A row's worth of codes is walked at the cost of its codes, not of the
// pixels they claim: a run past the end of the row hands on nothing more.
TEST(BmpRleCodes, CodesPastTheRowsEndHandOnNothing)
{
    std::string codes;
    for (int i = 0; i < 100000; ++i)
        codes += "\xff\3"s;
    codes += "\0\1"s;
    std::vector<uint8_t> data(codes.begin(), codes.end());
    uint64_t spans = 0, pixels = 0;
    FollowBmpRleCodes(data, 1, 1, 8, [&](const TBmpRleSpan& s) {
        ++spans;
        pixels += s.count;
    });
    EXPECT_EQ(spans, 1u);
    EXPECT_EQ(pixels, 1u);
}

TEST(BmpRleCodes, DataThatStopBeforeTheEndOfTheBitmapAreRefused)
{
    for (const std::string& codes : {""s, "\2\7"s, "\0\2\1"s, "\0\5\1\2"s})
        EXPECT_THROW(spansOf(codes, 8, 2, 8), EInvalidGraphic) << codes.size() << " bytes";
}
