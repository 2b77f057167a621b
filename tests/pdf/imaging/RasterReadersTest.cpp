// Targa, PCX, SGI, portable map and Photoshop files made by netpbm and
// ImageMagick decode as those tools decode them; hand-made files cover the
// header rules and broken files.
#include <gtest/gtest.h>

#include <fstream>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/PcxReader.h"
#include "imaging/readers/PpmReader.h"
#include "imaging/readers/PsdReader.h"
#include "imaging/readers/SgiReader.h"
#include "imaging/readers/TargaReader.h"
#include "imaging/Registry.h"
#include "imaging/PictureLoader.h"
#include "imaging/Stream.h"

using namespace vum;
using namespace std::string_literals;

namespace {

std::string source(const std::string& kind)
{
    auto ramp = [](uint32_t x, uint32_t y) { return (x * 5 + y * 3) % 256; };
    if (kind == "rgb")
        return makePpm(45, 31, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 4096); });
    for (uint32_t colors : {4u, 8u, 16u})
        if (kind == std::to_string(colors))
            return makePpm(45, 31, 255, [colors](uint32_t x, uint32_t y) { return patternColor(x, y, colors); });
    if (kind == "256")
        return makePpm(45, 31, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 200); });
    if (kind == "gray")
        return makePgm(45, 31, 255, ramp);
    if (kind == "gray15")
        return makePgm(45, 31, 15, [](uint32_t x, uint32_t y) { return (x + y) % 16; });
    if (kind == "gray16")
        return makePgm(45, 31, 65535, [](uint32_t x, uint32_t y) { return (x * 1237 + y * 731) % 65536; });
    if (kind == "rgb16")
        return makePpm(45, 31, 65535, [](uint32_t x, uint32_t y) { return patternColor(x, y, 4096) * 257 % 65536; });
    return makePbm(45, 31, [](uint32_t x, uint32_t y) { return (x * 3 + y * y) % 7 < 3; });
}

struct ToolCase {
    const char* name;
    const char* source;
    const char* file;                      // the name of the made file; its extension picks the reader
    std::vector<std::string> make;         // the tool making it, the source appended; "-" writes to stdout
    std::vector<std::string> decode;       // the tool decoding it, the file appended
    const TGraphicClass* graphicClass;
    int tolerance = 0;
};

void PrintTo(const ToolCase& c, std::ostream* os)
{
    *os << c.name;
}

class ToolMadeFiles : public testing::TestWithParam<ToolCase> {};

} // namespace

