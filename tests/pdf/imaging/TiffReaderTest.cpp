// TIFF files made by netpbm, libtiff's tiffcp and ImageMagick decode like
// tifftopnm; hand-made files cover modified Huffman data and broken headers.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "ImagingTestUtil.h"
#include "LittleEndian.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "crafted/CraftedFiles.h"
#include "imaging/decoders/T4Codes.h"
#include "imaging/Errors.h"
#include "imaging/readers/TiffReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

// A random bilevel picture the width of a fax line.
bool faxPixel(uint32_t x, uint32_t y)
{
    static const std::vector<uint8_t> noise = [] {
        std::mt19937 random(23);
        std::vector<uint8_t> v(1728 * 40);
        // Runs of random lengths, some longer than the longest make-up code.
        std::size_t at = 0;
        uint8_t colour = 0;
        while (at < v.size()) {
            std::size_t run = random() % 8 == 0 ? random() % 2700 : random() % 70;
            for (std::size_t i = 0; i < run && at < v.size(); ++i)
                v[at++] = colour;
            colour ^= 1;
        }
        return v;
    }();
    return noise[(y % 40) * 1728 + x];
}

std::string sourcePicture(const std::string& kind)
{
    if (kind == "rgb")
        return makePpm(53, 37, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 4096); });
    if (kind == "gray")
        return makePgm(53, 37, 255, [](uint32_t x, uint32_t y) { return (x * 5 + y * 3) % 256; });
    if (kind == "rgb16")
        return makePpm(53, 37, 65535, [](uint32_t x, uint32_t y) { return patternColor(x, y, 4096); });
    if (kind == "gray16")
        return makePgm(53, 37, 65535, [](uint32_t x, uint32_t y) { return (x * 1237 + y * 731) % 65536; });
    if (kind == "palette")
        return makePpm(53, 37, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 16); });
    return makePbm(1728, 40, [](uint32_t x, uint32_t y) { return faxPixel(x, y); });
}

struct TiffCase {
    const char* name;
    const char* source;
    std::vector<std::string> pnmtotiff;   // options of the first step
    std::vector<std::string> tiffcp;      // recompression, when given
    int tolerance = 0;
    bool imageMagick = false;   // tifftopnm does not read YCbCr
};

void PrintTo(const TiffCase& c, std::ostream* os)
{
    *os << c.name;
}

class TiffReaderTest : public testing::TestWithParam<TiffCase> {};

std::string makeTiff(const TempDir& dir, const TiffCase& c)
{
    std::string source = dir.file("source.pnm"), base = dir.file("base.tif"), out = dir.file("picture.tif");
    writeFile(source, sourcePicture(c.source));
    std::vector<std::string> args = {"pnmtotiff"};
    args.insert(args.end(), c.pnmtotiff.begin(), c.pnmtotiff.end());
    args.push_back(source);
    ToolResult made = runTool(args);
    EXPECT_EQ(made.exitCode, 0) << made.err;
    writeFile(base, made.out);
    if (c.tiffcp.empty())
        return base;
    std::vector<std::string> copy = {"tiffcp"};
    copy.insert(copy.end(), c.tiffcp.begin(), c.tiffcp.end());
    copy.push_back(base);
    copy.push_back(out);
    ToolResult copied = runTool(copy);
    EXPECT_EQ(copied.exitCode, 0) << copied.err;
    return out;
}

} // namespace

