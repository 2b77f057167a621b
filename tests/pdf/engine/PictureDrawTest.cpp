// Pictures of every supported format placed through the C interface, checked
// by qpdf, pdfimages and pdftoppm.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "LocalServer.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace {

// A 40 x 30 picture: red, green, blue and yellow quadrants.
std::string quadrantsPpm()
{
    std::string out = "P6\n40 30\n255\n";
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            bool right = x >= 20, bottom = y >= 15;
            uint32_t c = !right && !bottom ? 0xFF0000 : right && !bottom ? 0x00FF00 : !right ? 0x0000FF : 0xFFFF00;
            out += {char(c >> 16), char(c >> 8), char(c)};
        }
    return out;
}

// Makes the named picture from the quadrants with ImageMagick; a last option
// ending in ":" ("PNG8:", "BMP3:") is the output format.
std::string makePicture(const TempDir& dir, const std::string& name, std::vector<std::string> options)
{
    std::string source = dir.file("quadrants.ppm");
    writeFile(source, quadrantsPpm());
    std::string prefix;
    if (!options.empty() && options.back().back() == ':') {
        prefix = options.back();
        options.pop_back();
    }
    // ImageMagick 6 stores Targa rows top first but marks them bottom first: netpbm makes those.
    if (options.size() == 1 && options[0] == "pamtotga") {
        ToolResult made = runTool({"pamtotga", "-rgb", source});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        writeFile(dir.file(name), made.out);
        return dir.file(name);
    }
    std::vector<std::string> args = {"convert", source};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(prefix + dir.file(name));
    EXPECT_EQ(runTool(args).exitCode, 0) << name;
    return dir.file(name);
}

struct ImageRow {
    int width = 0, height = 0;
    std::string color, enc;
    int bpc = 0;
    int object = 0;
};

std::vector<ImageRow> listImages(const std::string& pdfFile)
{
    ToolResult r = runTool({"pdfimages", "-list", pdfFile});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<ImageRow> rows;
    std::istringstream in(r.out);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string page, num, type, interp, id;
        ImageRow row;
        int comp;
        fields >> page >> num >> type >> row.width >> row.height >> row.color >> comp >> row.bpc >> row.enc >>
            interp >> row.object;
        rows.push_back(row);
    }
    return rows;
}

bool near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// Draws the files on pages of their own (in points); returns the PDF's path.
std::string drawPages(const TempDir& dir, const std::vector<std::string>& files, int mode, bool reuse = true)
{
    std::string out = dir.file("pictures.pdf");
    PdfHandle h;
    h.setFile(out);
    EXPECT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, 1), 0);
    EXPECT_EQ(pdf().SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, mode), 0);
    EXPECT_EQ(pdf().SetNumProp(h, VUM_NO_IMAGE_REUSE, reuse ? 0 : 1), 0);
    EXPECT_EQ(pdf().BeginDoc(h), 0);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i) {
            EXPECT_EQ(pdf().NewPage(h), 0);
        }
        EXPECT_EQ(pdf().StretchDrawFromFile(h, 100, 100, 300, 250, files[i].c_str()), 0) << lastError();
    }
    EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
    return out;
}

struct FormatCase {
    const char* name;
    std::vector<std::string> options;
    int mode;
    const char* color;
    const char* enc;
    int bpc;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.name;
}

} // namespace

class PictureFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PictureFormats, EachFormatOnAPage)
{
    const FormatCase& c = GetParam();
    TempDir dir;
    std::string out = drawPages(dir, {makePicture(dir, c.name, c.options)}, c.mode);
    ASSERT_EQ(qpdfProblems(out), "");
    auto rows = listImages(out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].width, 40);
    EXPECT_EQ(rows[0].height, 30);
    EXPECT_EQ(rows[0].color, c.color);
    EXPECT_EQ(rows[0].enc, c.enc);
    EXPECT_EQ(rows[0].bpc, c.bpc);
    // The picture fills 200 x 150 points from (100, 100): sample each quadrant.
    const Raster page = renderPage(out);
    struct Probe {
        int x, y;
        uint32_t rgb;
    } probes[] = {{150, 135, 0xFF0000}, {250, 135, 0x00FF00}, {150, 215, 0x0000FF}, {250, 215, 0xFFFF00},
                  {50, 50, 0xFFFFFF}};
    bool gray = std::string(c.color) == "gray", cmyk = std::string(c.color) == "cmyk";
    for (const Probe& p : probes) {
        uint32_t want = p.rgb, got = page.at(p.x, p.y);
        if (gray && want != 0xFFFFFF) {
            EXPECT_TRUE(near(got, (got & 0xFF) * 0x010101u, 2)) << "grey at " << p.x << "," << p.y;
            continue;
        }
        if (cmyk) {
            // The renderer's CMYK conversion dulls the colours; a wrongly
            // inverted picture would come out in the complementary colours.
            auto distance = [](uint32_t a, uint32_t b) {
                int d = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
                return d;
            };
            EXPECT_LT(distance(got, want), distance(got, 0xFFFFFF ^ want)) << std::hex << got;
            continue;
        }
        EXPECT_TRUE(near(got, want, 12)) << "at " << p.x << "," << p.y << std::hex << " got " << got << " want " << want;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PictureDraw, PictureFormats,
    ::testing::Values(
        FormatCase{"q.png", {}, 1, "rgb", "image", 8},
        FormatCase{"q8.png", {"PNG8:"}, 1, "rgb", "image", 8},
        FormatCase{"q.gif", {}, 1, "rgb", "image", 8},
        FormatCase{"q.bmp", {"-type", "Palette", "-compress", "RLE", "BMP3:"}, 1, "rgb", "image", 8},
        FormatCase{"q24.bmp", {"BMP3:"}, 0, "rgb", "image", 8},
        FormatCase{"q.ico", {}, 1, "rgb", "image", 8},
        FormatCase{"q.jpg", {}, 2, "rgb", "jpeg", 8},
        FormatCase{"q-decoded.jpg", {}, 1, "rgb", "image", 8},
        FormatCase{"q-png-as-jpeg.png", {}, 2, "rgb", "jpeg", 8},
        FormatCase{"gray.jpg", {"-colorspace", "Gray"}, 2, "gray", "jpeg", 8},
        FormatCase{"cmyk.jpg", {"-colorspace", "CMYK"}, 2, "cmyk", "jpeg", 8},
        FormatCase{"q.tga", {"pamtotga"}, 1, "rgb", "image", 8},
        FormatCase{"q.tif", {"-compress", "LZW"}, 1, "rgb", "image", 8},
        FormatCase{"q-jpeg.tif", {"-compress", "JPEG"}, 1, "rgb", "image", 8},
        FormatCase{"q.eps", {"EPT2:"}, 1, "rgb", "image", 8},
        FormatCase{"q.pcx", {}, 1, "rgb", "image", 8},
        FormatCase{"q.sgi", {}, 1, "rgb", "image", 8},
        FormatCase{"q.ppm", {}, 1, "rgb", "image", 8},
        FormatCase{"q.psd", {}, 1, "rgb", "image", 8}),
    [](const auto& tp) {
        std::string name;
        for (const char* p = tp.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(PictureDraw, PassedThroughJpegComesBackByteForByte)
{
    TempDir dir;
    std::string jpg = makePicture(dir, "photo.jpg", {"-quality", "83"});
    std::string out = drawPages(dir, {jpg}, 2);
    ASSERT_EQ(runTool({"pdfimages", "-j", out, dir.file("back")}).exitCode, 0);
    EXPECT_EQ(readFile(dir.file("back-000.jpg")), readFile(jpg));
}

TEST(PictureDraw, AdobeCmykIsDecodedInverted)
{
    TempDir dir;
    std::string jpg = makePicture(dir, "cmyk.jpg", {"-colorspace", "CMYK"});
    std::string out = drawPages(dir, {jpg}, 2);
    std::string bytes = readFile(out);
    EXPECT_NE(bytes.find("/ColorSpace/DeviceCMYK"), std::string::npos);
    EXPECT_NE(bytes.find("/Decode[1 0 1 0 1 0 1 0]"), std::string::npos);
}

TEST(PictureDraw, OneFileOnThreePagesIsOneObject)
{
    TempDir dir;
    std::string png = makePicture(dir, "q.png", {});
    auto count = [](const std::string& s, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
            ++n;
        return n;
    };
    std::string shared = drawPages(dir, {png, png, png}, 1);
    ASSERT_EQ(qpdfProblems(shared), "");
    auto rows = listImages(shared);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].object, rows[1].object);
    EXPECT_EQ(rows[1].object, rows[2].object);
    EXPECT_EQ(count(readFile(shared), "/Subtype/Image"), 1u);
    EXPECT_EQ(count(readFile(shared), "/Im0 Do"), 3u);

    std::string separate = drawPages(dir, {png, png, png}, 1, false);
    EXPECT_EQ(count(readFile(separate), "/Subtype/Image"), 3u);
    EXPECT_NE(readFile(separate).find("/Im2 Do"), std::string::npos);
}

TEST(PictureDraw, PlacementAndStoredForms)
{
    TempDir dir;
    std::string png = makePicture(dir, "q.png", {});
    std::string out = dir.file("placed.pdf");
    {
        PdfHandle h;
        h.setFile(out);
        pdf().SetNumProp(h, VUM_LENGTH_UNIT, 1);
        pdf().SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, 0);
        pdf().SetNumProp(h, VUM_SMART_STRETCH_DRAW, 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().StretchDrawFromFile(h, 0, 0, 100, 50, png.c_str()), 0) << lastError();
        ASSERT_EQ(pdf().DrawFromFile(h, 10, 20, png.c_str()), 0) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0);
    }
    std::string bytes = readFile(out);
    EXPECT_TRUE(std::regex_search(bytes, std::regex("\n99 0 0 49 0 [0-9.]+ cm\n/Im0 Do\n")));
    EXPECT_NE(bytes.find("/Filter[/ASCII85Decode]"), std::string::npos);
    EXPECT_EQ(qpdfProblems(out), "");
}

