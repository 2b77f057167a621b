// GIF and JPEG files whose picture data end before the last row, drawn
// through the C interface: refused wherever the library decodes them, while
// the same files whole, and GIFs of every shape other tools write, are placed.
#include "PdfApi.h"
#include "JpegSegments.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A 90 x 70 picture of many colours, as a PPM file.
std::string sourcePicture(const TempDir& dir)
{
    std::string ppm = "P6\n90 70\n255\n";
    for (uint32_t y = 0; y < 70; ++y)
        for (uint32_t x = 0; x < 90; ++x)
            ppm += {char(x * 11 + y), char(y * 7 ^ x), char((x * y) & 255)};
    std::string file = dir.file("source.ppm");
    writeFile(file, ppm);
    return file;
}

std::string convert(const TempDir& dir, const std::string& name, std::vector<std::string> options)
{
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(dir.file(name));
    ToolResult made = runTool(args);
    EXPECT_EQ(made.exitCode, 0) << name << ": " << made.err;
    return dir.file(name);
}

// Where the first image's data lie in a GIF file: the LZW code size byte,
// then data sub-blocks up to a zero length.
std::size_t codeSizeOffset(const std::string& gif)
{
    auto byte = [&](std::size_t at) { return uint8_t(gif.at(at)); };
    std::size_t at = 13;
    if (byte(10) & 0x80)
        at += std::size_t(3) << ((byte(10) & 7) + 1);
    while (byte(at) == '!') {
        at += 2;
        while (byte(at))
            at += byte(at) + 1u;
        ++at;
    }
    uint8_t packed = byte(at + 9);
    at += 10;
    if (packed & 0x80)
        at += std::size_t(3) << ((packed & 7) + 1);
    return at;
}

// The GIF with only the first part of its image data, the sub-blocks closed
// properly, as a download that broke off and was mended by a tool would be.
std::string gifDataCut(const std::string& gif, std::size_t percent)
{
    std::size_t codeSize = codeSizeOffset(gif);
    std::string data;
    for (std::size_t at = codeSize + 1; gif.at(at); at += uint8_t(gif[at]) + 1u)
        data += gif.substr(at + 1, uint8_t(gif[at]));
    data.resize(data.size() * percent / 100);
    std::string out = gif.substr(0, codeSize + 1);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        std::string part = data.substr(at, 255);
        out += char(part.size()) + part;
    }
    return out + std::string(1, '\0') + ";";
}

// A JPEG file up to its second scan's header: a progressive file cut
// exactly between two scans.
std::string firstScanOnly(const std::string& jpeg)
{
    const std::vector<std::size_t> scans = jpegsegments::scanHeaders(jpeg);
    EXPECT_GE(scans.size(), 2u);
    return jpeg.substr(0, scans.size() >= 2 ? scans[1] : jpeg.size());
}

std::string gifCodeSize(std::string gif, int codeSize)
{
    gif[codeSizeOffset(gif)] = char(codeSize);
    return gif;
}

// Draws the file on the first page; "" when it was placed and the document
// written, else the library's message.
std::string drawOnPage(const TempDir& dir, const std::string& file, int mode)
{
    PdfHandle h;
    h.setFile(dir.file("out.pdf"));
    EXPECT_EQ(pdf().SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, mode), 0);
    EXPECT_EQ(pdf().BeginDoc(h), 0);
    if (pdf().StretchDrawFromFile(h, 0, 0, 1000, 1000, file.c_str()) != 0) {
        std::string message = lastError();
        EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1) << file;
        return message;
    }
    if (pdf().EndDoc(h) != 0)
        return "EndDoc: " + lastError();
    return "";
}

} // namespace