TEST_P(TiffReaderTest, DecodesLikeTifftopnm)
{
    const TiffCase& c = GetParam();
    TempDir dir;
    std::string tif = makeTiff(dir, c);
    auto picture = loadWithRegistry(tif);
    ASSERT_NE(dynamic_cast<TTIFFGraphic*>(picture.get()), nullptr);
    Raster theirs = c.imageMagick ? decodeWithTool({"convert", tif, "ppm:-"}) : decodeWithTool({"tifftopnm", tif});
    EXPECT_EQ(rasterDifference(rasterOf(*picture), theirs, c.tolerance), "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, TiffReaderTest,
    testing::Values(
        TiffCase{"rgb_none", "rgb", {"-none", "-truecolor"}, {}},
        TiffCase{"rgb_packbits", "rgb", {"-packbits", "-truecolor"}, {}},
        TiffCase{"rgb_lzw", "rgb", {"-truecolor"}, {"-c", "lzw", "-r", "5"}},
        TiffCase{"rgb_lzw_predictor", "rgb", {"-truecolor"}, {"-c", "lzw:2", "-r", "7"}},
        TiffCase{"rgb_deflate_predictor", "rgb", {"-truecolor"}, {"-c", "zip:2"}},
        TiffCase{"rgb_big_endian", "rgb", {"-truecolor"}, {"-B", "-c", "lzw:2"}},
        TiffCase{"rgb_separate_planes", "rgb", {"-truecolor"}, {"-p", "separate", "-c", "zip:2", "-r", "8"}},
        // A strip a row: each strip's data end where the next one's begin.
        TiffCase{"rgb_row_strips_separate_big_endian", "rgb", {"-truecolor"}, {"-B", "-p", "separate", "-c", "packbits", "-r", "1"}},
        TiffCase{"gray16_row_strips_lzw_predictor", "gray16", {"-minisblack"}, {"-c", "lzw:2", "-r", "1"}, 1},
        TiffCase{"rgb_jpeg", "rgb", {"-truecolor"}, {"-c", "jpeg", "-r", "16"}, 0, true},
        TiffCase{"rgb_jpeg_rgb", "rgb", {"-truecolor"}, {"-c", "jpeg:r", "-r", "16"}, 0},
        TiffCase{"gray_deflate", "gray", {"-minisblack"}, {"-c", "zip"}},
        TiffCase{"gray_min_is_white", "gray", {"-miniswhite", "-packbits"}, {}},
        // tifftopnm rounds 16-bit samples to 8 bits, the colour manager truncates.
        TiffCase{"gray16_predictor", "gray16", {"-minisblack"}, {"-c", "lzw:2"}, 1},
        TiffCase{"gray16_big_endian", "gray16", {"-minisblack"}, {"-B", "-c", "zip:2"}, 1},
        TiffCase{"palette_lzw", "palette", {"-lzw"}, {}},
        TiffCase{"palette_big_endian", "palette", {}, {"-B", "-c", "packbits"}},
        TiffCase{"fax_g3", "fax", {"-miniswhite"}, {"-c", "g3:1d", "-r", "13"}},
        TiffCase{"fax_g3_fill", "fax", {"-miniswhite"}, {"-c", "g3:1d:fill"}},
        TiffCase{"fax_g3_reversed", "fax", {"-miniswhite"}, {"-c", "g3:1d", "-f", "lsb2msb"}},
        TiffCase{"fax_g3_big_endian", "fax", {"-miniswhite"}, {"-B", "-c", "g3:1d"}},
        TiffCase{"bits_min_is_black", "fax", {"-minisblack", "-none"}, {}}),
    [](const testing::TestParamInfo<TiffCase>& tp) { return std::string(tp.param.name); });

TEST(TiffReader, ImageMagickFiles)
{
    struct Case {
        const char* name;
        const char* source;
        std::vector<std::string> options;
        std::vector<std::string> decoder;   // the file is appended (ImageMagick: inserted)
        int tolerance;
    } cases[] = {
        {"CMYK", "rgb", {"-colorspace", "CMYK", "-compress", "LZW"}, {"tifftopnm"}, 1},
        // Two samples a pixel: the predictor adds the sample one pixel, not one byte, to the left.
        {"grey and alpha with the predictor", "gray",
         {"-alpha", "set", "-channel", "A", "-fx", "i/w", "+channel", "-define", "tiff:predictor=2", "-compress", "LZW"},
         {"convert", "-alpha", "off", "ppm:-"}, 0},
        // Separate 16-bit planes, each kept whole until the last is read
        // (tiffcp does not separate 16-bit samples).
        {"16-bit planes with the predictor", "rgb16",
         {"-interlace", "Plane", "-define", "tiff:predictor=2", "-define", "tiff:rows-per-strip=8", "-compress", "Zip"},
         {"tifftopnm"}, 1},
        {"16-bit planes in LZW strips of 5 rows", "rgb16",
         {"-interlace", "Plane", "-define", "tiff:rows-per-strip=5", "-compress", "LZW"}, {"tifftopnm"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::string source = dir.file("source.pnm"), tif = dir.file("picture.tif");
        writeFile(source, sourcePicture(c.source));
        std::vector<std::string> make = {"convert", source};
        make.insert(make.end(), c.options.begin(), c.options.end());
        make.push_back(tif);
        ToolResult made = runTool(make);
        ASSERT_EQ(made.exitCode, 0) << made.err;
        std::vector<std::string> decode = c.decoder;
        decode.insert(decode[0] == "convert" ? decode.begin() + 1 : decode.end(), tif);
        auto picture = loadWithRegistry(tif);
        EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool(decode), c.tolerance), "");
    }
}

namespace {

// A little-endian TIFF of one strip with the entries given (tag -> type and
// values); values longer than 4 bytes go after the directory.
struct Entry {
    uint16_t type;
    std::vector<uint32_t> values;
};

std::string buildTiff(std::map<uint16_t, Entry> entries, const std::string& strip)
{
    // The strip follows the header; offsets and byte count point at it unless given.
    entries.emplace(273, Entry{4, {8}});
    entries.emplace(279, Entry{4, {uint32_t(strip.size())}});
    std::erase_if(entries, [](const auto& e) { return e.second.values.empty(); });
    std::string head = "II" + le(42, 2);
    uint32_t ifd = uint32_t(8 + strip.size());
    std::string directory = le(uint32_t(entries.size()), 2), extra;
    uint32_t extraAt = ifd + 2 + 12 * uint32_t(entries.size()) + 4;
    for (const auto& [tag, e] : entries) {
        int size = e.type == 3 ? 2 : e.type == 1 ? 1 : 4;
        std::string data;
        for (uint32_t v : e.values)
            data += le(v, size);
        directory += le(tag, 2) + le(e.type, 2) + le(uint32_t(e.values.size()), 4);
        if (data.size() <= 4) {
            directory += data + std::string(4 - data.size(), '\0');
        } else {
            directory += le(extraAt + uint32_t(extra.size()), 4);
            extra += data;
        }
    }
    return head + le(ifd, 4) + strip + directory + le(0, 4) + extra;
}

// Modified Huffman lines: runs alternate from white, each line ends on a byte.
std::string encodeMh(uint32_t width, uint32_t height, bool (*black)(uint32_t, uint32_t))
{
    auto codeOf = [](bool white, int32_t value) {
        for (const TT4Code& c : white ? T4WhiteCodes() : T4BlackCodes())
            if (c.value == value)
                return std::string(c.bits);
        return std::string();
    };
    std::string out;
    for (uint32_t y = 0; y < height; ++y) {
        std::string bits;
        bool white = true;
        for (uint32_t x = 0; x < width;) {
            uint32_t run = 0;
            while (x + run < width && black(x + run, y) != white)
                ++run;
            x += run;
            while (run > 2560) {
                bits += codeOf(white, 2560);
                run -= 2560;
            }
            if (run >= 64) {
                bits += codeOf(white, int32_t(run / 64 * 64));
                run %= 64;
            }
            bits += codeOf(white, int32_t(run));
            white = !white;
        }
        while (bits.size() % 8)
            bits += '0';
        for (std::size_t i = 0; i < bits.size(); i += 8)
            out += char(std::stoi(bits.substr(i, 8), nullptr, 2));
    }
    return out;
}

std::map<uint16_t, Entry> bilevelEntries(uint32_t width, uint32_t height, uint32_t compression)
{
    return {{256, {4, {width}}}, {257, {4, {height}}}, {258, {3, {1}}},   {259, {3, {compression}}},
            {262, {3, {0}}},     {277, {3, {1}}},      {278, {4, {height}}}};
}

} // namespace

TEST(TiffReader, ModifiedHuffmanMatchesTifftopnm)
{
    TempDir dir;
    std::string tif = dir.file("mh.tif");
    writeFile(tif, buildTiff(bilevelEntries(1728, 40, 2), encodeMh(1728, 40, faxPixel)));
    auto picture = loadWithRegistry(tif);
    Raster theirs = decodeWithTool({"tifftopnm", tif});
    EXPECT_EQ(rasterDifference(rasterOf(*picture), theirs), "");
    // And both are the picture that was encoded.
    TempDir other;
    writeFile(other.file("p.pbm"), sourcePicture("fax"));
    EXPECT_EQ(rasterDifference(theirs, decodeWithTool({"pnmtopnm", other.file("p.pbm")})), "");
}

TEST(TiffReader, ThunderScanStrips)
{
    // 4 x 2 pixels of 4 bits: raw 7 and a run of three; raw 2, deltas +1, skip, -1, then raw 15.
    std::map<uint16_t, Entry> entries = {{256, {4, {4}}}, {257, {4, {2}}}, {258, {3, {4}}}, {259, {3, {32809}}},
                                         {262, {3, {1}}}, {277, {3, {1}}}, {278, {4, {2}}}};
    std::string tiff = buildTiff(entries, "\xC7\x03\xC2\x5B\xCF");
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(tiff.data()), tiff.size());
    TTIFFGraphic picture;
    picture.LoadFromStream(stream);
    ASSERT_EQ(picture.Width(), 4u);
    const uint32_t want[2][4] = {{7, 7, 7, 7}, {2, 3, 2, 15}};
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(picture.PixelColor(x, y), want[y][x] * 17 * 0x010101u) << x << "," << y;
}

