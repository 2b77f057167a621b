// Which JPEG files the reader takes: every file whose blocks all come from its
// data, also when it is arithmetic-coded into a few bytes or lacks only its
// end marker, and none that shows a grey, blurred or colourless rest.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "JpegDecodings.h"
#include "JpegSegments.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

const std::string kEnd = "\xff\xd9";

class JpegFiles {
public:
    JpegFiles()
    {
        photo_ = dir_.file("photo.ppm");
        writeFile(photo_, makePpm(200, 150, 255, [](uint32_t x, uint32_t y) {
            return (x * 5 + y * 3) << 16 | (x * y & 255) << 8 | ((x ^ y) * 7 & 255);
        }));
        flat_ = dir_.file("flat.ppm");
        writeFile(flat_, makePpm(1600, 1200, 255, [](uint32_t, uint32_t) { return 0x3366AAu; }));
        scansByComponent_ = dir_.file("by-component.scans");
        writeFile(scansByComponent_, "0;\n1;\n2;\n");
    }
    // A file of cjpeg (its arguments, with {photo}, {flat} and {by-component}
    // standing for the sources and the scan script) or of ImageMagick's convert.
    std::string make(const std::string& name, std::vector<std::string> args)
    {
        for (std::string& a : args)
            a = a == "{photo}" ? photo_ : a == "{flat}" ? flat_ : a == "{by-component}" ? scansByComponent_ : a;
        const std::string file = dir_.file(name);
        if (args.front() == "convert")
            args.push_back(file);
        else
            args.insert(args.begin() + 1, {"-outfile", file});
        const ToolResult r = runTool(args);
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
        return file;
    }

private:
    TempDir dir_;
    std::string photo_, flat_, scansByComponent_;
};

enum class Change { Whole, NoEnd, TrailingBytes };

struct Made {
    const char* name;
    std::vector<std::string> tool;
};

} // namespace

// Each is decoded as djpeg decodes the whole file.
TEST(JpegWholeFiles, LoadLikeDjpegOfTheWholeFile)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg", "djpeg", "convert"}));
    JpegFiles files;
    struct Case {
        Made made;
        Change change;
    } cases[] = {
        // Arithmetic coding codes a flat block in a fraction of a bit.
        {{"flat-arithmetic.jpg", {"cjpeg", "-arithmetic", "{flat}"}}, Change::Whole},
        {{"flat-arithmetic-progressive.jpg", {"cjpeg", "-arithmetic", "-progressive", "{flat}"}}, Change::Whole},
        {{"arithmetic.jpg", {"cjpeg", "-arithmetic", "{photo}"}}, Change::Whole},
        {{"arithmetic-progressive.jpg", {"cjpeg", "-arithmetic", "-progressive", "{photo}"}}, Change::Whole},
        // Only the end-of-image marker is missing: every block is there.
        {{"444.jpg", {"cjpeg", "-sample", "1x1", "{photo}"}}, Change::NoEnd},
        {{"420.jpg", {"cjpeg", "{photo}"}}, Change::NoEnd},
        {{"progressive.jpg", {"cjpeg", "-progressive", "{photo}"}}, Change::NoEnd},
        {{"grey.jpg", {"cjpeg", "-grayscale", "{photo}"}}, Change::NoEnd},
        {{"grey-progressive.jpg", {"cjpeg", "-grayscale", "-progressive", "{photo}"}}, Change::NoEnd},
        {{"restarts.jpg", {"cjpeg", "-restart", "1", "{photo}"}}, Change::NoEnd},
        {{"progressive-restarts.jpg", {"cjpeg", "-progressive", "-restart", "1", "{photo}"}}, Change::NoEnd},
        {{"by-component.jpg", {"cjpeg", "-scans", "{by-component}", "{photo}"}}, Change::NoEnd},
        {{"cmyk.jpg", {"convert", "{photo}", "-colorspace", "CMYK"}}, Change::NoEnd},
        // Bytes after the end-of-image marker are not the picture's.
        {{"trailing.jpg", {"cjpeg", "{photo}"}}, Change::TrailingBytes},
        {{"trailing-progressive.jpg", {"cjpeg", "-progressive", "{photo}"}}, Change::TrailingBytes},
    };
    for (const Case& c : cases) {
        const std::string file = files.make(c.made.name, c.made.tool);
        const std::string whole = readFile(file);
        std::string bytes = whole;
        if (c.change == Change::NoEnd)
            bytes = jpegsegments::withoutEnd(whole);
        if (c.change == Change::TrailingBytes)
            bytes += std::string("\0\xff\xd8\xff\x00 junk", 10);
        Raster ours, ofWhole;
        EXPECT_EQ(loadJpegBytes(bytes, &ours), "") << c.made.name;
        EXPECT_EQ(loadJpegBytes(whole, &ofWhole), "") << c.made.name;
        EXPECT_EQ(rasterDifference(ours, ofWhole), "") << c.made.name;
        // djpeg rounds its CMYK to RGB conversion otherwise.
        const int tolerance = std::string(c.made.name) == "cmyk.jpg" ? 2 : 0;
        EXPECT_EQ(rasterDifference(ours, decodeWithTool({"djpeg", file}), tolerance), "") << c.made.name;
    }
}

