// JPEG-compressed TIFF files from libtiff and ImageMagick, whole and with one
// strip spoilt as a damaged copy leaves it. A strip is judged by the rule
// every JPEG file is judged by: one that lacks data is refused as any cut
// TIFF is, never placed with grey or smeared rows; one that has all its data
// decodes as it always did, however its scans are laid out.
#include <gtest/gtest.h>

#include <functional>

#include "ImagingTestUtil.h"
#include "JpegSegments.h"
#include "LittleEndian.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/TiffReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

// Where the values of a tag of a little-endian TIFF's first directory lie.
struct Field {
    std::size_t at = 0;   // the first value
    int size = 0;         // bytes a value
    uint32_t count = 0;   // 0 when the tag is absent
};

Field fieldOf(const std::string& tiff, uint16_t tag)
{
    EXPECT_EQ(tiff.substr(0, 2), "II");
    const std::size_t ifd = readLe(tiff, 4, 4);
    for (uint32_t i = 0, n = readLe(tiff, ifd, 2); i < n; ++i) {
        const std::size_t entry = ifd + 2 + 12 * i;
        if (readLe(tiff, entry, 2) != tag)
            continue;
        const uint32_t type = readLe(tiff, entry + 2, 2), count = readLe(tiff, entry + 4, 4);
        const int size = type == 3 ? 2 : type == 4 ? 4 : 1;
        const std::size_t at = uint64_t(size) * count <= 4 ? entry + 8 : readLe(tiff, entry + 8, 4);
        return {at, size, count};
    }
    return {};
}

std::string stripOf(const std::string& tiff, std::size_t strip)
{
    const Field offsets = fieldOf(tiff, 273), counts = fieldOf(tiff, 279);
    return tiff.substr(readLe(tiff, offsets.at + strip * offsets.size, offsets.size),
                       readLe(tiff, counts.at + strip * counts.size, counts.size));
}

std::size_t stripCount(const std::string& tiff)
{
    return fieldOf(tiff, 273).count;
}

// The file with strip `strip`'s data replaced: the new data go at the end.
std::string withStrip(std::string tiff, std::size_t strip, const std::string& data)
{
    const Field offsets = fieldOf(tiff, 273), counts = fieldOf(tiff, 279);
    tiff.resize(tiff.size() + tiff.size() % 2, '\0');
    putLe(tiff, offsets.at + strip * offsets.size, uint32_t(tiff.size()), offsets.size);
    putLe(tiff, counts.at + strip * counts.size, uint32_t(data.size()), counts.size);
    return tiff + data;
}

// A strip's JPEG stream as a file of its own: the shared tables put before its frame.
std::string standalone(const std::string& tiff, const std::string& strip)
{
    const Field tables = fieldOf(tiff, 347);
    if (tables.count < 4)
        return strip;
    return tiff.substr(tables.at, tables.count - 2) + strip.substr(2);
}

class Files {
public:
    Files()
    {
        photo_ = dir_.file("photo.ppm");
        writeFile(photo_, makePpm(72, 64, 255, [](uint32_t x, uint32_t y) {
            return (x * 5 + y * 3) << 16 | (x * y & 255) << 8 | ((x ^ y) * 7 & 255);
        }));
        grey_ = dir_.file("grey.pgm");
        writeFile(grey_, makePgm(72, 64, 255, [](uint32_t x, uint32_t y) { return (x * 7 + y * y) % 256; }));
    }
    std::string file(const std::string& name) const { return dir_.file(name); }
    // tiffcp's copy, with `options`, of the uncompressed TIFF of the photo or the grey picture.
    std::string tiffcp(bool grey, const std::vector<std::string>& options)
    {
        const std::string base = dir_.file("base.tif"), out = dir_.file("tiffcp.tif");
        const ToolResult made = runTool({"pnmtotiff", "-none", grey ? "-minisblack" : "-truecolor", grey ? grey_ : photo_});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        writeFile(base, made.out);
        std::vector<std::string> args = {"tiffcp"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {base, out});
        const ToolResult copied = runTool(args);
        EXPECT_EQ(copied.exitCode, 0) << copied.err;
        return readFile(out);
    }
    std::string imageMagick(const std::vector<std::string>& options)
    {
        const std::string out = dir_.file("magick.tif");
        std::vector<std::string> args = {"convert", photo_};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(out);
        const ToolResult made = runTool(args);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return readFile(out);
    }
    // jpegtran's lossless copy of a JPEG stream with `options` ("-scans" takes a script text next).
    std::string jpegtran(const std::string& jpeg, std::vector<std::string> options)
    {
        const std::string in = dir_.file("strip.jpg"), out = dir_.file("jpegtran.jpg");
        writeFile(in, jpeg);
        for (std::size_t i = 0; i + 1 < options.size(); ++i)
            if (options[i] == "-scans") {
                writeFile(dir_.file("strip.scans"), options[i + 1]);
                options[i + 1] = dir_.file("strip.scans");
            }
        std::vector<std::string> args = {"jpegtran"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"-outfile", out, in});
        const ToolResult made = runTool(args);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return readFile(out);
    }

private:
    TempDir dir_;
    std::string photo_, grey_;
};