TEST(TiffReader, T4CodesArePrefixFreeAndComplete)
{
    for (const auto* codes : {&T4WhiteCodes(), &T4BlackCodes()}) {
        // Kraft's sum of a complete prefix code is exactly 1 (in units of 2^-13).
        uint64_t sum = 0;
        std::map<int32_t, int> values;
        for (const TT4Code& a : *codes) {
            sum += uint64_t(1) << (13 - std::string(a.bits).size());
            ++values[a.value];
            for (const TT4Code& b : *codes) {
                if (&a != &b) {
                    EXPECT_NE(std::string(b.bits).rfind(a.bits, 0), 0u) << a.bits << " starts " << b.bits;
                }
            }
        }
        EXPECT_EQ(sum, uint64_t(1) << 13);
        EXPECT_EQ(codes->size(), 109u);
        for (int32_t v = 0; v < 64; ++v)
            EXPECT_EQ(values[v], 1) << v;
        for (int32_t v = 64; v <= 2560; v += 64)
            EXPECT_EQ(values[v], 1) << v;
    }
}

TEST(TiffReader, SecondPageByIndexAndTiledAndGroup4)
{
    TempDir dir;
    TiffCase first{"", "rgb", {"-truecolor"}, {}}, second{"", "gray", {"-minisblack"}, {}};
    std::string a = dir.file("a.tif"), b = dir.file("b.tif"), multi = dir.file("multi.tif");
    std::rename(makeTiff(dir, first).c_str(), a.c_str());
    std::rename(makeTiff(dir, second).c_str(), b.c_str());
    ASSERT_EQ(runTool({"tiffcp", a, b, multi}).exitCode, 0);
    {
        TFileStream stream(multi);
        TTIFFGraphic picture;
        picture.LoadImage(stream, 1);
        EXPECT_EQ(rasterDifference(rasterOf(picture), decodeWithTool({"tifftopnm", b})), "");
        stream.Seek(0);
        EXPECT_TRUE(picture.ReadImageProperties(stream, 1));
        stream.Seek(0);
        EXPECT_FALSE(picture.ReadImageProperties(stream, 2));
        stream.Seek(0);
        EXPECT_THROW(picture.LoadImage(stream, 2), EInvalidGraphic);
    }
    std::string tiled = dir.file("tiled.tif"), g4 = dir.file("g4.tif");
    ASSERT_EQ(runTool({"tiffcp", "-t", "-w", "16", "-l", "16", a, tiled}).exitCode, 0);
    TTIFFGraphic tiledPicture;
    tiledPicture.LoadFromFile(tiled);
    EXPECT_TRUE(tiledPicture.Empty());
    EXPECT_TRUE(tiledPicture.ImageProperties().Options & ioTiled);

    TiffCase fax{"", "fax", {"-miniswhite"}, {"-c", "g4"}};
    std::rename(makeTiff(dir, fax).c_str(), g4.c_str());
    try {
        loadWithRegistry(g4);
        ADD_FAILURE() << "Group 4 loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Cannot load image. The compression scheme is not supported for TIF/TIFF files.");
    }
}

