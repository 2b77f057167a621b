// Where a JPEG file's data end, found by walking its markers after the first
// scan, and what the reader decides from that alone: an arithmetic-coded file
// without its end marker is cut, and no scan of it is decoded.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "JpegDecodings.h"
#include "JpegSegments.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/Stream.h"
#include "imaging/readers/JpegReader.h"
#include "jpeg/JpegVerdict.h"

using namespace vum;
using namespace jpegsegments;

namespace {

const std::string kEnd = "\xff\xd9";

std::vector<uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}


} // namespace

TEST(JpegMarkers, TheDataEndWhereTheWalkAfterTheScansMeetsTheEndMarker)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg", "djpeg"}));
    TempDir dir;
    const std::string source = photo(dir.file("photo.ppm"));
    const std::string baseline = cjpeg({}, source);
    const std::string progressive = cjpeg({"-progressive"}, source);
    const std::string restarts = cjpeg({"-progressive", "-restart", "1"}, source);
    const std::string open = withoutEnd(progressive);
    const std::string comment = segment(0xFE, "made by hand \xff\xd9 and closed");
    const std::string app = segment(0xE1, std::string("Exif\0\0", 6) + "\xff\xd8 thumbnail \xff\xd9");
    const std::string cutComment = segment(0xFE, std::string(60, 'c') + kEnd).substr(0, 20);
    const std::string filled = withFillBeforeMarkers(progressive, 3);
    // Fill bytes before markers are legal: libjpeg reads the file as it reads the original.
    const ToolResult ofFilled = runTool({"djpeg"}, filled);
    EXPECT_EQ(ofFilled.err, "");
    EXPECT_EQ(ofFilled.out, runTool({"djpeg"}, progressive).out);
    const struct Case {
        const char* name;
        std::string bytes;
        bool closed;
        std::size_t dataEnd;
    } cases[] = {
        {"baseline", baseline, true, baseline.size()},
        {"progressive", progressive, true, progressive.size()},
        {"progressive without its end marker", open, false, open.size()},
        // A comment or APP segment after the scans holds the bytes of an end marker.
        {"comment holding FF D9 in place of the end marker", open + comment, false, open.size() + comment.size()},
        {"APP1 holding FF D9 in place of the end marker", open + app, false, open.size() + app.size()},
        {"comment holding FF D9, then the end marker", open + comment + kEnd, true, open.size() + comment.size() + 2},
        // The file ends inside a trailing segment: the data end where it starts.
        {"a comment cut off after the scans", open + cutComment, false, open.size()},
        {"a lone FF after the scans", open + "\xff", false, open.size() + 1},
        {"bytes after the end marker", baseline + std::string("\0\xff\xd8\xff\xd9junk", 9), true, baseline.size()},
        {"restart markers", restarts, true, restarts.size()},
        {"restart markers without the end marker", withoutEnd(restarts), false, restarts.size() - 2},
        {"fill bytes before the markers", filled, true, filled.size()},
        {"fill bytes, the end marker gone", withoutEnd(filled), false, filled.size() - 2},
    };
    for (const Case& c : cases) {
        const TJpegInfo info = TJPEGImage::ReadInfo(bytesOf(c.bytes));
        EXPECT_EQ(info.endMarker, c.closed) << c.name;
        EXPECT_EQ(info.dataEnd, c.dataEnd) << c.name;
        // Whole files all: each loads, with its end marker or without.
        EXPECT_EQ(loadJpegBytes(c.bytes), "") << c.name;
    }
}

// The shared rule calls an arithmetic-coded file without its end marker cut,
// whatever its scans hold: the reader says so from the header and the end of
// the data, and starts no decoding, in the read-through of the JPEG picture
// mode and in the decoding modes alike.
TEST(JpegMarkers, ArithmeticFilesWithoutTheirEndMarkerAreCutUndecoded)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    for (const NamedJpeg& c : arithmeticWithoutEnd(dir)) {
        const int before = jpegDecodingsStarted();
        EXPECT_EQ(TJPEGImage::ReadThrough(bytesOf(c.bytes)), JPEG_CUT) << c.name;
        EXPECT_EQ(loadJpegBytes(c.bytes), "JPEG error: the file is cut off") << c.name;
        EXPECT_EQ(jpegDecodingsStarted(), before) << c.name;
    }
    // With their end markers they are decoded.
    const std::string source = photo(dir.file("photo.ppm"));
    for (const std::string& whole : {cjpeg({"-arithmetic"}, source), cjpeg({"-arithmetic", "-progressive"}, source)}) {
        const int before = jpegDecodingsStarted();
        EXPECT_EQ(TJPEGImage::ReadThrough(bytesOf(whole)), JPEG_WHOLE);
        EXPECT_EQ(loadJpegBytes(whole), "");
        EXPECT_EQ(jpegDecodingsStarted(), before + 2);
    }
}

// The edits tests make find a file's scans by the same walk: a thumbnail in
// an APP1 segment holds scan headers of its own that are none of the file's.
TEST(JpegMarkers, ScansAreFoundByTheWalkPastAThumbnail)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    const std::string progressive = cjpeg({"-progressive"}, photo(dir.file("photo.ppm")));
    const std::string thumbnail = cjpeg({"-progressive"}, flatGrey(dir.file("flat.pgm")));
    const std::string app1 = segment(0xE1, std::string("Exif\0\0", 6) + thumbnail);
    const std::string withThumbnail = progressive.substr(0, 2) + app1 + progressive.substr(2);
    std::vector<std::size_t> expected;
    for (std::size_t at : scanHeaders(progressive))
        expected.push_back(at + app1.size());
    ASSERT_GT(expected.size(), 2u);
    EXPECT_EQ(scanHeaders(withThumbnail), expected);
    // Without its last scan the file keeps its thumbnail whole.
    const std::string lastOut = withoutScan(withThumbnail, expected.size() - 1);
    EXPECT_EQ(lastOut.substr(2, app1.size()), app1);
    EXPECT_EQ(lastOut.size(), withThumbnail.size() - (scanEnd(withThumbnail, expected.back()) - expected.back()));
    EXPECT_EQ(loadJpegBytes(lastOut), "");
}
