// GIF files from pamtogif decode like giftopnm; hand-made files cover the
// header rules.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/GifReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

struct GifParam {
    uint32_t colors;
    bool interlaced;
};

void PrintTo(const GifParam& p, std::ostream* os)
{
    *os << p.colors << " colours" << (p.interlaced ? " interlaced" : "");
}

class GifReaderTest : public testing::TestWithParam<GifParam> {};

} // namespace

TEST_P(GifReaderTest, DecodesLikeGiftopnm)
{
    const GifParam& p = GetParam();
    TempDir dir;
    std::string source = dir.file("source.ppm"), gif = dir.file("picture.gif");
    writeFile(source, makePpm(61, 43, 255, [&](uint32_t x, uint32_t y) { return patternColor(x, y, p.colors); }));
    std::vector<std::string> args = {"pamtogif"};
    if (p.interlaced)
        args.push_back("-interlace");
    args.push_back(source);
    ToolResult made = runTool(args);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    writeFile(gif, made.out);

    auto picture = loadWithRegistry(gif);
    ASSERT_NE(dynamic_cast<TGIFGraphic*>(picture.get()), nullptr);
    EXPECT_EQ(picture->PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"giftopnm", gif})), "");
}

INSTANTIATE_TEST_SUITE_P(ColoursAndInterlace, GifReaderTest,
                         testing::Values(GifParam{2, false}, GifParam{2, true}, GifParam{16, false},
                                         GifParam{16, true}, GifParam{256, false}, GifParam{256, true}),
                         [](const testing::TestParamInfo<GifParam>& tp) {
                             return std::to_string(tp.param.colors) + (tp.param.interlaced ? "_interlaced" : "");
                         });

namespace {

std::string le16(uint32_t v)
{
    return {char(v & 255), char(v >> 8)};
}

// LZW codes of literal pixels only: a clear code before the code width would grow.
std::vector<uint32_t> literalCodes(const std::vector<uint8_t>& pixels, int codeSize)
{
    uint32_t clear = 1u << codeSize;
    std::vector<uint32_t> codes;
    uint32_t perClear = (1u << codeSize) - 2;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % perClear == 0)
            codes.push_back(clear);
        codes.push_back(pixels[i]);
    }
    return codes;
}

// Codes of one width, least significant bit first.
std::string packCodes(const std::vector<uint32_t>& codes, uint32_t width)
{
    std::string bytes;
    uint32_t buffer = 0, held = 0;
    for (uint32_t code : codes) {
        buffer |= code << held;
        held += width;
        while (held >= 8) {
            bytes += char(buffer & 255);
            buffer >>= 8;
            held -= 8;
        }
    }
    if (held)
        bytes += char(buffer & 255);
    return bytes;
}

std::string subBlocks(const std::string& bytes)
{
    std::string blocks;
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
        std::string part = bytes.substr(at, 255);
        blocks += char(part.size()) + part;
    }
    return blocks + std::string(1, '\0');
}

std::string literalLzw(const std::vector<uint8_t>& pixels, int codeSize)
{
    std::vector<uint32_t> codes = literalCodes(pixels, codeSize);
    codes.push_back((1u << codeSize) + 1);
    return std::string(1, char(codeSize)) + subBlocks(packCodes(codes, codeSize + 1));
}

struct GifSpec {
    std::string signature = "GIF89a";
    uint32_t screenWidth = 4, screenHeight = 5;
    uint32_t width = 4, height = 5;
    bool interlaced = false;
    int localTableEntries = 0;   // 0: a global table of 4 entries
    std::string extensions;
    bool image = true;
    std::string imageData;   // LZW code size and sub-blocks; empty: literalLzw of the pixels
};

