// PNG files of every colour type, bit depth and interlace method, made by
// netpbm and ImageMagick, decode exactly as pngtopam decodes them.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/PngReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

struct PngCase {
    const char* name;
    bool gray;            // source is a PGM
    uint32_t maxval;
    uint32_t colors;      // distinct colours of a PPM source
    const char* alpha;    // "" none, "netpbm" or "magick"
    int colorType, bitDepth;
};

const PngCase kCases[] = {
    {"gray1", true, 1, 0, "", 0, 1},
    {"gray2", true, 3, 0, "", 0, 2},
    {"gray4", true, 15, 0, "", 0, 4},
    {"gray8", true, 255, 0, "", 0, 8},
    {"gray16", true, 65535, 0, "", 0, 16},
    {"rgb8", false, 255, 1000, "", 2, 8},
    {"rgb16", false, 65535, 1000, "", 2, 16},
    {"palette1", false, 255, 2, "", 3, 1},
    {"palette2", false, 255, 4, "", 3, 2},
    {"palette4", false, 255, 16, "", 3, 4},
    {"palette8", false, 255, 200, "", 3, 8},
    {"grayAlpha8", true, 255, 0, "magick", 4, 8},
    {"grayAlpha16", true, 65535, 0, "netpbm", 4, 16},
    {"rgba8", false, 255, 1000, "netpbm", 6, 8},
    {"rgba16", false, 65535, 1000, "netpbm", 6, 16},
};

struct PngParam {
    PngCase c;
    bool interlaced;
    uint32_t width, height;
};

void PrintTo(const PngParam& p, std::ostream* os)
{
    *os << p.c.name << (p.interlaced ? " interlaced" : "");
}

std::string paramName(const testing::TestParamInfo<PngParam>& info)
{
    return std::string(info.param.c.name) + (info.param.interlaced ? "_adam7_" : "_") +
           std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

std::vector<PngParam> allParams()
{
    std::vector<PngParam> out;
    for (const PngCase& c : kCases)
        for (bool interlaced : {false, true})
            out.push_back({c, interlaced, 37, 23});
    // Pictures smaller than one interlace block leave passes empty.
    out.push_back({kCases[5], true, 1, 1});
    out.push_back({kCases[9], true, 3, 2});
    return out;
}

// Makes the PNG with an outside tool; returns its path.
std::string makePng(const TempDir& dir, const PngParam& p)
{
    const PngCase& c = p.c;
    std::string source = dir.file(c.gray ? "source.pgm" : "source.ppm");
    std::string alpha = dir.file("alpha.pgm");
    std::string png = dir.file("picture.png");
    auto level = [](uint32_t x, uint32_t y) { return x * 7 + y * 11 + x * y; };
    if (c.gray)
        writeFile(source, makePgm(p.width, p.height, c.maxval, level));
    else
        writeFile(source, makePpm(p.width, p.height, c.maxval, [&](uint32_t x, uint32_t y) {
                      return patternColor(x, y, c.colors);
                  }));
    writeFile(alpha, makePgm(p.width, p.height, c.maxval, [](uint32_t x, uint32_t y) { return x * 3 + y * 29; }));
    std::string magickAlpha = dir.file("magick.png");
    if (std::string(c.alpha) == "magick") {
        std::vector<std::string> args = {"convert", source, alpha, "-alpha", "off", "-compose", "CopyOpacity",
                                         "-composite", "-define", "png:color-type=4", "-define", "png:bit-depth=8"};
        if (p.interlaced)
            args.insert(args.end(), {"-interlace", "PNG"});
        args.push_back(png);
        EXPECT_EQ(runTool(args).exitCode, 0);
        return png;
    }
    std::vector<std::string> args = {"pnmtopng"};
    if (p.interlaced)
        args.push_back("-interlace");
    if (std::string(c.alpha) == "netpbm")
        args.push_back("-alpha=" + alpha);
    if (c.colorType == 2 || c.colorType == 6)
        args.push_back("-force");
    args.push_back(source);
    ToolResult made = runTool(args);
    EXPECT_EQ(made.exitCode, 0) << made.err;
    writeFile(png, made.out);
    return png;
}

class PngReaderTest : public testing::TestWithParam<PngParam> {};

} // namespace

TEST_P(PngReaderTest, DecodesLikePngtopam)
{
    const PngParam& p = GetParam();
    TempDir dir;
    std::string png = makePng(dir, p);
    std::string bytes = readFile(png);
    ASSERT_GT(bytes.size(), 29u);
    // The tool made the kind of file this case is about.
    ASSERT_EQ(int(uint8_t(bytes[24])), p.c.bitDepth);
    ASSERT_EQ(int(uint8_t(bytes[25])), p.c.colorType);
    ASSERT_EQ(int(uint8_t(bytes[28])), p.interlaced ? 1 : 0);

    auto picture = loadWithRegistry(png);
    ASSERT_NE(dynamic_cast<TPNGGraphic*>(picture.get()), nullptr);
    Raster theirs = decodeWithTool({"pngtopam", png});
    EXPECT_EQ(rasterDifference(rasterOf(*picture), theirs), "");
}

INSTANTIATE_TEST_SUITE_P(AllKinds, PngReaderTest, testing::ValuesIn(allParams()), paramName);

namespace {

uint32_t crcOf(const std::string& typeAndData);

// A PNG built chunk by chunk, for files no tool would write.
std::string chunk(const std::string& type, const std::string& data)
{
    auto be = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    return be(uint32_t(data.size())) + type + data + be(crcOf(type + data));
}

} // namespace

