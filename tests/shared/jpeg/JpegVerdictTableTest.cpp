// One table of JPEG files, made by libjpeg's own tools and then cut, closed
// or spoilt as downloads and repairs leave them, run through the library's
// reader and the program's decoder: each reaches the same verdict, and each
// does with it what it always did (the library refuses what is cut in its
// decoding modes, the program uses what decoded and calls it damaged; what
// the rule decides before decoding, neither decodes).
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "ImagingTestUtil.h"
#include "JpegSegments.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/readers/JpegReader.h"
#include "jpeg/JpegVerdict.h"
#include "platform/imaging/JpegDecoder.h"

namespace {

const std::string kEnd = "\xff\xd9";

// What is done to the file a tool wrote.
enum class Change {
    None,
    NoEnd,            // the end-of-image marker dropped
    Trailing,         // bytes after the end-of-image marker
    CutInScan,        // two thirds of the bytes kept
    CutInScanClosed,  // the same, closed with an end-of-image marker
    BeforeLastScan,   // every byte before the last scan's header
    BeforeLastScanClosed,
    BeforeScan4,      // every byte before the fourth scan's header
    BeforeScan4Closed,
    BeforeScan5Closed,
    Corrupt,          // codes that are no Huffman code in the middle of the data
    CorruptNoEnd,
    WithoutScan,      // one scan's header and data taken out, the rest kept
};

struct Kind {
    std::string name;
    std::vector<std::string> cjpeg;  // options; "-scans" takes a script text next
    Change change;
    jpeg_verdict verdict;
    std::size_t scan = 0;            // the scan WithoutScan takes out
    bool undecoded = false;          // the header and where the data end decide it: nothing is decoded
};

// The scan scripts: libjpeg's tools take each without a word, and djpeg
// decodes what they make without a warning.
const char* const kSparseLuma = "0 1 2: 0 0 0 0; 0: 1 40 0 0; 1: 1 63 0 0; 2: 1 63 0 0;";
const char* const kNoChromaAc = "0 1 2: 0 0 0 0; 0: 1 63 0 0;";
const char* const kDcUnrefined = "0 1 2: 0 0 0 1; 0: 1 63 0 0; 1: 1 63 0 0; 2: 1 63 0 0;";
const char* const kAcAtAl1 = "0 1 2: 0 0 0 0; 0: 1 63 0 1; 1: 1 63 0 1; 2: 1 63 0 1;";
const char* const kByComponent = "0; 1; 2;";
// First passes and refinements of luma AC in bands that do not line up.
const char* const kSplitBands = "0 1 2: 0 0 0 1; 0: 1 9 0 1; 0: 10 63 0 2; 1: 1 63 0 0; 2: 1 63 0 0; "
                                "0: 10 63 2 1; 0: 1 30 1 0; 0: 31 63 1 0; 0 1 2: 0 0 1 0;";
// Cr's DC comes in the fifth scan of six.
const char* const kCrLast = "0: 0 0 0 0; 1: 0 0 0 0; 0: 1 63 0 0; 1: 1 63 0 0; 2: 0 0 0 0; 2: 1 63 0 0;";

std::string changed(const std::string& whole, Change change, std::size_t scan)
{
    const std::vector<std::size_t> scans = jpegsegments::scanHeaders(whole);
    const std::string open = whole.substr(0, whole.size() - 2);
    std::string corrupt = whole;
    const std::size_t middle = (scans.front() + whole.size()) / 2;
    corrupt.replace(middle, 6, "\xff\x00\xff\x00\xff\x00", 6);
    switch (change) {
    case Change::None: return whole;
    case Change::NoEnd: return open;
    case Change::Trailing: return whole + std::string("\0\xff\xd8\xff\x00 junk", 10);
    case Change::CutInScan: return whole.substr(0, whole.size() * 2 / 3);
    case Change::CutInScanClosed: return whole.substr(0, whole.size() * 2 / 3) + kEnd;
    case Change::BeforeLastScan: return whole.substr(0, scans.back());
    case Change::BeforeLastScanClosed: return whole.substr(0, scans.back()) + kEnd;
    case Change::BeforeScan4: return whole.substr(0, scans.at(3));
    case Change::BeforeScan4Closed: return whole.substr(0, scans.at(3)) + kEnd;
    case Change::BeforeScan5Closed: return whole.substr(0, scans.at(4)) + kEnd;
    case Change::Corrupt: return corrupt;
    case Change::CorruptNoEnd: return corrupt.substr(0, corrupt.size() - 2);
    case Change::WithoutScan: return jpegsegments::withoutScan(whole, scan);
    }
    return whole;
}

// Whether the change leaves a file that djpeg reads as it is, without a warning.
bool djpegReadsItAsItIs(Change change)
{
    return change == Change::None || change == Change::BeforeScan4Closed || change == Change::WithoutScan;
}

const char* verdictName(int verdict)
{
    return verdict == JPEG_WHOLE ? "whole" : verdict == JPEG_CUT ? "cut" : verdict == JPEG_CORRUPT ? "corrupt" : "?";
}

class Files {
public:
    Files()
    {
        photo_ = dir_.file("photo.ppm");
        writeFile(photo_, makePpm(120, 80, 255, [](uint32_t x, uint32_t y) {
            return (x * 5 + y * 3) << 16 | (x * y & 255) << 8 | ((x ^ y) * 7 & 255);
        }));
    }
    std::string file(const std::string& name) const { return dir_.file(name); }
    // The file cjpeg writes with `options`.
    std::string make(const std::string& name, std::vector<std::string> options)
    {
        for (std::size_t i = 0; i + 1 < options.size(); ++i)
            if (options[i] == "-scans") {
                const std::string script = dir_.file(name + ".scans");
                writeFile(script, options[i + 1]);
                options[i + 1] = script;
            }
        std::vector<std::string> args{"cjpeg"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"-outfile", dir_.file(name), photo_});
        const ToolResult r = runTool(args);
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
        return readFile(dir_.file(name));
    }

private:
    TempDir dir_;
    std::string photo_;
};