std::string makeGif(const GifSpec& s, const std::vector<uint8_t>& pixels)
{
    std::string out = s.signature + le16(s.screenWidth) + le16(s.screenHeight);
    out += s.localTableEntries ? char(0) : char(0x81);
    out += std::string("\0\0", 2);
    if (!s.localTableEntries)
        out += std::string("\0\0\0\xff\xff\xff\xff\0\0\0\0\xff", 12);
    out += s.extensions;
    if (s.image) {
        out += "," + le16(0) + le16(0) + le16(s.width) + le16(s.height);
        uint8_t packed = (s.interlaced ? 0x40 : 0);
        if (s.localTableEntries) {
            int code = 0;
            while ((2 << code) < s.localTableEntries)
                ++code;
            packed |= uint8_t(0x80 | code);
        }
        out += char(packed);
        for (int i = 0; i < s.localTableEntries; ++i)
            out += std::string{char(i * 16), char(i * 16), char(i * 16)};
        out += s.imageData.empty() ? literalLzw(pixels, 2) : s.imageData;
    }
    return out + ";";
}

std::unique_ptr<TGIFGraphic> load(const std::string& bytes)
{
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    auto gif = std::make_unique<TGIFGraphic>();
    gif->LoadFromStream(stream);
    return gif;
}

} // namespace

TEST(GifReader, HeaderRules)
{
    std::vector<uint8_t> pixels = {0, 1, 2, 3, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 0, 0, 0, 0};
    GifSpec lower;
    lower.signature = "gif89a";
    EXPECT_EQ(load(makeGif(lower, pixels))->PixelColor(1, 0), 0xFFFFFFu);

    GifSpec zeroWidth;
    zeroWidth.width = 0;
    auto gif = load(makeGif(zeroWidth, pixels));
    EXPECT_EQ(gif->Width(), 4u);

    GifSpec local;
    local.localTableEntries = 16;
    gif = load(makeGif(local, pixels));
    EXPECT_EQ(gif->ImageProperties().BitsPerSample, 4);
    EXPECT_EQ(gif->PixelColor(3, 0), 0x303030u);

    GifSpec noImage;
    noImage.image = false;
    noImage.extensions = std::string("!\xfe\x03" "abc\0", 7) + std::string("!\xf9\x04\0\0\0\0\0", 8);
    gif = load(makeGif(noImage, pixels));
    EXPECT_TRUE(gif->Empty());
}

TEST(GifReader, InterlacedRowsGoToTheirPlaces)
{
    // Decoded rows 0..4 belong to scan lines 0, 4, 2, 1, 3.
    GifSpec spec;
    spec.interlaced = true;
    std::vector<uint8_t> pixels;
    for (uint8_t row = 0; row < 5; ++row)
        pixels.insert(pixels.end(), 4, uint8_t(row % 4));
    auto gif = load(makeGif(spec, pixels));
    const uint8_t expected[5] = {0, 3, 2, 0, 1};
    for (uint32_t y = 0; y < 5; ++y)
        EXPECT_EQ(gif->ScanLine(y)[0], expected[y]) << "scan line " << y;
}

namespace {

// A picture of the four palette entries, changing from row to row.
std::vector<uint8_t> rowsPattern(uint32_t width, uint32_t rows)
{
    std::vector<uint8_t> pixels;
    for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < width; ++x)
            pixels.push_back(uint8_t((x / 7 + y) % 4));
    return pixels;
}

// The image data of a literal stream with the given code size byte, whatever
// codes the stream was written with.
std::string withCodeSizeByte(std::string data, int codeSize)
{
    data[0] = char(codeSize);
    return data;
}

} // namespace

