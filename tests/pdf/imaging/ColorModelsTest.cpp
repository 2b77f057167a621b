// Every colour model of TIFF and Photoshop files, 8 and 16 bits a sample, in
// both byte orders and with extra samples, decodes as ImageMagick decodes it.
// L*a*b* files relative to D50 (what Photoshop and TIFF files without a white
// point hold) are checked against lcms, the ICC's reference engine: ImageMagick
// and libvips both take L*a*b* as relative to D65.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Bitmap.h"

namespace {

struct ModelCase {
    const char* name;
    const char* extension;              // "tif" or "psd"
    int depth;                          // bits a sample
    bool alpha;                         // the picture gets an alpha channel
    std::vector<std::string> options;   // ImageMagick's, before the output file
    std::vector<std::string> tiffcp;    // rewritten by tiffcp with these, when given
    int tolerance;
    bool vips = false;                  // libvips, not ImageMagick, decodes the reference
};

void PrintTo(const ModelCase& c, std::ostream* os)
{
    *os << c.name;
}

// L*a*b* pictures keep away from the edges of the sRGB gamut: ImageMagick
// stores negative a* and b* up to two units off, which moves colours at the
// edge out of the gamut, where each decoder clips in its own way.
std::string sourcePicture(bool muted)
{
    return makePpm(41, 23, 65535, [muted](uint32_t x, uint32_t y) {
        uint32_t c = patternColor(x, y, 4096);
        if (!muted)
            return c;
        uint32_t out = 0;
        for (int shift : {16, 8, 0})
            out |= (48 + ((c >> shift) & 255) * 160 / 255) << shift;
        return out;
    });
}

// What libvips makes of the file: L*a*b* taken as relative to D65, as
// ImageMagick writes it (it also names D65 as the file's white point).
Raster decodeWithVips(const TempDir& dir, const std::string& file)
{
    std::string srgb = dir.file("srgb.v"), three = dir.file("three.v"), ppm = dir.file("vips.ppm");
    for (const std::vector<std::string>& step :
         {std::vector<std::string>{"vips", "colourspace", file, srgb, "srgb"},
          std::vector<std::string>{"vips", "extract_band", srgb, three, "0", "--n", "3"},
          std::vector<std::string>{"vips", "copy", three, ppm}}) {
        ToolResult result = runTool(step);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    return parsePnm(readFile(ppm));
}

// The file as ImageMagick made it, and that file as tiffcp rewrote it, if asked.
struct MadeFiles {
    std::string made, rewritten;
};

MadeFiles makeWithImageMagick(const TempDir& dir, const ModelCase& c)
{
    std::string source = dir.file("source.ppm"), made = dir.file(std::string("made.") + c.extension);
    writeFile(source, sourcePicture(c.vips));
    std::vector<std::string> args = {"convert", source};
    if (c.alpha)
        args.insert(args.end(), {"-alpha", "set", "-channel", "A", "-fx", "(i+j)/(w+h)", "+channel"});
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"-depth", std::to_string(c.depth), made});
    ToolResult result = runTool(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    if (c.tiffcp.empty())
        return {made, made};
    std::string copied = dir.file("copied.tif");
    std::vector<std::string> copy = {"tiffcp"};
    copy.insert(copy.end(), c.tiffcp.begin(), c.tiffcp.end());
    copy.insert(copy.end(), {made, copied});
    result = runTool(copy);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return {made, copied};
}

class ColorModels : public testing::TestWithParam<ModelCase> {};

} // namespace

TEST_P(ColorModels, DecodeLikeImageMagick)
{
    const ModelCase& c = GetParam();
    ASSERT_TRUE(toolsInstalled({"convert", "tiffcp", "vips"}));
    TempDir dir;
    MadeFiles files = makeWithImageMagick(dir, c);
    auto picture = loadWithRegistry(files.rewritten);
    ASSERT_NE(picture, nullptr);
    // tiffcp changes how the pixels are stored, not what they are; ImageMagick
    // and libvips both misread separate planes of grey and alpha.
    std::string made = files.made;
    Raster theirs = c.vips ? decodeWithVips(dir, made)
                           : decodeWithTool({"convert", made, "-alpha", "off", "-depth", "8", "ppm:-"});
    EXPECT_EQ(rasterDifference(rasterOf(*picture), theirs, c.tolerance), "");
}