TEST_P(ToolMadeFiles, DecodeLikeTheTools)
{
    const ToolCase& c = GetParam();
    TempDir dir;
    std::string input = dir.file("source.pnm"), file = dir.file(c.file);
    writeFile(input, source(c.source));
    std::vector<std::string> make = c.make;
    bool toStdout = make.back() == "-";
    if (toStdout)
        make.pop_back();
    make.push_back(input);
    if (!toStdout)
        make.push_back(file);
    ToolResult made = runTool(make);
    ASSERT_EQ(made.exitCode, 0) << made.err;
    if (toStdout)
        writeFile(file, made.out);
    EXPECT_EQ(FindPictureClass(file), c.graphicClass);
    auto picture = loadWithRegistry(file);
    // "source": the tools do not read the file back; the picture must equal its source.
    std::vector<std::string> decode = c.decode;
    if (decode[0] == "source")
        decode = {"pnmtopnm", input};
    else
        decode.insert(decode.begin() + (decode[0] == "convert" ? 1 : long(decode.size())),
                      decode[0] == "convert" ? file + "[0]" : file);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool(decode), c.tolerance), "");
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ToolMadeFiles,
    testing::Values(
        ToolCase{"ppm_raw", "rgb", "p.ppm", {"pnmtopnm", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"ppm_plain", "rgb", "p.ppm", {"pnmtopnm", "-plain", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"pgm_raw", "gray", "p.pgm", {"pnmtopnm", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"pgm_plain_maxval_15", "gray15", "p.pgm", {"pnmtopnm", "-plain", "-"}, {"pnmtopnm"},
                 &TPPMGraphicClass},
        ToolCase{"pgm_16_bit", "gray16", "p.pgm", {"pnmtopnm", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"ppm_16_bit_plain", "rgb16", "p.ppm", {"pnmtopnm", "-plain", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"pbm_raw", "bits", "p.pbm", {"pnmtopnm", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"pbm_plain", "bits", "p.pbm", {"pnmtopnm", "-plain", "-"}, {"pnmtopnm"}, &TPPMGraphicClass},
        ToolCase{"tga_rgb_rle", "rgb", "p.tga", {"pamtotga", "-rgb", "-"}, {"tgatoppm"}, &TTargaGraphicClass},
        ToolCase{"tga_rgb_raw", "rgb", "p.tga", {"pamtotga", "-rgb", "-norle", "-"}, {"tgatoppm"}, &TTargaGraphicClass},
        ToolCase{"tga_mapped_rle", "256", "p.tga", {"pamtotga", "-cmap", "-"}, {"tgatoppm"}, &TTargaGraphicClass},
        ToolCase{"tga_mapped_raw", "16", "p.tga", {"pamtotga", "-cmap", "-norle", "-"}, {"tgatoppm"},
                 &TTargaGraphicClass},
        ToolCase{"tga_grey_rle", "gray", "p.tga", {"pamtotga", "-mono", "-"}, {"tgatoppm"}, &TTargaGraphicClass},
        ToolCase{"pcx_24_bit", "rgb", "p.pcx", {"ppmtopcx", "-24bit", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_8_bit", "256", "p.pcx", {"ppmtopcx", "-8bit", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_2_planes", "4", "p.pcx", {"ppmtopcx", "-planes", "2", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_3_planes", "8", "p.pcx", {"ppmtopcx", "-planes", "3", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_4_planes", "16", "p.pcx", {"ppmtopcx", "-planes", "4", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_4_bit_packed", "16", "p.pcx", {"ppmtopcx", "-packed", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"pcx_1_bit", "bits", "p.pcx", {"ppmtopcx", "-"}, {"pcxtoppm"}, &TPCXGraphicClass},
        ToolCase{"sgi_rgb_rle", "rgb", "p.sgi", {"pnmtosgi", "-rle", "-"}, {"sgitopnm"}, &TSGIGraphicClass},
        ToolCase{"sgi_rgb_verbatim", "rgb", "p.sgi", {"pnmtosgi", "-verbatim", "-"}, {"sgitopnm"}, &TSGIGraphicClass},
        ToolCase{"sgi_grey_rle", "gray", "p.bw", {"pnmtosgi", "-rle", "-"}, {"sgitopnm"}, &TSGIGraphicClass},
        ToolCase{"sgi_grey_16_bit", "gray16", "p.sgi", {"pnmtosgi", "-verbatim", "-"}, {"sgitopnm"}, &TSGIGraphicClass,
                 1},
        ToolCase{"sgi_rgb_16_bit_rle", "rgb16", "p.sgi", {"pnmtosgi", "-rle", "-"}, {"sgitopnm"}, &TSGIGraphicClass, 1},
        ToolCase{"psd_rgb", "rgb", "p.psd", {"convert"}, {"convert", "ppm:-"}, &TPSDGraphicClass},
        ToolCase{"psd_rgb_raw", "rgb", "p.psd", {"convert", "-compress", "None"}, {"convert", "ppm:-"},
                 &TPSDGraphicClass},
        ToolCase{"psd_grey", "gray", "p.psd", {"convert", "-colorspace", "Gray"}, {"convert", "ppm:-"},
                 &TPSDGraphicClass},
        ToolCase{"psd_cmyk", "rgb", "p.psd", {"convert", "-colorspace", "CMYK"}, {"convert", "-colorspace", "sRGB", "ppm:-"},
                 &TPSDGraphicClass, 1},
        ToolCase{"psd_indexed", "16", "p.psd", {"convert", "-type", "Palette"}, {"source"}, &TPSDGraphicClass},
        ToolCase{"psd_16_bit", "rgb16", "p.psd", {"convert", "-depth", "16"}, {"convert", "ppm:-"}, &TPSDGraphicClass,
                 1},
        ToolCase{"psd_grey_16_bit", "gray16", "p.psd", {"convert", "-depth", "16", "-colorspace", "Gray"},
                 {"convert", "ppm:-"}, &TPSDGraphicClass, 1}),
    [](const testing::TestParamInfo<ToolCase>& tp) { return std::string(tp.param.name); });

TEST(TargaWriter, RoundTripsThroughTgatoppmTopRowFirst)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string picture;
        uint8_t type, depth;
    } cases[] = {
        {"p.ppm", source("rgb"), 10, 24},
        {"p.pgm", source("gray"), 9, 8},
        {"p.pbm", source("bits"), 9, 8},
        {"p.tga", "", 10, 32},   // a 32-bit picture: the RGBA Targa ImageMagick makes
    };
    ASSERT_EQ(runTool({"convert", "-size", "45x31", "gradient:red-blue", "-alpha", "set", "-channel", "A",
                       "-evaluate", "set", "60%", "+channel", dir.file("p.tga")})
                  .exitCode,
              0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string in = dir.file(c.name), out = dir.file(std::string("written-") + c.name + ".tga");
        if (!c.picture.empty())
            writeFile(in, c.picture);
        auto picture = loadWithRegistry(in);
        TTargaGraphic targa;
        targa.Assign(*picture);
        targa.SaveToFile(out);
        std::string bytes = readFile(out);
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(uint8_t(bytes[2]), c.type);
        EXPECT_EQ(uint8_t(bytes[16]), c.depth);
        EXPECT_EQ(uint8_t(bytes[17]), 0x20);
        EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"tgatoppm", out})), "");
        EXPECT_EQ(rasterDifference(rasterOf(*picture), rasterOf(*loadWithRegistry(out))), "");
    }
}

namespace {

struct BytesCase {
    const char* name;
    std::string bytes;
    const char* error;   // "" when the file loads
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> firstRow = {};   // 0xRRGGBB
};

template <class T>
void loadCases(const std::vector<BytesCase>& cases)
{
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        T picture;
        try {
            picture.LoadFromStream(stream);
            EXPECT_STREQ("", c.error);
            ASSERT_EQ(picture.Width(), c.width);
            ASSERT_EQ(picture.Height(), c.height);
            for (uint32_t x = 0; x < c.firstRow.size(); ++x) {
                uint32_t bgr = picture.PixelColor(x, 0);
                uint32_t rgb = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | bgr >> 16;
                EXPECT_EQ(rgb, c.firstRow[x]) << "pixel " << x;
            }
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
}

std::string le16(uint32_t v)
{
    return {char(v & 255), char(v >> 8 & 255)};
}

std::string be16(uint32_t v)
{
    return {char(v >> 8 & 255), char(v & 255)};
}

std::string be32(uint32_t v)
{
    return be16(v >> 16) + be16(v);
}

std::string pcx(uint32_t xmin, uint32_t xmax, uint8_t planes, uint8_t bits, uint16_t planeBytes, const std::string& data)
{
    std::string h(128, '\0');
    h[0] = 10;
    h[1] = 5;
    h[2] = 0;
    h[3] = char(bits);
    h.replace(4, 2, le16(xmin));
    h.replace(8, 2, le16(xmax));
    h[65] = char(planes);
    h.replace(66, 2, le16(planeBytes));
    return h + data;
}

std::string psd(uint16_t channels, uint16_t depth, uint16_t mode, uint32_t width, uint32_t height, const std::string& data)
{
    return "8BPS" + be16(1) + std::string(6, '\0') + be16(channels) + be32(height) + be32(width) + be16(depth) +
           be16(mode) + be32(0) + be32(0) + be32(0) + be16(0) + data;
}

const char* const kPpmInvalid = "Cannot load image. Invalid or unexpected PBM, PGM or PPM image format.";
const char* const kPpmShort = "Stream read error in PPM file.";

} // namespace

TEST(PortableMaps, HeadersAsTheFormatPagesDescribeThem)
{
    loadCases<TPPMGraphic>({
        {"one-line header", "P6 2 1 255\n\xff\x00\x00\x00\x00\xff"s, "", 2, 1, {0xFF0000, 0x0000FF}},
        {"comments", "P5\n# made by hand\n3 # width\n1\n255 \x00\x80\xff"s, "", 3, 1,
         {0x000000, 0x808080, 0xFFFFFF}},
        {"plain bits without separators", "P1\n5 1\n01101", "", 5, 1,
         {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF, 0x000000}},
        {"plain grey scaled by its maximum", "P2 2 1 3 0 3", "", 2, 1, {0x000000, 0xFFFFFF}},
        {"16-bit raw samples", "P5 2 1 65535\n\xff\xff\x80\x00"s, "", 2, 1, {0xFFFFFF, 0x7F7F7F}},
        {"maximum 0", "P2 1 1 0 0          ", kPpmInvalid},
        {"maximum beyond 16 bits", "P2 1 1 70000 0          ", kPpmInvalid},
        {"zero width", "P5 0 1 255\n          ", kPpmInvalid},
        {"letters in the header", "P5 x 1 255\n          ", kPpmInvalid},
        {"raw data cut short", std::string("P6 4 4 255\n") + "abcdefgh", kPpmShort},
        {"plain data cut short", "P3 4 4 255 1 2 3 4 5 6 7", kPpmShort},
        {"huge and empty", "P4 10000 10000\n  ", kPpmShort},
    });
}

TEST(BrokenHeaders, PcxPsdTargaAndSgi)
{
    const char* pcxInvalid = "Cannot load image. Invalid or unexpected PCX or SCR image format.";
    const char* psdInvalid = "Cannot load image. Invalid or unexpected PSD or PDD image format.";
    loadCases<TPCXGraphic>({
        {"Xmin 10, Xmax 19", pcx(10, 19, 1, 8, 10, std::string(10, '\x01')), "", 10, 1},
        {"Xmax before Xmin", pcx(19, 10, 1, 8, 10, std::string(10, '\x01')), pcxInvalid},
        {"plane rows narrower than the picture", pcx(0, 19, 1, 8, 10, std::string(20, '\x01')), pcxInvalid},
        {"two planes of two bits", pcx(0, 7, 2, 2, 2, std::string(4, '\x01')), "Invalid color format in PCX file."},
        {"cut short", pcx(0, 99, 1, 8, 100, std::string(20, '\x01')), "Stream read error"},
    });
    loadCases<TPSDGraphic>({
        {"RGB", psd(3, 8, 3, 2, 1, std::string("\xff\x00\x00\x00\x00\xff", 6)), "", 2, 1, {0xFF0000, 0x0000FF}},
        {"CMYK with three channels", psd(3, 8, 4, 2, 1, std::string(6, '\0')), psdInvalid},
        {"RGB with two channels", psd(2, 8, 3, 2, 1, std::string(4, '\0')), psdInvalid},
        {"indexed 16-bit", psd(1, 16, 2, 2, 1, std::string(4, '\0')), psdInvalid},
        {"bitmap of 8 bits", psd(1, 8, 0, 2, 1, std::string(2, '\0')), psdInvalid},
        {"bitmap", psd(1, 1, 0, 10, 1, std::string("\x80\x40", 2)), "", 10, 1,
         {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x000000}},
        {"data cut short", psd(3, 8, 3, 100, 100, std::string(6, '\0')), "Stream read error"},
    });
    std::string tgaHeader = std::string("\0\0\x0a\0\0\0\0\x18\0\0\0\0", 12) + le16(200) + le16(200) + "\x18\x20";
    std::string mapped = std::string("\0\x01\x01\0\0\x02\0\0\0\0\0\0", 12) + le16(2) + le16(1) + "\x08\x20"s;
    loadCases<TTargaGraphic>({
        {"run-length data cut short", tgaHeader + "\xff\x01\x02\x03", "Stream read error"},
        {"colour map entries of 0 bits", mapped + "\x00\x01"s, "Cannot load image. Palette in Targa file is invalid."},
        {"a packet running into the next row",
         std::string("\0\0\x0a\0\0\0\0\x18\0\0\0\0", 12) + le16(2) + le16(2) + "\x18\x20" + "\x82\x00\x00\xff\x00\x00\x00\xff"s,
         "", 2, 2, {0xFF0000, 0xFF0000}},
    });
    std::string sgi = be16(474) + "\x01\x01" + be16(3) + be16(4) + be16(4) + be16(3) + std::string(500, '\0');
    loadCases<TSGIGraphic>({
        {"run-length tables beyond the file", sgi + "xx", "Stream read error"},
        {"no channels", be16(474) + "\x00\x01"s + be16(3) + be16(4) + be16(4) + be16(0) + std::string(600, '\0'),
         "Cannot load image. Invalid or unexpected sgi, bw or rgb(a) image format."},
        {"row start beyond the file", sgi + std::string(12, '\0') + be32(100000) + std::string(92, '\0'), "Stream read error"},
    });
}
