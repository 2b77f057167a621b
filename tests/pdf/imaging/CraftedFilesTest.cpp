// Crafted files of every reader end in a clear error, or load as the right
// picture, within a small memory limit: each is loaded in a child process
// whose address space is capped, guarded by a watchdog that only catches hangs.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <sstream>

#include "ChildProcess.h"
#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "crafted/CraftedFiles.h"
#include "imaging/Bitmap.h"

namespace {

// What a reader may take beyond the process it runs in; the largest good case
// needs about 12 MB.
constexpr uint64_t kMemoryLimit = uint64_t(256) << 20;

// Loads the file in a child process under the memory limit and tells what
// came of it.
std::string loadUnderLimit(const std::string& file, uint64_t limit = kMemoryLimit)
{
    const ChildOutcome child = runInChild([&] {
        capAddressSpace(limit);
        std::ostringstream result;
        try {
            auto picture = loadWithRegistry(file);
            uint32_t pixel = picture->Empty() ? 0 : picture->PixelColor(0, 0);
            result << "loaded " << picture->Width() << " " << picture->Height() << " "
                   << ((pixel & 0xFF) << 16 | (pixel & 0xFF00) | pixel >> 16);
        } catch (const std::bad_alloc&) {
            result << "out of memory";
        } catch (const std::exception& e) {
            result << "error " << e.what();
        }
        return result.str();
    });
    if (!child.finished)
        return "child ended abnormally (status " + std::to_string(child.status) + ")";
    return child.text;
}

class CraftedFiles : public ::testing::TestWithParam<CraftedCase> {};

} // namespace

void PrintTo(const CraftedCase& c, std::ostream* out)
{
    *out << c.name;
}