// 16-bit samples are truncated to 8 bits where ImageMagick rounds. ImageMagick
// decodes its own 16-bit L*a*b* files as far as 30 levels from the colours it
// was given (libvips and this library within 7), so libvips is the referee for
// them. Its 8-bit L*a*b* files hold a* and b* up to 6 units off, and both tools
// decode 8-bit L*a*b* their own way: those are checked against lcms below.
INSTANTIATE_TEST_SUITE_P(
    Files, ColorModels,
    testing::Values(
        ModelCase{"tiff_rgb8", "tif", 8, false, {}, {}, 0},
        ModelCase{"tiff_rgb8_big_endian", "tif", 8, false, {}, {"-B"}, 0},
        ModelCase{"tiff_rgb16_little_endian", "tif", 16, false, {}, {"-L"}, 1},
        ModelCase{"tiff_rgb16_big_endian", "tif", 16, false, {}, {"-B"}, 1},
        ModelCase{"tiff_rgb16_alpha_big_endian", "tif", 16, true, {}, {"-B"}, 1},
        ModelCase{"tiff_grey8", "tif", 8, false, {"-colorspace", "Gray"}, {}, 0},
        ModelCase{"tiff_grey16_big_endian", "tif", 16, false, {"-colorspace", "Gray"}, {"-B"}, 1},
        ModelCase{"tiff_grey8_alpha_separate_planes", "tif", 8, true, {"-colorspace", "Gray"},
                  {"-p", "separate"}, 0},
        ModelCase{"tiff_cmyk8", "tif", 8, false, {"-colorspace", "CMYK"}, {}, 1},
        ModelCase{"tiff_cmyk8_big_endian", "tif", 8, false, {"-colorspace", "CMYK"}, {"-B"}, 1},
        ModelCase{"tiff_cmyk16_little_endian", "tif", 16, false, {"-colorspace", "CMYK"}, {"-L"}, 1},
        ModelCase{"tiff_cmyk16_big_endian", "tif", 16, false, {"-colorspace", "CMYK"}, {"-B"}, 1},
        ModelCase{"tiff_cmyk8_alpha", "tif", 8, true, {"-colorspace", "CMYK"}, {}, 1},
        ModelCase{"tiff_cmyk16_alpha_big_endian", "tif", 16, true, {"-colorspace", "CMYK"}, {"-B"}, 1},
        ModelCase{"tiff_cmyk8_alpha_separate_planes", "tif", 8, true, {"-colorspace", "CMYK"},
                  {"-p", "separate"}, 1},
        ModelCase{"tiff_cmyk8_alpha_lzw_predictor", "tif", 8, true, {"-colorspace", "CMYK"}, {"-c", "lzw:2"}, 1},
        ModelCase{"tiff_lab16_little_endian", "tif", 16, false, {"-colorspace", "Lab"}, {"-L"}, 2, true},
        ModelCase{"tiff_lab16_big_endian", "tif", 16, false, {"-colorspace", "Lab"}, {"-B"}, 2, true},
        ModelCase{"tiff_lab16_alpha", "tif", 16, true, {"-colorspace", "Lab"}, {}, 2, true},
        ModelCase{"psd_rgb8", "psd", 8, false, {}, {}, 0},
        ModelCase{"psd_rgb16", "psd", 16, false, {}, {}, 1},
        ModelCase{"psd_rgb16_uncompressed", "psd", 16, false, {"-compress", "none"}, {}, 1},
        ModelCase{"psd_grey8", "psd", 8, false, {"-colorspace", "Gray"}, {}, 0},
        ModelCase{"psd_grey16", "psd", 16, false, {"-colorspace", "Gray"}, {}, 1},
        ModelCase{"psd_cmyk8", "psd", 8, false, {"-colorspace", "CMYK"}, {}, 1},
        ModelCase{"psd_cmyk16", "psd", 16, false, {"-colorspace", "CMYK"}, {}, 1},
        ModelCase{"psd_cmyk8_alpha", "psd", 8, true, {"-colorspace", "CMYK"}, {}, 1},
        ModelCase{"psd_cmyk16_alpha_uncompressed", "psd", 16, true, {"-colorspace", "CMYK", "-compress", "none"},
                  {}, 1}),
    [](const testing::TestParamInfo<ModelCase>& tp) { return std::string(tp.param.name); });