TEST(GifReader, DataThatEndBeforeTheLastPixelAreRefused)
{
    // Each file holds enough bytes to pass the check of what its data could
    // ever fill; only counting what they did fill finds them out.
    const uint32_t clear = 4, end = 5;
    std::vector<uint32_t> fivePixelsThenClears = literalCodes({1, 2, 3, 1, 2}, 2);
    fivePixelsThenClears.insert(fivePixelsThenClears.end(), 300, clear);
    std::vector<uint32_t> fivePixelsThenPadding = literalCodes({1, 2, 3, 1, 2}, 2);
    fivePixelsThenPadding.push_back(end);
    fivePixelsThenPadding.insert(fivePixelsThenPadding.end(), 300, 0);
    const std::string whole200 = literalLzw(rowsPattern(200, 200), 2);
    struct Case {
        const char* what;
        uint32_t width, height;
        bool interlaced;
        std::string data;
    } cases[] = {
        {"200 x 200, data of 100 rows", 200, 200, false, literalLzw(rowsPattern(200, 100), 2)},
        {"200 x 200 interlaced, data of 100 rows", 200, 200, true, literalLzw(rowsPattern(200, 100), 2)},
        {"1000 x 1000, five pixels and clear codes", 1000, 1000, false,
         std::string(1, '\2') + subBlocks(packCodes(fivePixelsThenClears, 3))},
        {"1000 x 1000, five pixels, end code and padding", 1000, 1000, false,
         std::string(1, '\2') + subBlocks(packCodes(fivePixelsThenPadding, 3))},
        {"code size 0", 200, 200, false, withCodeSizeByte(whole200, 0)},
        {"code size 15", 200, 200, false, withCodeSizeByte(whole200, 15)},
        {"code size 12", 200, 200, false, withCodeSizeByte(whole200, 12)},
    };
    for (const Case& c : cases) {
        GifSpec spec;
        spec.screenWidth = spec.width = c.width;
        spec.screenHeight = spec.height = c.height;
        spec.interlaced = c.interlaced;
        spec.imageData = c.data;
        try {
            load(makeGif(spec, {}));
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Cannot load image. Compression error found in GIF file.") << c.what;
        }
    }
}

TEST(GifReader, StreamsWithoutAnEndCodeLoadWhenEveryPixelIsThere)
{
    // Many encoders stop after the last pixel's code; padding bits may follow.
    std::vector<uint8_t> pixels = rowsPattern(30, 20);
    std::vector<uint32_t> codes = literalCodes(pixels, 2);
    for (bool interlaced : {false, true}) {
        GifSpec spec;
        spec.screenWidth = spec.width = 30;
        spec.screenHeight = spec.height = 20;
        spec.interlaced = interlaced;
        spec.imageData = std::string(1, '\2') + subBlocks(packCodes(codes, 3));
        auto gif = load(makeGif(spec, {}));
        ASSERT_EQ(gif->Height(), 20u);
        // Row k of the data goes to scan line k, or to its interlaced place.
        const uint32_t order[20] = {0, 8, 16, 4, 12, 2, 6, 10, 14, 18, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19};
        for (uint32_t k = 0; k < 20; ++k) {
            uint32_t line = interlaced ? order[k] : k;
            for (uint32_t x = 0; x < 30; ++x)
                ASSERT_EQ(gif->ScanLine(line)[x], pixels[k * 30 + x]) << "data row " << k << " x " << x;
        }
    }
}

TEST(GifReader, ImageMagickFilesLoadLikeGiftopnm)
{
    // Interlaced, several frames (the first is read), a first frame smaller
    // than the screen and placed inside it, and frames optimized to the part
    // that changes.
    ASSERT_TRUE(toolsInstalled({"convert", "giftopnm"}));
    TempDir dir;
    std::string a = dir.file("a.ppm"), b = dir.file("b.ppm");
    writeFile(a, makePpm(61, 43, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 200); }));
    writeFile(b, makePpm(61, 43, 255, [](uint32_t x, uint32_t y) { return patternColor(y, x, 30); }));
    struct Case {
        const char* name;
        std::vector<std::string> options;
        uint32_t width, height;
    } cases[] = {
        {"plain.gif", {a}, 61, 43},
        {"interlaced.gif", {a, "-interlace", "GIF"}, 61, 43},
        {"frames.gif", {"-delay", "10", a, b, "-loop", "0"}, 61, 43},
        {"small-frame.gif", {a, "-repage", "150x100+20+10"}, 61, 43},
        {"optimized.gif", {"-delay", "10", b, "(", a, "-crop", "20x10+5+5", ")", "-layers", "optimize"}, 61, 43},
    };
    for (const Case& c : cases) {
        std::string gif = dir.file(c.name);
        std::vector<std::string> args = {"convert"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(gif);
        ToolResult made = runTool(args);
        ASSERT_EQ(made.exitCode, 0) << c.name << ": " << made.err;
        auto picture = loadWithRegistry(gif);
        ASSERT_NE(dynamic_cast<TGIFGraphic*>(picture.get()), nullptr) << c.name;
        EXPECT_EQ(picture->Width(), c.width) << c.name;
        EXPECT_EQ(picture->Height(), c.height) << c.name;
        EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"giftopnm", gif})), "") << c.name;
    }
}