TEST(PictureDraw, PaletteAndOneBitPicturesKeepTheirColours)
{
    TempDir dir;
    std::string palette = makePicture(dir, "palette.bmp", {"-type", "Palette", "BMP3:"});
    std::string bilevel = dir.file("bilevel.bmp");
    std::string pbm = dir.file("bilevel.pbm");
    writeFile(pbm, "P1\n8 2\n1 0 1 0 1 0 1 0\n0 1 0 1 0 1 0 1\n");
    ToolResult made = runTool({"ppmtobmp", "-bpp=1", pbm});
    ASSERT_EQ(made.exitCode, 0);
    writeFile(bilevel, made.out);
    std::string out = drawPages(dir, {palette, bilevel}, 1);
    auto rows = listImages(out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].bpc, 8);
    EXPECT_EQ(rows[0].color, "rgb");
    EXPECT_EQ(rows[1].bpc, 1);
    EXPECT_EQ(rows[1].color, "gray");
    const Raster page = renderPage(out);
    EXPECT_TRUE(near(page.at(150, 135), 0xFF0000, 12));
}

TEST(PictureDraw, UnreadablePicturesFailAndAbort)
{
    TempDir dir;
    std::string png = makePicture(dir, "q.png", {});
    std::string cut = dir.file("cut.png");
    writeFile(cut, readFile(png).substr(0, 60));
    std::string tga = dir.file("cut.tga");
    writeFile(tga, readFile(makePicture(dir, "q.tga", {})).substr(0, 60));
    std::string emf = dir.file("drawing.emf");
    writeFile(emf, std::string(200, '\x01'));
    std::string jpg = makePicture(dir, "q.jpg", {});
    std::string cutJpg = dir.file("cut.jpg");
    writeFile(cutJpg, readFile(jpg).substr(0, readFile(jpg).size() / 2));
    std::string text = dir.file("notes.txt");
    writeFile(text, "just text, no picture");
    for (const std::string& file : {cut, tga, emf, cutJpg, text}) {
        for (int mode : {1, 2}) {
            SCOPED_TRACE(file + " mode " + std::to_string(mode));
            std::string out = dir.file("failed.pdf");
            PdfHandle h;
            h.setFile(out);
            pdf().SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, mode);
            ASSERT_EQ(pdf().BeginDoc(h), 0);
            EXPECT_EQ(pdf().StretchDrawFromFile(h, 0, 0, 100, 100, file.c_str()), -1);
            EXPECT_EQ(lastError(), "Image format or compression scheme not supported: " + file);
            EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
        }
    }
    PdfHandle h;
    h.setFile(dir.file("missing.pdf"));
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    std::string missing = dir.file("missing.png");
    EXPECT_EQ(pdf().DrawFromFile(h, 0, 0, missing.c_str()), -1);
    EXPECT_EQ(lastError(), "File not found: " + missing);
}

TEST(PictureDraw, PictureFromAnAddress)
{
    TempDir served, temp;
    std::string png = makePicture(served, "remote.png", {});
    HttpServer server(served.path());
    ASSERT_TRUE(server.running()) << "the local web server did not start";
    std::string url = server.url("remote.png");
    std::string out = temp.file("remote.pdf");
    {
        PdfHandle h;
        h.setFile(out);
        h.setStr(VUM_TEMP_FOLDER, temp.path().string());
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        EXPECT_EQ(pdf().StretchDrawFromFile(h, 100, 100, 2000, 2000, url.c_str()), 0) << lastError();
        EXPECT_EQ(pdf().StretchDrawFromFile(h, 100, 2100, 2000, 4000, url.c_str()), 0) << lastError();
        EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    ASSERT_EQ(qpdfProblems(out), "");
    // Each address is fetched afresh, so it is never found again by name.
    auto rows = listImages(out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0].object, rows[1].object);
    EXPECT_EQ(rows[0].width, 40);
}