int libraryVerdict(const std::string& bytes)
{
    try {
        return vum::TJPEGImage::ReadThrough(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
        return -1;
    }
}

Raster rasterOfImage(const QImage& image)
{
    Raster r;
    r.width = uint32_t(image.width());
    r.height = uint32_t(image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            r.rgb.insert(r.rgb.end(), {uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p))});
        }
    return r;
}

int programVerdict(const imaging::JpegDecode& d)
{
    if (d.status == imaging::JpegStatus::Decoded)
        return JPEG_WHOLE;
    if (d.status == imaging::JpegStatus::Damaged)
        return d.cut ? JPEG_CUT : JPEG_CORRUPT;
    if (d.status == imaging::JpegStatus::Cut)
        return JPEG_CUT;
    return -1;
}

} // namespace

TEST(JpegVerdictTable, TheLibraryAndTheProgramJudgeAlike)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg", "djpeg"}));
    std::vector<Kind> kinds = {
        // Whole files and what a file that lacks only its end marker still is.
        {"baseline", {}, Change::None, JPEG_WHOLE},
        {"baseline-no-end", {}, Change::NoEnd, JPEG_WHOLE},
        {"progressive-no-end", {"-progressive"}, Change::NoEnd, JPEG_WHOLE},
        {"by-component-no-end", {"-sample", "1x1", "-scans", kByComponent}, Change::NoEnd, JPEG_WHOLE},
        {"grey-progressive-no-end", {"-grayscale", "-progressive"}, Change::NoEnd, JPEG_WHOLE},
        {"trailing", {}, Change::Trailing, JPEG_WHOLE},
        {"progressive-trailing", {"-progressive"}, Change::Trailing, JPEG_WHOLE},
        {"arithmetic", {"-arithmetic"}, Change::None, JPEG_WHOLE},
        // Scan scripts that leave coefficients out or unrefined are legal with their end marker...
        {"sparse-luma", {"-scans", kSparseLuma}, Change::None, JPEG_WHOLE},
        {"no-chroma-ac", {"-scans", kNoChromaAc}, Change::None, JPEG_WHOLE},
        {"dc-unrefined", {"-scans", kDcUnrefined}, Change::None, JPEG_WHOLE},
        {"ac-at-al1", {"-scans", kAcAtAl1}, Change::None, JPEG_WHOLE},
        {"split-bands", {"-scans", kSplitBands}, Change::None, JPEG_WHOLE},
        {"split-bands-no-end", {"-scans", kSplitBands}, Change::NoEnd, JPEG_WHOLE},
        // ... as is a progressive file cut between scans once every DC has come, and closed.
        {"progressive-between-scans-closed", {"-progressive"}, Change::BeforeScan4Closed, JPEG_WHOLE},
        // Without their end marker they might have lost scans.
        {"sparse-luma-no-end", {"-scans", kSparseLuma}, Change::NoEnd, JPEG_CUT},
        {"no-chroma-ac-no-end", {"-scans", kNoChromaAc}, Change::NoEnd, JPEG_CUT},
        {"dc-unrefined-no-end", {"-scans", kDcUnrefined}, Change::NoEnd, JPEG_CUT},
        {"ac-at-al1-no-end", {"-scans", kAcAtAl1}, Change::NoEnd, JPEG_CUT},
        {"progressive-between-scans", {"-progressive"}, Change::BeforeScan4, JPEG_CUT},
        {"arithmetic-no-end", {"-arithmetic"}, Change::NoEnd, JPEG_CUT, 0, true},
        // What no encoder writes, end marker or not: a component never scanned, a DC never sent.
        {"without-last-component-closed", {"-sample", "1x1", "-scans", kByComponent}, Change::BeforeLastScanClosed,
         JPEG_CUT},
        {"without-last-component", {"-sample", "1x1", "-scans", kByComponent}, Change::BeforeLastScan, JPEG_CUT},
        {"without-cr-dc-closed", {"-scans", kCrLast}, Change::BeforeScan5Closed, JPEG_CUT},
        // Data that end inside a scan.
        {"baseline-cut", {}, Change::CutInScan, JPEG_CUT},
        {"baseline-cut-closed", {}, Change::CutInScanClosed, JPEG_CUT},
        {"restarts-cut-closed", {"-restart", "1"}, Change::CutInScanClosed, JPEG_CUT},
        {"progressive-cut-closed", {"-progressive"}, Change::CutInScanClosed, JPEG_CUT},
        // Codes that are none, in data that are all there.
        {"corrupt", {}, Change::Corrupt, JPEG_CORRUPT},
        {"corrupt-no-end", {}, Change::CorruptNoEnd, JPEG_CUT},
    };
    // cjpeg's own progressive scripts with one scan taken out, the end marker
    // kept. Without a first pass (or the refinement before), a later scan
    // refines bits that never came: no encoder writes that, so data are
    // missing. Without the last refinement of a coefficient, the rest is a
    // script libjpeg's tools write on request.
    const std::size_t colourCutUpTo = 5, greyCutUpTo = 3;   // cjpeg -progressive: 10 and 6 scans
    for (std::size_t scan = 0; scan < 10; ++scan)
        kinds.push_back({"progressive-without-scan-" + std::to_string(scan), {"-progressive"}, Change::WithoutScan,
                         scan <= colourCutUpTo ? JPEG_CUT : JPEG_WHOLE, scan});
    for (std::size_t scan = 0; scan < 6; ++scan)
        kinds.push_back({"grey-progressive-without-scan-" + std::to_string(scan), {"-grayscale", "-progressive"},
                         Change::WithoutScan, scan <= greyCutUpTo ? JPEG_CUT : JPEG_WHOLE, scan});
    kinds.push_back({"arithmetic-progressive-without-scan-1", {"-arithmetic", "-progressive"}, Change::WithoutScan,
                     JPEG_CUT, 1});
    kinds.push_back({"arithmetic-progressive-without-scan-9", {"-arithmetic", "-progressive"}, Change::WithoutScan,
                     JPEG_WHOLE, 9});
    Files files;
    for (const Kind& k : kinds) {
        const std::string whole = files.make(k.name + "-whole.jpg", k.cjpeg);
        const std::string bytes = changed(whole, k.change, k.scan);
        const std::string file = files.file(k.name + ".jpg");
        writeFile(file, bytes);

        EXPECT_STREQ(verdictName(libraryVerdict(bytes)), verdictName(k.verdict)) << k.name << " (library)";
        const imaging::JpegDecode program = imaging::decodeJpegScaled(QString::fromStdString(file), 1);
        EXPECT_STREQ(verdictName(programVerdict(program)), verdictName(k.verdict)) << k.name << " (program)";

        // What each side does with the verdict.
        Raster ours;
        const std::string refused = loadJpegBytes(bytes, &ours);
        if (k.verdict == JPEG_CUT) {
            EXPECT_EQ(refused.rfind("JPEG error: ", 0), 0u) << k.name << ": " << refused;
        } else {
            EXPECT_EQ(refused, "") << k.name;
        }
        // The program draws what decoded, unless the rule decided before decoding.
        EXPECT_EQ(program.image.size(), k.undecoded ? QSize(0, 0) : QSize(120, 80)) << k.name;
        if (k.verdict != JPEG_WHOLE)
            continue;
        const std::string reference = djpegReadsItAsItIs(k.change) ? file : files.file(k.name + "-whole.jpg");
        const Raster djpeg = decodeWithTool({"djpeg", reference});
        EXPECT_EQ(rasterDifference(ours, djpeg), "") << k.name << " (library)";
        EXPECT_EQ(rasterDifference(rasterOfImage(program.image), djpeg), "") << k.name << " (program)";
    }
}
