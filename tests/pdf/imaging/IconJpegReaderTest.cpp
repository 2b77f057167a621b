// Icons and JPEG files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/readers/IcoReader.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

// Largest difference of any channel.
int maxDifference(const Raster& a, const Raster& b)
{
    if (a.rgb.size() != b.rgb.size())
        return 999;
    int most = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        most = std::max(most, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
    return most;
}

std::string le(uint32_t v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += i < 4 ? char((v >> (8 * i)) & 255) : '\0';
    return s;
}

} // namespace

TEST(IconReader, OpaqueIconDecodesLikeImageMagick)
{
    TempDir dir;
    std::string source = dir.file("source.ppm"), ico = dir.file("picture.ico");
    writeFile(source, makePpm(32, 32, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 500); }));
    ASSERT_EQ(runTool({"convert", source, "-define", "icon:auto-resize=16,32", ico}).exitCode, 0);
    auto picture = loadWithRegistry(ico);
    ASSERT_NE(dynamic_cast<TIcon*>(picture.get()), nullptr);
    EXPECT_EQ(picture->Width(), 32u);   // the largest image of the file
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"convert", ico + "[1]", "-depth", "8", "ppm:-"})), "");
}

TEST(IconReader, MaskedPixelsAreWhite)
{
    // A 2x2 24-bit icon whose mask hides the top-left pixel.
    std::string pixels = std::string("\x00\x00\xff" "\x00\xff\x00" "\x00\x00", 8) +    // bottom row, padded
                         std::string("\xff\x00\x00" "\x10\x20\x30" "\x00\x00", 8);      // top row
    std::string mask = std::string("\x00\x00\x00\x00", 4) + std::string("\x80\x00\x00\x00", 4);
    std::string dib = le(40, 4) + le(2, 4) + le(4, 4) + le(1, 2) + le(24, 2) + le(0, 4) +
                      le(uint32_t(pixels.size() + mask.size()), 4) + le(0, 16) + pixels + mask;
    std::string ico = le(0, 2) + le(1, 2) + le(1, 2) + std::string("\x02\x02\x00\x00", 4) + le(1, 2) + le(24, 2) +
                      le(uint32_t(dib.size()), 4) + le(22, 4) + dib;
    TempDir dir;
    std::string file = dir.file("masked.ico");
    writeFile(file, ico);
    auto picture = loadWithRegistry(file);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->PixelColor(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->PixelColor(1, 0), 0x102030u);
    EXPECT_EQ(picture->PixelColor(0, 1), 0x0000FFu);
}

TEST(JpegReader, DecodesLikeImageMagick)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
        int components;
        int tolerance;
    } cases[] = {
        {"colour", {}, 3, 0},
        {"grey", {"-colorspace", "Gray"}, 1, 0},
        {"cmyk", {"-colorspace", "CMYK"}, 4, 2},
        {"progressive", {"-interlace", "JPEG"}, 3, 0},
    };
    TempDir dir;
    std::string source = dir.file("source.ppm");
    writeFile(source, makePpm(45, 27, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 1000); }));
    for (const Case& c : cases) {
        std::string jpg = dir.file(std::string(c.what) + ".jpg");
        std::vector<std::string> args = {"convert", source};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(jpg);
        ASSERT_EQ(runTool(args).exitCode, 0);
        std::string bytes = readFile(jpg);
        TJpegInfo info = TJPEGImage::ReadInfo(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        EXPECT_EQ(info.components, c.components) << c.what;
        auto picture = loadWithRegistry(jpg);
        ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.get()), nullptr) << c.what;
        Raster theirs = decodeWithTool({"convert", jpg, "-colorspace", "sRGB", "-depth", "8", "ppm:-"});
        EXPECT_LE(maxDifference(rasterOf(*picture), theirs), c.tolerance) << c.what;
    }
}

TEST(JpegReader, DataCutShortWithAnEndMarkerAreRefused)
{
    // libjpeg decodes on past the end of the data with empty blocks (grey rows,
    // or a blurred picture of a progressive file): the reader must not take that
    // for the picture.
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    std::string source = dir.file("source.ppm");
    writeFile(source, makePpm(160, 120, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 5000); }));
    struct Kind {
        const char* name;
        std::vector<std::string> options;
    } kinds[] = {
        {"baseline.jpg", {}},
        {"progressive.jpg", {"-interlace", "JPEG"}},
        {"grey.jpg", {"-colorspace", "Gray"}},
        {"grey-progressive.jpg", {"-colorspace", "Gray", "-interlace", "JPEG"}},
    };
    for (const Kind& k : kinds) {
        std::string jpg = dir.file(k.name);
        std::vector<std::string> args = {"convert", source};
        args.insert(args.end(), k.options.begin(), k.options.end());
        args.push_back(jpg);
        ASSERT_EQ(runTool(args).exitCode, 0) << k.name;
        const std::string whole = readFile(jpg);
        for (int percent : {30, 55, 80, 97}) {
            // What `head -c` and an appended end-of-image marker make.
            std::string cut = whole.substr(0, whole.size() * percent / 100) + "\xff\xd9";
            TMemoryStream stream(reinterpret_cast<const uint8_t*>(cut.data()), cut.size());
            TJPEGImage picture;
            try {
                picture.LoadFromStream(stream);
                ADD_FAILURE() << k.name << " cut at " << percent << "%: loaded";
            } catch (const EInvalidGraphic& e) {
                // A cut inside the header of a later scan may meet another of libjpeg's errors first.
                EXPECT_EQ(std::string(e.what()).rfind("JPEG error: ", 0), 0u) << e.what();
            }
        }
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(whole.data()), whole.size());
        TJPEGImage picture;
        EXPECT_NO_THROW(picture.LoadFromStream(stream)) << k.name;
        EXPECT_EQ(picture.Warnings(), 0) << k.name;
    }
}

TEST(JpegReader, EncodedPictureReadsBack)
{
    std::vector<uint8_t> rgb(16 * 8 * 3, 200);
    std::vector<uint8_t> jpeg = EncodeJpeg(rgb.data(), 16, 8, 90);
    TJpegInfo info = TJPEGImage::ReadInfo(jpeg);
    EXPECT_EQ(info.width, 16u);
    EXPECT_EQ(info.height, 8u);
    EXPECT_EQ(info.components, 3);
}

TEST(IconReader, EmptyOrOutsideEntriesAreRefused)
{
    struct Case { const char* what; uint32_t size, offset; };
    const Case cases[] = {{"size 0", 0, 22}, {"size 0 at the end", 0, 26}, {"past the end", 8, 22}};
    for (const Case& c : cases) {
        std::string ico = le(0, 2) + le(1, 2) + le(1, 2) + std::string("\x02\x02\x00\x00", 4) + le(1, 2) +
                          le(24, 2) + le(c.size, 4) + le(c.offset, 4) + std::string("\x00\x00\x00\x00", 4);
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(ico.data()), ico.size());
        TIcon icon;
        EXPECT_THROW(icon.LoadFromStream(stream), EInvalidGraphic) << c.what;
    }
}