// "" and the picture when the reader takes the file, else its message.
std::string load(const std::string& tiff, Raster& picture)
{
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(tiff.data()), tiff.size());
    TTIFFGraphic reader;
    try {
        reader.LoadFromStream(stream);
    } catch (const EInvalidGraphic& e) {
        return e.what();
    } catch (const EGraphicCompression& e) {
        return e.what();
    }
    picture = rasterOf(reader);
    return "";
}

const char* const kByComponent = "0; 1; 2;";
const char* const kCutTiff = "Cannot load image. Compression error found in TIF/TIFF file.";

struct MadeTiff {
    const char* name;
    std::function<std::string(Files&)> make;
    bool grey = false;
};

std::vector<MadeTiff> honestTiffs()
{
    return {
        {"tiffcp YCbCr, several strips with shared tables",
         [](Files& f) { return f.tiffcp(false, {"-c", "jpeg", "-r", "16"}); }},
        {"tiffcp RGB", [](Files& f) { return f.tiffcp(false, {"-c", "jpeg:r", "-r", "24"}); }},
        {"tiffcp grey", [](Files& f) { return f.tiffcp(true, {"-c", "jpeg", "-r", "16"}); }, true},
        {"ImageMagick", [](Files& f) { return f.imageMagick({"-compress", "JPEG"}); }},
        {"ImageMagick, several strips",
         [](Files& f) { return f.imageMagick({"-compress", "JPEG", "-define", "tiff:rows-per-strip=16"}); }},
    };
}

} // namespace

TEST(TiffJpegStrips, HonestFilesLoadAsImageMagickDecodesThem)
{
    ASSERT_TRUE(toolsInstalled({"pnmtotiff", "tiffcp", "convert"}));
    Files files;
    for (const MadeTiff& t : honestTiffs()) {
        const std::string tiff = t.make(files), file = files.file("honest.tif");
        writeFile(file, tiff);
        Raster ours;
        ASSERT_EQ(load(tiff, ours), "") << t.name;
        EXPECT_EQ(rasterDifference(ours, decodeWithTool({"convert", file, "ppm:-"})), "") << t.name;
    }
}

// One strip rewritten with every coefficient it had, in scans laid out
// otherwise, or cut as a damaged copy leaves it; the other strips stay.
TEST(TiffJpegStrips, AStripIsJudgedByTheJpegRule)
{
    ASSERT_TRUE(toolsInstalled({"pnmtotiff", "tiffcp", "convert", "jpegtran"}));
    struct Edit {
        const char* name;
        std::vector<std::string> jpegtran;              // how the strip is rewritten first
        std::function<std::string(const std::string&)> spoil;
        bool refused;
    };
    const auto keep = [](const std::string& jpeg) { return jpeg; };
    const Edit edits[] = {
        {"one scan a component", {"-scans", kByComponent}, keep, false},
        {"progressive", {"-progressive"}, keep, false},
        {"progressive without the end marker", {"-progressive"},
         [](const std::string& jpeg) { return jpeg.substr(0, jpeg.size() - 2); }, false},
        {"one scan a component, the last one lost", {"-scans", kByComponent},
         [](const std::string& jpeg) { return jpegsegments::withoutScan(jpeg, 2); }, true},
        {"progressive without its first luma AC pass", {"-progressive"},
         [](const std::string& jpeg) { return jpegsegments::withoutScan(jpeg, 1); }, true},
        {"progressive without its DC first pass", {"-progressive"},
         [](const std::string& jpeg) { return jpegsegments::withoutScan(jpeg, 0); }, true},
        {"progressive cut before its last scan", {"-progressive"},
         [](const std::string& jpeg) { return jpeg.substr(0, jpegsegments::scanHeaders(jpeg).back()); }, true},
        {"cut inside its scan", {},
         [](const std::string& jpeg) { return jpeg.substr(0, jpeg.size() * 2 / 3); }, true},
        {"cut inside its scan and closed", {},
         [](const std::string& jpeg) { return jpeg.substr(0, jpeg.size() * 2 / 3) + "\xff\xd9"; }, true},
    };
    Files files;
    for (const MadeTiff& t : honestTiffs()) {
        const std::string tiff = t.make(files);
        Raster whole;
        ASSERT_EQ(load(tiff, whole), "") << t.name;
        const std::size_t strip = stripCount(tiff) / 2;
        const std::string jpeg = standalone(tiff, stripOf(tiff, strip));
        for (const Edit& e : edits) {
            if (t.grey && !e.jpegtran.empty() && e.jpegtran.front() == "-scans")
                continue;   // a script of three components
            const std::string rewritten = e.jpegtran.empty() ? jpeg : files.jpegtran(jpeg, e.jpegtran);
            Raster ours;
            const std::string refusal = load(withStrip(tiff, strip, e.spoil(rewritten)), ours);
            if (e.refused) {
                EXPECT_EQ(refusal, kCutTiff) << t.name << ", " << e.name;
                continue;
            }
            EXPECT_EQ(refusal, "") << t.name << ", " << e.name;
            if (refusal.empty()) {
                EXPECT_EQ(rasterDifference(ours, whole), "") << t.name << ", " << e.name;
            }
        }
    }
}