namespace {

// L*a*b* colours across the gamut and beyond it, a row per lightness.
struct LabGrid {
    static constexpr double kL[] = {0, 4, 20, 42, 60, 80, 100};
    static constexpr double kA[] = {-80, -30, 0, 30, 67};
    static constexpr double kB[] = {-90, -32, 0, 32, 70};
    static constexpr uint32_t kWidth = 25, kHeight = 7;
    static double L(uint32_t, uint32_t y) { return kL[y]; }
    static double a(uint32_t x, uint32_t) { return kA[x / 5]; }
    static double b(uint32_t x, uint32_t) { return kB[x % 5]; }
};

// How a file stores L*, a* and b*, and what the stored numbers mean.
struct LabEncoding {
    const char* name;
    int bits;
    bool offset;   // a* and b* unsigned with 128 (or 32768) for zero; else signed
};

uint32_t encodeL(double L, int bits)
{
    return uint32_t(std::lround(L * (bits == 8 ? 255 : 65535) / 100));
}

uint32_t encodeAB(double v, const LabEncoding& e)
{
    long scaled = std::lround(e.bits == 8 ? v : v * 256);
    if (e.offset)
        return uint32_t(scaled + (e.bits == 8 ? 128 : 32768));
    return uint32_t(scaled) & (e.bits == 8 ? 0xFF : 0xFFFF);
}

// What the stored numbers stand for, as lcms is given them.
std::array<double, 3> decoded(uint32_t x, uint32_t y, const LabEncoding& e)
{
    double unit = e.bits == 8 ? 1 : 256;
    auto ab = [&](double v) {
        uint32_t stored = encodeAB(v, e);
        if (e.offset)
            return stored / unit - 128;
        return (e.bits == 8 ? double(int8_t(stored)) : double(int16_t(stored))) / unit;
    };
    return {encodeL(LabGrid::L(x, y), e.bits) * 100.0 / (e.bits == 8 ? 255 : 65535), ab(LabGrid::a(x, y)),
            ab(LabGrid::b(x, y))};
}

void put(std::string& out, uint32_t v, int bytes, bool big)
{
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * (big ? bytes - 1 - i : i)));
}

// Chunky samples of the grid.
std::string labSamples(const LabEncoding& e, bool big)
{
    std::string out;
    for (uint32_t y = 0; y < LabGrid::kHeight; ++y)
        for (uint32_t x = 0; x < LabGrid::kWidth; ++x) {
            put(out, encodeL(LabGrid::L(x, y), e.bits), e.bits / 8, big);
            put(out, encodeAB(LabGrid::a(x, y), e), e.bits / 8, big);
            put(out, encodeAB(LabGrid::b(x, y), e), e.bits / 8, big);
        }
    return out;
}

// One uncompressed strip of L*a*b* samples; no white point, so D50.
std::string labTiff(const LabEncoding& e, bool big)
{
    std::string strip = labSamples(e, big);
    struct Entry {
        uint16_t tag, type;
        uint32_t value;
    } entries[] = {{256, 4, LabGrid::kWidth}, {257, 4, LabGrid::kHeight}, {258, 3, uint32_t(e.bits)},
                   {259, 3, 1},                {262, 3, e.offset ? 9u : 8u}, {273, 4, 8},
                   {277, 3, 3},                {278, 4, LabGrid::kHeight},   {279, 4, uint32_t(strip.size())}};
    std::string out = big ? "MM" : "II";
    put(out, 42, 2, big);
    put(out, uint32_t(8 + strip.size()), 4, big);
    out += strip;
    put(out, uint32_t(std::size(entries)), 2, big);
    for (const Entry& entry : entries) {
        put(out, entry.tag, 2, big);
        put(out, entry.type, 2, big);
        put(out, 1, 4, big);
        // A short value lies in the first two bytes of the field.
        if (entry.type == 3) {
            put(out, entry.value, 2, big);
            put(out, 0, 2, big);
        } else {
            put(out, entry.value, 4, big);
        }
    }
    put(out, 0, 4, big);
    return out;
}

