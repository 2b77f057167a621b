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

// LZW data of literal codes only: a clear code before the code width would grow.
std::string literalLzw(const std::vector<uint8_t>& pixels, int codeSize)
{
    uint32_t clear = 1u << codeSize, width = codeSize + 1;
    std::vector<uint32_t> codes;
    uint32_t perClear = (1u << codeSize) - 2;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % perClear == 0)
            codes.push_back(clear);
        codes.push_back(pixels[i]);
    }
    codes.push_back(clear + 1);
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
    std::string blocks;
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
        std::string part = bytes.substr(at, 255);
        blocks += char(part.size()) + part;
    }
    return std::string(1, char(codeSize)) + blocks + std::string(1, '\0');
}

struct GifSpec {
    std::string signature = "GIF89a";
    uint32_t screenWidth = 4, screenHeight = 5;
    uint32_t width = 4, height = 5;
    bool interlaced = false;
    int localTableEntries = 0;   // 0: a global table of 4 entries
    std::string extensions;
    bool image = true;
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
        out += literalLzw(pixels, 2);
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
