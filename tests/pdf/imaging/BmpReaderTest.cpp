// Windows bitmaps of every depth and compression decode like ImageMagick.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "LittleEndian.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Bitmap.h"
#include "imaging/Errors.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

struct BmpCase {
    const char* name;
    uint32_t colors;
    std::vector<std::string> tool;   // "{in}" and "{out}" are replaced
    uint16_t bitCount;
    uint32_t compression;
};

const BmpCase kCases[] = {
    {"bits1", 2, {"ppmtobmp", "-bpp=1", "{in}"}, 1, 0},
    {"bits4", 16, {"ppmtobmp", "-bpp=4", "{in}"}, 4, 0},
    {"bits8", 200, {"ppmtobmp", "-bpp=8", "{in}"}, 8, 0},
    {"bits24", 1000, {"ppmtobmp", "-bpp=24", "{in}"}, 24, 0},
    {"os2core", 16, {"ppmtobmp", "-os2", "-bpp=4", "{in}"}, 4, 0},
    {"rle8", 200, {"convert", "{in}", "-colors", "200", "-type", "Palette", "-compress", "RLE", "BMP3:{out}"}, 8, 1},
    {"rgb565", 1000, {"convert", "{in}", "-define", "bmp:subtype=RGB565", "BMP:{out}"}, 16, 3},
    {"rgb555", 1000, {"convert", "{in}", "-define", "bmp:subtype=RGB555", "BMP:{out}"}, 16, 3},
    {"bits32", 1000, {"convert", "{in}", "-alpha", "on", "BMP:{out}"}, 32, 3},
};

void PrintTo(const BmpCase& c, std::ostream* os)
{
    *os << c.name;
}

class BmpReaderTest : public testing::TestWithParam<BmpCase> {};

uint32_t le32(const std::string& s, std::size_t at)
{
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}

} // namespace

TEST_P(BmpReaderTest, DecodesLikeImageMagick)
{
    const BmpCase& c = GetParam();
    TempDir dir;
    std::string source = dir.file("source.ppm"), bmp = dir.file("picture.bmp");
    writeFile(source, makePpm(37, 19, 255, [&](uint32_t x, uint32_t y) { return patternColor(x, y, c.colors); }));
    std::vector<std::string> args;
    for (std::string a : c.tool) {
        if (auto at = a.find("{in}"); at != std::string::npos)
            a.replace(at, 4, source);
        if (auto at = a.find("{out}"); at != std::string::npos)
            a.replace(at, 5, bmp);
        args.push_back(a);
    }
    ToolResult made = runTool(args);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    if (args[0] == "ppmtobmp")
        writeFile(bmp, made.out);
    std::string bytes = readFile(bmp);
    bool core = le32(bytes, 14) == 12;
    ASSERT_EQ(uint8_t(bytes[core ? 24 : 28]), c.bitCount);
    if (!core) {
        ASSERT_EQ(le32(bytes, 30), c.compression);
    }

    auto picture = loadWithRegistry(bmp);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"convert", bmp, "-depth", "8", "ppm:-"})), "");
}

INSTANTIATE_TEST_SUITE_P(DepthsAndCompressions, BmpReaderTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<BmpCase>& tp) { return std::string(tp.param.name); });

namespace {

// A run-length bitmap, RLE4 or RLE8, of 16 colours.
std::string rleBitmap(uint32_t width, uint32_t height, const std::string& data, int bits = 4)
{
    std::string palette;
    for (int i = 0; i < 16; ++i)
        palette += std::string{char(i * 16), char(255 - i * 16), char(i * 8), 0};
    std::string info = le(40, 4) + le(width, 4) + le(height, 4) + le(1, 2) + le(uint32_t(bits), 2) +
                       le(bits == 8 ? 1 : 2, 4) + le(uint32_t(data.size()), 4) + le(2835, 4) + le(2835, 4) + le(16, 4) +
                       le(0, 4);
    uint32_t offset = 14 + 40 + 64;
    return "BM" + le(offset + uint32_t(data.size()), 4) + le(0, 4) + le(offset, 4) + info + palette + data;
}

} // namespace

TEST(BmpReader, Rle4DecodesLikeImageMagick)
{
    std::string data;
    data += std::string("\x06\x12", 2);                     // 1 2 1 2 1 2
    data += std::string("\x00\x03\x34\x50\x00\x00", 6);     // absolute 3 4 5, padded
    data += std::string("\x00\x00", 2);                     // end of line
    data += std::string("\x09\xab", 2);                     // a b a b a b a b a
    data += std::string("\x00\x00", 2);
    data += std::string("\x04\xcc\x05\xdd", 4);             // c c c c d d d d d
    data += std::string("\x00\x01", 2);                     // end of bitmap
    TempDir dir;
    std::string file = dir.file("rle4.bmp");
    writeFile(file, rleBitmap(9, 3, data));
    auto picture = loadWithRegistry(file);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"convert", file, "-depth", "8", "ppm:-"})), "");
}

