// JPEG files placed in every picture mode, judged by where their data end:
// the markers after the scans walked by their lengths, not a search for the
// bytes FF D9. The JPEG mode embeds a whole file that lacks its end marker
// closed with one, so viewers draw it as djpeg does; an arithmetic-coded file
// without its end marker is refused in every mode before anything is decoded.
#include "engine/canvas/VumCanvas.h"
#include "engine/document/PdfVum.h"
#include "engine/util/VumError.h"

#include "JpegDecodings.h"
#include "JpegSegments.h"
#include "PdfFiles.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

using namespace vum;
using namespace jpegsegments;

namespace {

const std::string kEnd = "\xff\xd9";
constexpr int kWidth = 200, kHeight = 150;

// Places the file at its pixel size at the top left of a page of `pdf`
// (one point a pixel) in the picture mode; "" when the document was written,
// else the library's message.
std::string place(const std::string& file, int mode, const std::string& pdf)
{
    TPdfVum doc;
    doc.SetFileName(pdf);
    doc.SetImageCompressMode(uint8_t(mode));
    // A page of whole points, so that pixels and points meet exactly.
    doc.SetLengthUnit(1);
    doc.SetPageWidth(300);
    doc.SetPageHeight(200);
    try {
        doc.BeginDoc();
        // The rectangle's right and bottom edges are its last point.
        doc.Canvas().StretchDrawFromFile({0, 0, kWidth + 1, kHeight + 1}, file);
        doc.EndDoc();
    } catch (const VumError& e) {
        return e.what();
    }
    return "";
}

// The mean difference of a colour sample between the picture on the page and
// the picture djpeg decodes from `jpeg`, its top left corner placed where it
// fits best within two pixels of the page's (poppler stretches a picture
// over one more row than a whole number of points would give it); -1 when
// they cannot be compared.
double differenceFromDjpeg(const Raster& page, const std::string& jpeg)
{
    const ToolResult decoded = runTool({"djpeg", "-pnm"}, jpeg);
    std::istringstream in(decoded.out);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    if (magic != "P6" || width != kWidth || height != kHeight || page.width < width + 2 || page.height < height + 2)
        return -1;
    const std::string rgb = decoded.out.substr(std::size_t(in.tellg()));
    double best = 256;
    for (int top = 0; top <= 2; ++top)
        for (int left = 0; left <= 2; ++left) {
            long sum = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width * 3; ++x)
                    sum += std::abs(uint8_t(page.rgb[(std::size_t(y + top) * page.width + left) * 3 + x]) -
                                    uint8_t(rgb[std::size_t(y) * width * 3 + x]));
            best = std::min(best, double(sum) / (width * height * 3));
        }
    return best;
}

} // namespace

TEST(JpegEndMarker, EveryModeJudgesAFileByTheMarkersAfterItsScans)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg", "djpeg", "qpdf", "pdfimages", "pdftoppm"}));
    TempDir dir;
    const std::string source = photo(dir.file("photo.ppm"));
    const std::string baseline = cjpeg({}, source);
    const std::string progressive = cjpeg({"-progressive"}, source);
    const std::string restarts = cjpeg({"-progressive", "-restart", "1"}, source);
    const std::string filled = withFillBeforeMarkers(progressive, 2);
    const std::string arithmetic = cjpeg({"-arithmetic", "-progressive"}, source);
    const std::string open = withoutEnd(progressive);
    const std::string comment = segment(0xFE, "written by hand \xff\xd9 after the scans");
    const std::string app = segment(0xEF, "trailer \xff\xd9");
    const std::string cutComment = segment(0xFE, std::string(80, 'c')).substr(0, 30);
    const std::string trailing("\0\xff\xd8junk\xff\xd9", 9);
    const struct Case {
        const char* name;
        std::string bytes;
        std::string embedded;   // what the JPEG mode embeds; "" when every mode refuses the file
    } cases[] = {
        // Whole progressive files whose end marker is gone, the bytes FF D9
        // in a segment after their scans: closed with the marker.
        {"comment-holds-end.jpg", open + comment, open + comment + kEnd},
        {"app-holds-end.jpg", open + app, open + app + kEnd},
        // A segment the file ends inside goes before the marker is added.
        {"comment-cut-off.jpg", open + cutComment, open + kEnd},
        // Honest files, embedded as they are or closed.
        {"trailing-bytes.jpg", baseline + trailing, baseline + trailing},
        {"restarts.jpg", restarts, restarts},
        {"restarts-open.jpg", withoutEnd(restarts), restarts},
        {"fill-bytes.jpg", filled, filled},
        {"fill-bytes-open.jpg", withoutEnd(filled), filled},
        // Arithmetic decoding reads past its data without a sign.
        {"arithmetic-open.jpg", withoutEnd(arithmetic), ""},
        {"arithmetic-comment-holds-end.jpg", withoutEnd(arithmetic) + comment, ""},
        {"arithmetic-claiming-22000.jpg", withoutEnd(declaring(arithmetic, 22000, 22000)), ""},
    };
    for (const Case& c : cases) {
        const std::string file = dir.file(c.name);
        writeFile(file, c.bytes);
        for (int mode : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.name) + " in picture mode " + std::to_string(mode));
            const std::string pdf = dir.file("out.pdf");
            const int decodings = jpegDecodingsStarted();
            const std::string message = place(file, mode, pdf);
            if (c.embedded.empty()) {
                EXPECT_EQ(message, "Image format or compression scheme not supported: " + file);
                EXPECT_EQ(jpegDecodingsStarted(), decodings) << "nothing is decoded for it";
                continue;
            }
            ASSERT_EQ(message, "");
            EXPECT_EQ(qpdfProblems(pdf), "");
            // A blank or grey picture is tens of levels away.
            const double difference = differenceFromDjpeg(renderPage(pdf), c.embedded);
            EXPECT_GE(difference, 0);
            EXPECT_LT(difference, 4);
            if (mode != 2)
                continue;
            const ToolResult extracted = runTool({"pdfimages", "-j", pdf, dir.file("embedded")});
            ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
            const std::string embedded = readFile(dir.file("embedded-000.jpg"));
            EXPECT_EQ(embedded.size(), c.embedded.size());
            EXPECT_TRUE(embedded == c.embedded) << "the file's bytes, closed where its data end";
        }
    }
}
