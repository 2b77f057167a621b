// JPEG strips of TIFF files: decoded when the header fits the strip, refused
// with a clear error when it does not.
#include <gtest/gtest.h>

#include <functional>

#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/decoders/TiffJpegDecoder.h"
#include "imaging/Errors.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/Stream.h"

using namespace vum;

namespace {

std::vector<uint8_t> stripJpeg(const TempDir& dir)
{
    std::string file = dir.file("strip.jpg");
    EXPECT_EQ(runTool({"convert", "-size", "16x8", "gradient:red-blue", "-sampling-factor", "1x1", file}).exitCode, 0);
    std::string bytes = readFile(file);
    return {bytes.begin(), bytes.end()};
}

TImageProperties stripProperties()
{
    TImageProperties p;
    p.Width = 16;
    p.Height = 8;
    p.RowsPerStrip = {8};
    p.SamplesPerPixel = 3;
    p.BitsPerSample = 8;
    p.BitsPerPixel = 24;
    p.ColorScheme = TColorScheme::YCbCr;
    p.YCbCrSubsampling = {1, 1};
    p.StripCount = 1;
    return p;
}

std::string decodeError(const std::vector<uint8_t>& jpeg, const TImageProperties& p, std::size_t unpacked,
                        std::vector<uint8_t>* out = nullptr)
{
    TTIFFJPEGDecoder decoder(p);
    std::vector<uint8_t> buffer(unpacked + 4, 0xEE);
    try {
        decoder.StartDecoding();
        const uint8_t* source = jpeg.data();
        uint8_t* dest = buffer.data();
        decoder.Decode(source, dest, jpeg.size(), unpacked);
        decoder.FinishDecoding();
    } catch (const EGraphicCompression& e) {
        return e.what();
    }
    for (std::size_t i = unpacked; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], 0xEE) << "written past the strip";
    if (out)
        *out = std::vector<uint8_t>(buffer.begin(), buffer.begin() + long(unpacked));
    return "";
}

} // namespace

TEST(TiffJpegDecoder, DecodesAFittingStripLikeTheJpegReader)
{
    TempDir dir;
    std::vector<uint8_t> jpeg = stripJpeg(dir);
    std::vector<uint8_t> rows;
    ASSERT_EQ(decodeError(jpeg, stripProperties(), 16 * 3 * 8, &rows), "");
    TMemoryStream stream(jpeg.data(), jpeg.size());
    TJPEGImage image;
    image.LoadFromStream(stream);
    std::vector<uint8_t> rgb(16 * 3);
    for (uint32_t y = 0; y < 8; ++y) {
        image.RowToRGB(y, rgb.data());
        EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), rows.begin() + y * 48)) << "row " << y;
    }
}

TEST(TiffJpegDecoder, MismatchesAreRefused)
{
    TempDir dir;
    std::vector<uint8_t> jpeg = stripJpeg(dir);
    struct Case {
        const char* what;
        std::function<void(TImageProperties&)> change;
        std::size_t unpacked;
        const char* error;
    };
    const Case cases[] = {
        {"rows per strip one short", [](TImageProperties& p) { p.RowsPerStrip = {7}; }, 16 * 3 * 7,
         "Improper JPEG strip/tile size."},
        {"part of a line", [](TImageProperties& p) { p.Width = 100; }, 1000, "Fractional JPEG scanline unsupported."},
        {"one sample a pixel", [](TImageProperties& p) { p.SamplesPerPixel = 1; p.BitsPerPixel = 8; }, 16 * 8,
         "Improper JPEG component count."},
        {"12-bit samples", [](TImageProperties& p) { p.BitsPerSample = 12; p.BitsPerPixel = 36; }, 16 * 36 / 8 * 8,
         "Improper JPEG data precision."},
        {"subsampled chroma claimed", [](TImageProperties& p) { p.YCbCrSubsampling = {2, 2}; }, 16 * 3 * 8,
         "Improper JPEG sampling factors."},
        {"a whole picture as tables",
         [&jpeg](TImageProperties& p) { p.JPEGTables = jpeg; }, 16 * 3 * 8, "Bogus JPEG tables field."},
        {"garbage as tables", [](TImageProperties& p) { p.JPEGTables = {1, 2, 3, 4}; }, 16 * 3 * 8,
         "Bogus JPEG tables field."},
    };
    for (const Case& c : cases) {
        TImageProperties p = stripProperties();
        c.change(p);
        EXPECT_EQ(decodeError(jpeg, p, c.unpacked), c.error) << c.what;
    }
}