TEST(BmpReader, BrokenFilesFail)
{
    TempDir dir;
    std::string rle = rleBitmap(9, 3, std::string("\x06\x12\x00\x00", 4));   // no end of bitmap
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"not a bitmap", "XX" + std::string(60, '\0')},
        {"run-length data cut off", rle},
        {"rows cut off", rleBitmap(9, 3, "").replace(30, 4, le(0, 4)) + std::string(5, '\0')},
        {"header size 200", "BM" + le(0, 8) + le(26, 4) + le(200, 4) + std::string(40, '\0')},
    };
    for (const Case& c : cases) {
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        TBitmap bitmap;
        EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic) << c.what;
    }
}

namespace {

// The colour indexes of an 8-bit or 4-bit picture, rows top first.
std::vector<uint8_t> indexesOf(const TBitmap& picture)
{
    std::vector<uint8_t> out;
    out.reserve(std::size_t(picture.Width()) * picture.Height());
    bool four = picture.PixelFormat() == TPixelFormat::pf4bit;
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        const uint8_t* line = const_cast<TBitmap&>(picture).ScanLine(y);
        for (uint32_t x = 0; x < picture.Width(); ++x)
            out.push_back(four ? uint8_t(x % 2 ? line[x / 2] & 15 : line[x / 2] >> 4) : line[x]);
    }
    return out;
}

std::string repeated(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::vector<uint8_t> loadIndexes(const std::string& bytes)
{
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    return indexesOf(bitmap);
}

} // namespace

// A sprite on an empty right half: each row draws 2805 pixels, then ends. The
// codes' 144 KB pass 19 megapixels over, no more than a PNG of that size holds.
TEST(BmpReader, Rle8SpriteThatLeavesHalfOfEveryRowEmptyLoads)
{
    const uint32_t size = 6000, drawn = 11 * 255;
    std::string codes;
    for (uint32_t y = 0; y < size; ++y) {
        for (int run = 0; run < 11; ++run)
            codes += {char(255), char(y % 15 + 1)};
        codes += std::string("\0\0", 2);
    }
    codes += std::string("\0\1", 2);
    std::vector<uint8_t> indexes = loadIndexes(rleBitmap(size, size, codes, 8));
    ASSERT_EQ(indexes.size(), std::size_t(size) * size);
    std::size_t wrong = 0;
    for (uint32_t row = 0; row < size; ++row)
        for (uint32_t x = 0; x < size; ++x)
            wrong += indexes[std::size_t(row) * size + x] != (x < drawn ? (size - 1 - row) % 15 + 1 : 0);
    EXPECT_EQ(wrong, 0u);
}

// Runs and absolute pixels that reach past the end of their row set the row's
// pixels up to its end and nothing beyond; the next row starts at its own
// end-of-line code.
TEST(BmpReader, CodesPastTheRowsEndAreCutAtIt)
{
    using namespace std::string_literals;
    struct Case {
        const char* what;
        int bits;
        uint32_t width;
        std::string codes;
        std::vector<uint8_t> indexes;   // rows top first
    } cases[] = {
        {"RLE8", 8, 3, "\xff\1\xff\2\0\0\0\4\3\4\5\6\2\7\0\1"s, {3, 4, 5, 1, 1, 1}},
        {"RLE4", 4, 3, "\x09\x12\0\0\0\5\x34\x56\x70\0\0\1"s, {3, 4, 5, 1, 2, 1}},
        {"a 1 x 1 picture and many runs", 8, 1, repeated("\xff\5"s, 20000) + "\0\1"s, {5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadIndexes(rleBitmap(c.width, c.width == 1 ? 1 : 2, c.codes, c.bits)), c.indexes) << c.what;
}

// A run-length bitmap may pass over as many pixels as a deflate PNG of its
// pixel data could hold, 1032 a byte and 1024 more, or 16 megapixels, and no
// more. Its pixel data are every byte from the pixel offset on (bytes after
// the end-of-bitmap code too), or as many as the header's image size says
// when the file holds them.
TEST(BmpReader, PassesOverNoMoreThanAPngOfItsDataHolds)
{
    using namespace std::string_literals;
    const std::string data = "\0\1"s + std::string(19998, '\0');   // 20000 bytes that draw nothing
    struct Case {
        const char* what;
        uint32_t width;       // one row, every pixel passed over
        uint32_t imageSize;   // the header's, 0 for the codes' length
        bool loads;
    } cases[] = {
        {"as many as a PNG of 20000 bytes holds", 20000 * 1032 + 1024, 0, true},
        {"one more", 20000 * 1032 + 1025, 0, false},
        {"16 megapixels of 2 bytes of data", 1u << 24, 2, true},
        {"one more than 16 megapixels", (1u << 24) + 1, 2, false},
    };
    for (const Case& c : cases) {
        std::string bytes = rleBitmap(c.width, 1, data, 8);
        if (c.imageSize)
            bytes.replace(34, 4, le(c.imageSize, 4));
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        TBitmap bitmap;
        if (c.loads) {
            bitmap.LoadFromStream(stream);
            EXPECT_EQ(bitmap.Width(), c.width) << c.what;
        } else {
            EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic) << c.what;
        }
    }
}