namespace {

std::string caseName(const ::testing::TestParamInfo<CraftedCase>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

} // namespace

TEST_P(CraftedFiles, FailClearlyOrLoadTheRightPictureWithinTheLimit)
{
    const CraftedCase& c = GetParam();
    if (!c.madeBy.empty()) {
        ASSERT_TRUE(toolsInstalled({"convert"}));
    }
    TempDir dir;
    std::string file = writeCrafted(dir.path().string(), c);
    std::string result = loadUnderLimit(file);
    if (c.error.empty()) {
        std::ostringstream want;
        want << "loaded " << c.width << " " << c.height << " " << c.firstPixel;
        EXPECT_EQ(result, want.str());
    } else {
        EXPECT_EQ(result, "error " + c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReader, CraftedFiles, ::testing::ValuesIn(craftedCases()), caseName);

// Small files whose rows or strips all point at one piece of data, or whose
// run-length codes end at once, while their headers declare pictures of
// hundreds of megabytes: each must be refused before the picture is allocated.
// Beside them, files that share data or pass pixels over honestly, and still load.
namespace {

using namespace std::string_literals;

// What a refusal may take: far less than any of the declared pictures.
constexpr uint64_t kRefusalLimit = uint64_t(64) << 20;

std::string be16(uint32_t v)
{
    return {char(v >> 8), char(v)};
}

std::string be32(uint32_t v)
{
    return be16(v >> 16) + be16(v & 0xFFFF);
}

std::string le16(uint32_t v)
{
    return {char(v), char(v >> 8)};
}

std::string le32(uint32_t v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// RGB, 8 bits, `size` x `size`, every row offset pointing at the header.
std::string rlaRowsAtHeader(uint16_t size)
{
    std::string h(740, '\0');
    auto put = [&](std::size_t at, const std::string& v) { h.replace(at, v.size(), v); };
    std::string window = be16(0) + be16(size - 1u) + be16(0) + be16(size - 1u);
    put(0, window);
    put(8, window);
    put(16, be16(1) + be16(0) + be16(3) + be16(0) + be16(0) + be16(0xFFFE));
    put(28, "1.0");
    put(580, "rgb");
    put(658, be16(8));
    return h + std::string(4 * std::size_t(size), '\0');
}

// A run-length bitmap (RLE8, or RLE4 for 4 bits) of `size` x `size` with a
// grey palette of 16 entries.
std::string bmpRle(uint32_t size, const std::string& codes, int bits = 8)
{
    std::string palette;
    for (int i = 0; i < 16; ++i)
        palette += {char(i * 16), char(i * 16), char(i * 16), '\0'};
    uint32_t bitsAt = 14 + 40 + uint32_t(palette.size());
    std::string info = le32(40) + le32(size) + le32(size) + le16(1) + le16(uint16_t(bits)) + le32(bits == 8 ? 1 : 2) +
                       le32(uint32_t(codes.size())) + le32(2835) + le32(2835) + le32(16) + le32(0);
    return "BM" + le32(bitsAt + uint32_t(codes.size())) + le32(0) + le32(bitsAt) + info + palette + codes;
}

// Runs of one index across a row.
std::string bmpRuns(uint32_t width, uint8_t index)
{
    std::string out;
    for (; width > 0; width -= std::min<uint32_t>(width, 255))
        out += {char(std::min<uint32_t>(width, 255)), char(index)};
    return out;
}

// A deflate TIFF of `size` x `size` in one strip a row, 8-bit grey or RGB,
// whose strips all point at one deflated row of `value`.
std::string tiffSharedStrip(uint32_t size, uint32_t samples, uint8_t value)
{
    std::string row = deflated(std::string(std::size_t(size) * samples, char(value)));
    uint32_t ifdAt = 8 + uint32_t(row.size());
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        std::string values;
    };
    std::vector<Entry> entries = {
        {256, 4, 1, le32(size)}, {257, 4, 1, le32(size)}, {258, 3, samples, repeated(le16(8), samples)},
        {259, 3, 1, le16(8)}, {262, 3, 1, le16(samples == 3 ? 2 : 1)}, {273, 4, size, repeated(le32(8), size)},
        {277, 3, 1, le16(samples)}, {278, 4, 1, le32(1)}, {279, 4, size, repeated(le32(uint32_t(row.size())), size)},
    };
    uint32_t extraAt = ifdAt + 2 + 12 * uint32_t(entries.size()) + 4;
    std::string directory = le16(uint32_t(entries.size())), extra;
    for (const Entry& e : entries) {
        directory += le16(e.tag) + le16(e.type) + le32(e.count);
        if (e.values.size() <= 4) {
            directory += e.values + std::string(4 - e.values.size(), '\0');
        } else {
            directory += le32(extraAt + uint32_t(extra.size()));
            extra += e.values;
        }
    }
    return "II"s + le16(42) + le32(ifdAt) + row + directory + le32(0) + extra;
}

// A run-length RGB SGI of `size` x `size` whose row table points every row of
// every channel at one row of runs of 0x40, as writers store a flat picture
// that share identical rows.
std::string sgiSharedRun(uint16_t size)
{
    std::string h = be16(474) + "\x01\x01"s + be16(3) + be16(size) + be16(size) + be16(3);
    h += std::string(512 - h.size(), '\0');
    std::string packets;
    for (uint32_t left = size; left > 0; left -= std::min<uint32_t>(left, 127))
        packets += {char(std::min<uint32_t>(left, 127)), '\x40'};
    packets += '\0';
    std::size_t rows = std::size_t(size) * 3;
    return h + repeated(be32(uint32_t(512 + 8 * rows)), rows) + repeated(be32(uint32_t(packets.size())), rows) + packets;
}

// The same, but row i reads its runs from the i-th byte of data whose bytes
// are all 0x7F: each row has data enough of its own, but all the rows
// together read about one byte a row, far less than the picture needs.
std::string sgiOverlappingRows(uint16_t size)
{
    std::string h = be16(474) + "\x01\x01"s + be16(3) + be16(size) + be16(size) + be16(3);
    h += std::string(512 - h.size(), '\0');
    std::size_t rows = std::size_t(size) * 3;
    uint32_t dataAt = uint32_t(512 + 8 * rows);
    std::string starts;
    for (std::size_t i = 0; i < rows; ++i)
        starts += be32(dataAt + uint32_t(i));
    uint32_t packetsPerRow = (size + 126u) / 127u;
    return h + starts + repeated(be32(2 * packetsPerRow), rows) + std::string(rows + 2 * packetsPerRow, '\x7f');
}

// A sprite: `codes` and a delta `rows` up, `times` times over, then the end of the bitmap.
std::string bmpDeltaSprite(uint32_t size, int bits, const std::string& codes, uint8_t rows, int times)
{
    return bmpRle(size, repeated(codes + "\0\2\0"s + char(rows), std::size_t(times)) + "\0\1"s, bits);
}

struct CostlyCase {
    const char* name;
    std::string (*make)();
    std::string result;   // what loading under the limit gives
};

std::string compressionError(const std::string& format)
{
    return "error Cannot load image. Compression error found in " + format + " file.";
}

const CostlyCase kCostlyCases[] = {
    {"rla-rows-at-header.rla", [] { return rlaRowsAtHeader(16000); }, compressionError("RLA")},
    {"bmp-rle-ends-at-once.bmp", [] { return bmpRle(16384, "\0\1"s); }, "error Bitmap image is not valid"},
    {"bmp-rle-without-codes.bmp", [] { return bmpRle(16384, ""); }, "error Bitmap image is not valid"},
    {"sgi-overlapping-rows.sgi", [] { return sgiOverlappingRows(16384); }, compressionError("sgi, bw or rgb(a)")},
    // Two pixels every 120 rows of 15000, deltas between: 870 bytes.
    {"bmp-rle8-delta-sprite.bmp", [] { return bmpDeltaSprite(15000, 8, "\2\7"s, 120, 125); },
     "error Bitmap image is not valid"},
    {"bmp-rle4-delta-sprite.bmp", [] { return bmpDeltaSprite(15000, 4, "\2\x77"s, 120, 125); },
     "error Bitmap image is not valid"},
    {"bmp-rle-end-of-lines.bmp", [] { return bmpRle(16384, repeated("\1\7\0\0"s, 16384) + "\0\1"s); },
     "error Bitmap image is not valid"},
    // Honest files: flat TIFF and SGI pictures whose strips or rows share one
    // copy (they cost the picture they declare, as a flat PNG does), bitmaps
    // that pass most of their pixels over with deltas or by ending early, as a
    // sprite on an empty background does.
    {"tiff-small-shared-strip.tif", [] { return tiffSharedStrip(64, 1, 0x80); }, "loaded 64 64 8421504"},
    {"tiff-shared-deflate-strip.tif", [] { return tiffSharedStrip(2048, 3, 0); }, "loaded 2048 2048 0"},
    {"sgi-shared-run.sgi", [] { return sgiSharedRun(2048); }, "loaded 2048 2048 4210752"},
    {"bmp-rle-sprite-ends-early.bmp", [] { return bmpRle(3000, "\0\2\x80\0"s + bmpRuns(200, 7) + "\0\1"s); },
     "loaded 3000 3000 0"},
    {"bmp-rle-delta-skips.bmp",
     [] {
         std::string codes = bmpRuns(4000, 3) + "\0\0"s;
         for (int i = 0; i < 3998 / 255; ++i)
             codes += "\0\2\0\xff"s;
         return bmpRle(4000, codes + "\0\2\0"s + char(3998 % 255) + bmpRuns(4000, 5) + "\0\1"s);
     },
     "loaded 4000 4000 5263440"},
    {"bmp-rle-ends-early.bmp", [] { return bmpRle(1000, bmpRuns(1000, 7) + "\0\1"s); }, "loaded 1000 1000 0"},
};

class CostlyFiles : public ::testing::TestWithParam<CostlyCase> {};

void PrintTo(const CostlyCase& c, std::ostream* out)
{
    *out << c.name;
}

} // namespace

TEST_P(CostlyFiles, AreRefusedBeforeThePictureIsAllocatedOrLoadWithinTheLimit)
{
    const CostlyCase& c = GetParam();
    TempDir dir;
    std::string file = dir.file(c.name);
    writeFile(file, c.make());
    EXPECT_EQ(loadUnderLimit(file, kRefusalLimit), c.result);
}

INSTANTIATE_TEST_SUITE_P(SharedOrMissingData, CostlyFiles, ::testing::ValuesIn(kCostlyCases),
                         [](const ::testing::TestParamInfo<CostlyCase>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// Flat pictures pack close to the best ratio each scheme allows: the bounds on
// what packed bytes can decode to must still let them through.
TEST(CostlyFiles, FlatPicturesOfOtherToolsStillLoad)
{
    ASSERT_TRUE(toolsInstalled({"convert", "tiffcp", "pnmtosgi"}));
    TempDir dir;
    const std::string flat = dir.file("flat.ppm");
    ASSERT_EQ(runTool({"convert", "-size", "2000x2000", "xc:white", "-depth", "8", flat}).exitCode, 0);
    struct Made {
        const char* name;
        std::vector<std::vector<std::string>> steps;   // "{in}" the flat picture, "{out}" the file
    } cases[] = {
        {"deflate-one-strip.tif",
         {{"convert", "{in}", "-compress", "zip", "-define", "tiff:rows-per-strip=2000", "{out}"}}},
        {"tiffcp-deflate.tif", {{"convert", "{in}", "{out}.raw.tif"}, {"tiffcp", "-c", "zip", "-r", "2000", "{out}.raw.tif", "{out}"}}},
        {"imagemagick-rle.sgi", {{"convert", "{in}", "-compress", "RLE", "{out}"}}},
        {"pnmtosgi-rle.sgi", {{"pnmtosgi", "-rle", "{in}"}}},
        {"imagemagick-rle8.bmp", {{"convert", "{in}", "-type", "Palette", "-compress", "RLE", "bmp3:{out}"}}},
    };
    for (const Made& c : cases) {
        std::string out = dir.file(c.name);
        for (const auto& step : c.steps) {
            std::vector<std::string> args;
            for (std::string a : step) {
                for (auto [key, value] : {std::pair<std::string, std::string>{"{in}", flat}, {"{out}", out}})
                    if (auto at = a.find(key); at != std::string::npos)
                        a.replace(at, key.size(), value);
                args.push_back(a);
            }
            ToolResult made = runTool(args);
            ASSERT_EQ(made.exitCode, 0) << c.name << ": " << made.err;
            if (args[0] == "pnmtosgi")
                writeFile(out, made.out);
        }
        EXPECT_EQ(loadUnderLimit(out, kRefusalLimit), "loaded 2000 2000 16777215") << c.name;
    }
}