TEST(TiffReader, BrokenHeadersFailCleanly)
{
    std::string strip(16, '\x55');
    auto gray = [](uint32_t bits, uint32_t samples, uint32_t photometric) {
        return std::map<uint16_t, Entry>{{256, {4, {4}}},         {257, {4, {4}}},   {258, {3, {bits}}},
                                         {259, {3, {1}}},         {262, {3, {photometric}}},
                                         {277, {3, {samples}}},   {278, {4, {4}}}};
    };
    auto with = [](std::map<uint16_t, Entry> e, uint16_t tag, Entry value) {
        e[tag] = value;
        return e;
    };
    std::vector<uint32_t> bigMap(3 * 512, 0x8000);
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"bits 128 x 2 samples", buildTiff(gray(128, 2, 1), strip),
         "Cannot load image. Invalid or unexpected TIF/TIFF image format."},
        {"RGB of one sample", buildTiff(gray(8, 1, 2), strip), "Invalid color format in TIF/TIFF file."},
        {"CMYK of three samples", buildTiff(gray(8, 3, 5), strip), "Invalid color format in TIF/TIFF file."},
        {"colour map too long", buildTiff(with(gray(8, 1, 3), 320, {3, bigMap}), strip),
         "Cannot load image. Palette in TIF/TIFF file is invalid."},
        {"colour map too short", buildTiff(with(gray(4, 1, 3), 320, {3, std::vector<uint32_t>(30, 1)}), strip),
         "Cannot load image. Palette in TIF/TIFF file is invalid."},
        {"two offsets, one count", buildTiff(with(gray(8, 1, 1), 273, {4, {8, 8}}), strip),
         "Cannot load image. Invalid or unexpected TIF/TIFF image format."},
        {"no byte counts", buildTiff(with(gray(8, 1, 1), 279, {4, {}}), strip),
         "Cannot load image. Invalid or unexpected TIF/TIFF image format."},
        {"strip past the end", buildTiff(with(gray(8, 1, 1), 273, {4, {1000}}), strip), "Stream read error"},
        {"zero width", buildTiff(with(gray(8, 1, 1), 256, {4, {0}}), strip),
         "Cannot load image. Invalid or unexpected TIF/TIFF image format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        TTIFFGraphic picture;
        try {
            picture.LoadFromStream(stream);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

namespace {

// Horizontal differences of one row, `samples` bytes a pixel.
std::string differenced(const std::string& row, std::size_t samples)
{
    std::string out = row;
    for (std::size_t k = samples; k < row.size(); ++k)
        out[k] = char(row[k] - row[k - samples]);
    return out;
}

std::string packedLiterals(const std::string& data)
{
    std::string out;
    for (std::size_t at = 0; at < data.size(); at += 128) {
        std::string chunk = data.substr(at, 128);
        out += char(chunk.size() - 1) + chunk;
    }
    return out;
}

} // namespace

// Writers point strips that hold the same rows at one copy of their data. Each
// strip must still give the rows of its own, whether the strips that share a
// copy follow each other or not, across planes, with the predictor, and when
// the last strip has fewer rows than the copy it points at.
TEST(TiffReader, StripsSharingOneCopyGiveTheirOwnRows)
{
    struct Case {
        const char* name;
        uint32_t compression;   // 8 deflate, 32773 PackBits
        bool planar, predictor;
        uint32_t rowsPerStrip;
    } cases[] = {
        {"deflate, predictor, contiguous", 8, false, true, 2},
        {"deflate, predictor, planar", 8, true, true, 1},
        {"PackBits, contiguous", 32773, false, false, 1},
        {"PackBits, planar", 32773, true, false, 3},
    };
    const uint32_t width = 5, height = 7;
    // The copy each strip reads, in turn; the third is first read in the second plane.
    const std::vector<uint32_t> copyOf = {0, 0, 1, 0, 1, 1, 0, 2, 2, 0, 2};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t samples = c.planar ? 1 : 3, line = width * samples;
        auto sample = [&](uint32_t copy, uint32_t row, uint32_t at) { return uint8_t(copy * 71 + row * 29 + at * 13); };
        std::string data;
        std::vector<uint32_t> copyAt, copySize;
        for (uint32_t copy = 0; copy < 3; ++copy) {
            std::string rows;
            for (uint32_t r = 0; r < c.rowsPerStrip; ++r) {
                std::string row;
                for (uint32_t at = 0; at < line; ++at)
                    row += char(sample(copy, r, at));
                rows += c.predictor ? differenced(row, samples) : row;
            }
            std::string packed = c.compression == 8 ? deflated(rows) : packedLiterals(rows);
            copyAt.push_back(uint32_t(data.size()));
            copySize.push_back(uint32_t(packed.size()));
            data += packed;
        }
        uint32_t stripsPerPlane = (height + c.rowsPerStrip - 1) / c.rowsPerStrip;
        std::vector<uint32_t> offsets, counts;
        for (uint32_t s = 0; s < stripsPerPlane * (c.planar ? 3 : 1); ++s) {
            offsets.push_back(copyAt[copyOf[s % copyOf.size()]]);
            counts.push_back(copySize[copyOf[s % copyOf.size()]]);
        }
        auto entries = tiffTags(width, height, 3, c.compression, 2, c.rowsPerStrip);
        entries[284] = {3, {c.planar ? 2u : 1u}};
        entries[317] = {3, {c.predictor ? 2u : 1u}};
        TempDir dir;
        std::string file = dir.file("shared.tif");
        writeFile(file, tiffOverData(entries, data, offsets, counts));

        Raster want{width, height, {}};
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                for (uint32_t k = 0; k < 3; ++k) {
                    uint32_t strip = (c.planar ? k * stripsPerPlane : 0) + y / c.rowsPerStrip;
                    uint32_t at = c.planar ? x : x * 3 + k;
                    want.rgb.push_back(sample(copyOf[strip % copyOf.size()], y % c.rowsPerStrip, at));
                }
        EXPECT_EQ(rasterDifference(rasterOf(*loadWithRegistry(file)), want), "");
    }
}

namespace {

uint32_t littleEndian(const std::string& s, std::size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | uint8_t(s.at(at + std::size_t(i)));
    return v;
}

// Points every strip of a little-endian TIFF whose packed bytes repeat an
// earlier strip's at that strip's data, as writers that store identical
// strips once do. Returns how many strips it pointed elsewhere.
std::size_t pointIdenticalStripsAtOneCopy(std::string& tiff)
{
    if (tiff.substr(0, 2) != "II")
        return 0;
    std::size_t ifd = littleEndian(tiff, 4, 4), entries = littleEndian(tiff, ifd, 2);
    // Where each array's values are, and how wide each is.
    std::map<uint16_t, std::pair<std::size_t, int>> arrays;
    uint32_t strips = 0;
    for (std::size_t k = 0; k < entries; ++k) {
        std::size_t at = ifd + 2 + 12 * k;
        uint16_t tag = uint16_t(littleEndian(tiff, at, 2));
        int width = littleEndian(tiff, at + 2, 2) == 3 ? 2 : 4;
        uint32_t count = littleEndian(tiff, at + 4, 4);
        if (tag == 273 || tag == 279) {
            arrays[tag] = {count * width <= 4 ? at + 8 : littleEndian(tiff, at + 8, 4), width};
            strips = count;
        }
    }
    if (arrays.size() != 2)
        return 0;
    auto [offsetsAt, offsetWidth] = arrays[273];
    auto [countsAt, countWidth] = arrays[279];
    std::map<std::string, uint32_t> firstAt;
    std::size_t pointed = 0;
    for (uint32_t s = 0; s < strips; ++s) {
        uint32_t offset = littleEndian(tiff, offsetsAt + s * offsetWidth, offsetWidth);
        std::string data = tiff.substr(offset, littleEndian(tiff, countsAt + s * countWidth, countWidth));
        auto [first, isNew] = firstAt.emplace(data, offset);
        if (isNew)
            continue;
        for (int i = 0; i < offsetWidth; ++i)
            tiff[offsetsAt + s * offsetWidth + std::size_t(i)] = char(first->second >> (8 * i));
        ++pointed;
    }
    return pointed;
}

} // namespace

// A mostly white picture in strips of 16 rows: its white strips pack to the
// same few bytes, and pointed at one copy of them they make a file of 3 KB
// for 900 KB of samples, less than deflate's best ratio allows. Strips that
// repeat a strip are copies of its rows and need no data of their own.
TEST(TiffReader, FlatStripsPointedAtOneCopyLoadLikeTheirOwn)
{
    ASSERT_TRUE(toolsInstalled({"convert", "tiffcp", "tifftopnm"}));
    TempDir dir;
    std::string raw = dir.file("raw.tif"), own = dir.file("own.tif"), shared = dir.file("shared.tif");
    ToolResult made = runTool({"convert", "-size", "300x1000", "xc:white", "-fill", "#204080", "-draw",
                               "circle 150,500 150,510", "-alpha", "off", "-type", "TrueColor", "-depth", "8", "-compress", "none", raw});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    ToolResult copied = runTool({"tiffcp", "-r", "16", "-c", "zip", raw, own});
    ASSERT_EQ(copied.exitCode, 0) << copied.err;
    std::string bytes = readFile(own);
    ASSERT_GE(pointIdenticalStripsAtOneCopy(bytes), 50u);
    writeFile(shared, bytes);
    EXPECT_EQ(rasterDifference(rasterOf(*loadWithRegistry(shared)), decodeWithTool({"tifftopnm", own})), "");
}