TEST(EarlyEndingPictures, RefusedInEveryModeThatDecodesThem)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    const std::string source = sourcePicture(dir);
    const std::string gif = readFile(convert(dir, "whole.gif", {source}));
    const std::string interlaced = readFile(convert(dir, "interlaced.gif", {source, "-interlace", "GIF"}));
    const std::string jpeg = readFile(convert(dir, "whole.jpg", {source, "-quality", "90"}));
    const std::string progressive = readFile(convert(dir, "progressive.jpg", {source, "-interlace", "JPEG"}));
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<int> modes;   // 0 none, 1 zlib, 2 JPEG (JPEG files pass through undecoded)
    } cases[] = {
        {"half-data.gif", gifDataCut(gif, 50), {0, 1, 2}},
        {"half-data-interlaced.gif", gifDataCut(interlaced, 50), {0, 1, 2}},
        {"most-data.gif", gifDataCut(gif, 95), {0, 1, 2}},
        {"code-size-0.gif", gifCodeSize(gif, 0), {0, 1, 2}},
        {"code-size-15.gif", gifCodeSize(gif, 15), {0, 1, 2}},
        // What `head -c` and an appended end-of-image marker make.
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 2) + "\xff\xd9", {0, 1}},
        {"cut-progressive.jpg", progressive.substr(0, progressive.size() * 3 / 5) + "\xff\xd9", {0, 1}},
        // Without an end marker: the JPEG mode reads such a file through too.
        {"cut-open.jpg", jpeg.substr(0, jpeg.size() / 2), {0, 1, 2}},
        {"between-scans-open.jpg", firstScanOnly(progressive), {0, 1, 2}},
    };
    for (const Case& c : cases) {
        std::string file = dir.file(c.name);
        writeFile(file, c.bytes);
        for (int mode : c.modes)
            EXPECT_EQ(drawOnPage(dir, file, mode), "Image format or compression scheme not supported: " + file)
                << c.name << " mode " << mode;
    }
    // The JPEG mode embeds a JPEG file as it is: its header and end marker
    // are all that is read.
    for (const char* name : {"cut.jpg", "cut-progressive.jpg"})
        EXPECT_EQ(drawOnPage(dir, dir.file(name), 2), "") << name;
}

namespace {

// A progressive JPEG that cjpeg writes from `source` with the scan script `scans`.
std::string scripted(const TempDir& dir, const std::string& name, const std::string& source, const std::string& scans)
{
    writeFile(dir.file(name + ".scans"), scans);
    const ToolResult made = runTool({"cjpeg", "-scans", dir.file(name + ".scans"), "-outfile", dir.file(name), source});
    EXPECT_EQ(made.exitCode, 0) << name << ": " << made.err;
    return dir.file(name);
}

} // namespace

TEST(EarlyEndingPictures, WholeFilesOfOtherToolsArePlaced)
{
    ASSERT_TRUE(toolsInstalled({"convert", "pamtogif", "cjpeg"}));
    TempDir dir;
    const std::string source = sourcePicture(dir);
    ToolResult netpbm = runTool({"pamtogif", "-interlace", convert(dir, "few.ppm", {source, "-colors", "200"})});
    ASSERT_EQ(netpbm.exitCode, 0) << netpbm.err;
    writeFile(dir.file("netpbm.gif"), netpbm.out);
    const std::vector<std::string> files = {
        convert(dir, "whole.gif", {source}),
        convert(dir, "interlaced.gif", {source, "-interlace", "GIF"}),
        convert(dir, "frames.gif", {"-delay", "10", source, "(", source, "-negate", ")", "-loop", "0"}),
        convert(dir, "small-frame.gif", {source, "-repage", "200x150+30+20"}),
        convert(dir, "two-colours.gif", {source, "-monochrome"}),
        dir.file("netpbm.gif"),
        convert(dir, "whole.jpg", {source}),
        convert(dir, "progressive.jpg", {source, "-interlace", "JPEG"}),
        convert(dir, "grey.jpg", {source, "-colorspace", "Gray"}),
        dir.file("no-end.jpg"),
        dir.file("no-end-progressive.jpg"),
        dir.file("between-scans.jpg"),
        // Scan scripts need not send every coefficient nor refine every bit.
        scripted(dir, "sparse-luma.jpg", source, "0 1 2: 0 0 0 0; 0: 1 40 0 0; 1: 1 63 0 0; 2: 1 63 0 0;"),
        scripted(dir, "no-chroma-ac.jpg", source, "0 1 2: 0 0 0 0; 0: 1 63 0 0;"),
        scripted(dir, "dc-unrefined.jpg", source, "0 1 2: 0 0 0 1; 0: 1 63 0 0; 1: 1 63 0 0; 2: 1 63 0 0;"),
        scripted(dir, "ac-at-al1.jpg", source, "0 1 2: 0 0 0 0; 0: 1 63 0 1; 1: 1 63 0 1; 2: 1 63 0 1;"),
    };
    writeFile(dir.file("no-end.jpg"), jpegsegments::withoutEnd(readFile(dir.file("whole.jpg"))));
    writeFile(dir.file("no-end-progressive.jpg"), jpegsegments::withoutEnd(readFile(dir.file("progressive.jpg"))));
    // Cut exactly after the scan of every DC and closed: as legal as a scan
    // script that sends no more, which every decoder shows.
    writeFile(dir.file("between-scans.jpg"), firstScanOnly(readFile(dir.file("progressive.jpg"))) + "\xff\xd9");
    for (const std::string& file : files)
        for (int mode : {0, 1, 2})
            EXPECT_EQ(drawOnPage(dir, file, mode), "") << file << " mode " << mode;
}