#include <zlib.h>

namespace {

uint32_t crcOf(const std::string& s)
{
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(s.data()), uInt(s.size())));
}

std::string ihdr(uint32_t w, uint32_t h, uint8_t depth, uint8_t type)
{
    std::string d = {char(w >> 24), char(w >> 16), char(w >> 8), char(w), char(h >> 24), char(h >> 16),
                     char(h >> 8), char(h), char(depth), char(type), 0, 0, 0};
    return chunk("IHDR", d);
}

std::string deflated(const std::string& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
    out.resize(size);
    return out;
}

const std::string kSig = "\x89PNG\r\n\x1a\n";

// A 2x2 8-bit grey picture with the given chunk placed before the image data.
std::string grayWith(const std::string& extra)
{
    std::string rows = std::string("\0\x10\x20\0\x30\x40", 6);
    return kSig + ihdr(2, 2, 8, 0) + extra + chunk("IDAT", deflated(rows)) + chunk("IEND", "");
}

std::string loadError(const std::string& bytes)
{
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    TPNGGraphic png;
    try {
        png.LoadFromStream(stream);
    } catch (const EInvalidGraphic& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(PngReader, ChunkRules)
{
    struct Case {
        const char* what;
        std::string file;
        const char* error;
    };
    auto flipped = [](std::string s, std::size_t at) {
        s[at] = char(s[at] ^ 1);
        return s;
    };
    const std::size_t afterHeader = kSig.size() + 25;
    const Case cases[] = {
        {"plain", grayWith(""), ""},
        {"ancillary unknown chunk", grayWith(chunk("zzZz", "x")), ""},
        {"critical unknown chunk", grayWith(chunk("ZZZZ", "x")),
         "Cannot load PNG image. Unexpected but critical chunk detected."},
        {"chunk names in any case", kSig + ihdr(2, 2, 8, 0) + chunk("idat", deflated(std::string("\0\x10\x20\0\x30\x40", 6))) + chunk("iend", ""), ""},
        {"first chunk not IHDR", kSig + chunk("tEXt", "a") + ihdr(2, 2, 8, 0), "Cannot load image. Invalid or unexpected PNG image format."},
        {"zero width", kSig + ihdr(0, 2, 8, 0) + chunk("IEND", ""), "Cannot load image. Invalid or unexpected PNG image format."},
        {"palette of 769 bytes", kSig + ihdr(2, 2, 8, 3) + chunk("PLTE", std::string(769, 'a')) + chunk("IEND", ""),
         "Cannot load image. Palette in PNG file is invalid."},
        {"bad CRC of a read chunk", flipped(grayWith(chunk("gAMA", std::string("\0\0\xb1\x8f", 4))), afterHeader + 12),
         "Cannot load image. CRC error found in PNG file."},
        {"bad CRC of a skipped chunk", flipped(grayWith(chunk("tEXt", "a")), afterHeader + 9), ""},
        {"colour type 2 at 4 bits", kSig + ihdr(2, 2, 4, 2) + chunk("IDAT", deflated("xx")) + chunk("IEND", ""),
         "Invalid color format in PNG file."},
        {"indexed without palette", kSig + ihdr(2, 2, 8, 3) + chunk("IDAT", deflated(std::string(6, '\0'))) + chunk("IEND", ""),
         "Cannot load image. Palette in PNG file is invalid."},
        {"image data cut short", kSig + ihdr(2, 2, 8, 0) + chunk("IDAT", deflated(std::string("\0\x10\x20", 3))) + chunk("IEND", ""),
         "Cannot load image. Extra compressed data found in PNG file."},
        {"no IEND", kSig + ihdr(2, 2, 8, 0) + chunk("IDAT", deflated(std::string("\0\x10\x20\0\x30\x40", 6))), "Stream read error"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadError(c.file), c.error) << c.what;
}

TEST(PngReader, SixteenBitRgbUsesSixBytesPerPixelForFilters)
{
    // One row, two pixels, Sub filter: the second pixel adds the first (6 bytes back).
    std::string row = std::string("\x01", 1) + std::string("\x10\x00\x20\x00\x30\x00\x01\x00\x01\x00\x01\x00", 12);
    std::string file = kSig + ihdr(2, 1, 16, 2) + chunk("IDAT", deflated(row)) + chunk("IEND", "");
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    TPNGGraphic png;
    png.LoadFromStream(stream);
    EXPECT_EQ(png.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(png.PixelColor(1, 0), 0x302010u);   // 0x3100 / 257, 0x2100 / 257, 0x1100 / 257
}

TEST(PngReader, ReportsThreeStageProgress)
{
    std::string file = grayWith("");
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    TPNGGraphic png;
    std::vector<std::pair<TProgressStage, std::string>> events;
    int lastPercent = -1;
    png.OnProgress = [&](TProgressStage stage, int percent, bool, const TProgressRect&, const std::string& m) {
        events.push_back({stage, m});
        if (stage == TProgressStage::psRunning)
            lastPercent = percent;
    };
    png.LoadFromStream(stream);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().second, "Preparing...");
    EXPECT_EQ(events.back().first, TProgressStage::psEnding);
    EXPECT_EQ(lastPercent, 50);   // the last of two rows reports row 1 of 2
    bool transfer = false;
    for (auto& e : events)
        transfer = transfer || e.second == "Transfering...";
    EXPECT_TRUE(transfer);
}