// Files whose data end before their last block or scan, closed with an end
// marker or not (a progressive file closed between two scans excepted); an
// arithmetic-coded file without its end marker cannot show where its data
// end, so it counts as cut too.
TEST(JpegWholeFiles, CutFilesAreRefused)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    JpegFiles files;
    const Made made[] = {
        {"444.jpg", {"cjpeg", "-sample", "1x1", "{photo}"}},
        {"420.jpg", {"cjpeg", "{photo}"}},
        {"restarts.jpg", {"cjpeg", "-restart", "1", "{photo}"}},
        {"progressive.jpg", {"cjpeg", "-progressive", "{photo}"}},
        {"grey-progressive.jpg", {"cjpeg", "-grayscale", "-progressive", "{photo}"}},
        {"by-component.jpg", {"cjpeg", "-scans", "{by-component}", "{photo}"}},
        {"arithmetic.jpg", {"cjpeg", "-arithmetic", "{photo}"}},
        {"arithmetic-progressive.jpg", {"cjpeg", "-arithmetic", "-progressive", "{photo}"}},
    };
    for (const Made& m : made) {
        const std::string whole = readFile(files.make(m.name, m.tool));
        ASSERT_EQ(loadJpegBytes(whole), "") << m.name;
        const std::string name = m.name;
        const bool arithmetic = name.find("arithmetic") != std::string::npos;
        const bool severalScans = name.find("progressive") != std::string::npos || name == "by-component.jpg";
        EXPECT_EQ(jpegsegments::markersAfterFirstScan(whole).empty(), !severalScans) << m.name;
        std::vector<std::pair<std::string, std::string>> cuts;
        for (int percent : {35, 70, 95})
            cuts.emplace_back(std::to_string(percent) + "%", whole.substr(0, whole.size() * percent / 100));
        cuts.emplace_back("4 bytes short", whole.substr(0, whole.size() - 4));
        if (arithmetic)
            cuts.emplace_back("no end marker", jpegsegments::withoutEnd(whole));
        // Closed with an end marker, a cut between scans is cut only where it
        // leaves a component unscanned: a progressive file that has sent
        // every DC is as legal as one whose scan script ends there.
        std::vector<std::pair<std::string, std::string>> closedWhole;
        for (std::size_t at : jpegsegments::markersAfterFirstScan(whole)) {
            const std::string where = "between scans at " + std::to_string(at);
            cuts.emplace_back(where, whole.substr(0, at));
            (name == "by-component.jpg" ? cuts : closedWhole).emplace_back(where + ", closed", whole.substr(0, at) + kEnd);
        }
        for (const auto& [where, bytes] : cuts) {
            // A cut inside the header of a later scan may meet another of libjpeg's errors first.
            const std::string message = loadJpegBytes(bytes);
            EXPECT_EQ(message.rfind("JPEG error: ", 0), 0u) << m.name << " cut " << where << ": " << message;
        }
        for (const auto& [where, bytes] : closedWhole)
            EXPECT_EQ(loadJpegBytes(bytes), "") << m.name << " cut " << where;
    }
}

// A whole JPEG past the picture caps is refused with the error every reader
// gives a picture too large, before anything is decoded.
TEST(JpegWholeFiles, TooLargeAsEveryFormatIs)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    const std::string flat = jpegsegments::flatGrey(dir.file("flat.pgm"));
    // The arithmetic coder codes flat blocks in nothing: a few hundred bytes claiming 20000 x 20000.
    const std::string claiming =
        jpegsegments::declaring(jpegsegments::cjpeg({"-arithmetic", "-grayscale"}, flat), 20000, 20000);
    const int before = jpegDecodingsStarted();
    EXPECT_EQ(loadJpegBytes(claiming), "Cannot load image. The picture is too large.");
    EXPECT_EQ(jpegDecodingsStarted(), before);
}