// A Photoshop file of the grid in Lab mode: three raw planes, big-endian.
std::string labPsd(const LabEncoding& e)
{
    std::string out = "8BPS";
    put(out, 1, 2, true);
    out += std::string(6, '\0');
    put(out, 3, 2, true);
    put(out, LabGrid::kHeight, 4, true);
    put(out, LabGrid::kWidth, 4, true);
    put(out, uint32_t(e.bits), 2, true);
    put(out, 9, 2, true);
    for (int section = 0; section < 3; ++section)
        put(out, 0, 4, true);
    put(out, 0, 2, true);
    for (int plane = 0; plane < 3; ++plane)
        for (uint32_t y = 0; y < LabGrid::kHeight; ++y)
            for (uint32_t x = 0; x < LabGrid::kWidth; ++x) {
                uint32_t v = plane == 0   ? encodeL(LabGrid::L(x, y), e.bits)
                             : plane == 1 ? encodeAB(LabGrid::a(x, y), e)
                                          : encodeAB(LabGrid::b(x, y), e);
                put(out, v, e.bits / 8, true);
            }
    return out;
}

// The grid as lcms converts it from D50 L*a*b* to sRGB (relative colorimetric).
Raster labReference(const LabEncoding& e)
{
    std::ostringstream input;
    input.precision(10);
    for (uint32_t y = 0; y < LabGrid::kHeight; ++y)
        for (uint32_t x = 0; x < LabGrid::kWidth; ++x) {
            std::array<double, 3> lab = decoded(x, y, e);
            input << lab[0] << " " << lab[1] << " " << lab[2] << "\n";
        }
    ToolResult result = runTool({"transicc", "-i", "*Lab", "-o", "*sRGB", "-t", "1", "-n"}, input.str());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    Raster r{LabGrid::kWidth, LabGrid::kHeight, {}};
    std::istringstream out(result.out);
    double v;
    while (out >> v)
        r.rgb.push_back(uint8_t(std::lround(std::clamp(v, 0.0, 255.0))));
    EXPECT_EQ(r.rgb.size(), std::size_t(LabGrid::kWidth) * LabGrid::kHeight * 3);
    return r;
}

} // namespace

TEST(ColorModels, LabRelativeToD50MatchesLcms)
{
    ASSERT_TRUE(toolsInstalled({"transicc"}));
    const LabEncoding encodings[] = {
        {"CIE, 8 bits", 8, false}, {"CIE, 16 bits", 16, false}, {"ICC, 8 bits", 8, true}, {"ICC, 16 bits", 16, true}};
    for (const LabEncoding& e : encodings) {
        Raster reference = labReference(e);
        for (bool big : {false, true}) {
            SCOPED_TRACE(std::string("TIFF, ") + e.name + (big ? ", big-endian" : ", little-endian"));
            TempDir dir;
            std::string file = dir.file("lab.tif");
            writeFile(file, labTiff(e, big));
            auto picture = loadWithRegistry(file);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(rasterDifference(rasterOf(*picture), reference, 2), "");
        }
        if (e.offset) {
            // Photoshop's encoding is ICC's.
            SCOPED_TRACE(std::string("Photoshop, ") + e.name);
            TempDir dir;
            std::string file = dir.file("lab.psd");
            writeFile(file, labPsd(e));
            auto picture = loadWithRegistry(file);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(rasterDifference(rasterOf(*picture), reference, 2), "");
        }
    }
}