// poppler leaves the last rows of a baseline file without its end marker
// blank, and all of a progressive one: the JPEG mode embeds such a file
// closed with the marker, once it has read it through and found it whole.
TEST(EarlyEndingPictures, JpegModeClosesAFileLackingOnlyItsEndMarker)
{
    ASSERT_TRUE(toolsInstalled({"convert", "pdfimages", "pdftoppm"}));
    TempDir dir;
    const std::string source = sourcePicture(dir);
    for (const char* name : {"whole.jpg", "progressive.jpg"}) {
        const std::string whole = readFile(convert(dir, name, {source, "-interlace", name[0] == 'p' ? "JPEG" : "None"}));
        ASSERT_EQ(drawOnPage(dir, dir.file(name), 2), "") << name;
        const Raster ofWhole = renderPage(dir.file("out.pdf"));
        const std::string open = dir.file(std::string("no-end-") + name);
        writeFile(open, jpegsegments::withoutEnd(whole));
        ASSERT_EQ(drawOnPage(dir, open, 2), "") << name;
        const ToolResult extracted = runTool({"pdfimages", "-j", dir.file("out.pdf"), dir.file("embedded")});
        ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
        EXPECT_EQ(readFile(dir.file("embedded-000.jpg")), whole) << name;
        EXPECT_EQ(renderPage(dir.file("out.pdf")).rgb, ofWhole.rgb) << name;
    }
}

namespace {

// The file cjpeg -optimize writes for a flat grey picture of `width` x
// `height` (multiples of 16): it codes a flat block in two bits, so it is
// made from a 16 x 16 one, its size raised and its data (all zero bits) made
// as long as the picture needs. `closed` ends it with its end-of-image marker.
std::string flatGrey(const TempDir& dir, uint16_t width, uint16_t height, bool closed)
{
    writeFile(dir.file("flat.pgm"), "P5\n16 16\n255\n" + std::string(256, char(128)));
    const ToolResult made = runTool({"cjpeg", "-grayscale", "-optimize", dir.file("flat.pgm")});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    std::string jpeg = made.out;
    const std::size_t frame = jpeg.find("\xff\xc0");
    const std::size_t scan = jpeg.find("\xff\xda");
    EXPECT_EQ(jpeg.substr(scan + 10), std::string("\x00\xff\xd9", 3)) << "four flat blocks in a byte";
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xFF);
    const std::size_t blocks = std::size_t(width / 8) * (height / 8);
    return jpeg.substr(0, scan + 10) + std::string(blocks / 4, '\0') + (closed ? "\xff\xd9" : "");
}

} // namespace

// The read-through of a file without its end marker keeps no picture: the
// decoding modes' picture limit (268 million pixels) has no part in it, only
// the format's and the memory limits.
TEST(EarlyEndingPictures, JpegModeReadsThroughPicturesBeyondTheDecodingLimit)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg", "djpeg"}));
    TempDir dir;
    const std::string closed = dir.file("flat-closed.jpg"), open = dir.file("flat-open.jpg");
    writeFile(closed, flatGrey(dir, 20000, 14000, true));
    writeFile(open, flatGrey(dir, 20000, 14000, false));
    const ToolResult djpeg = runTool({"djpeg", "-scale", "1/8", "-outfile", dir.file("eighth.pgm"), closed});
    ASSERT_EQ(djpeg.exitCode, 0) << djpeg.err;
    EXPECT_EQ(djpeg.err, "");
    for (const std::string& file : {closed, open})
        EXPECT_EQ(drawOnPage(dir, file, 2), "") << file;
    // The decoding modes hold their limit.
    EXPECT_EQ(drawOnPage(dir, closed, 1), "Image format or compression scheme not supported: " + closed);
}
