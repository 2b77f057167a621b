#include "PictureKinds.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "LittleEndian.h"
#include "TempDir.h"
#include "ToolRunner.h"

namespace picturekinds {

namespace {

enum class Source { Opaque, WithAlpha };
// How the file is written: by ImageMagick alone, through netpbm's pnmtopng
// (the only writer of 1, 2 and 4-bit palette PNGs by colour count), or as a
// 4-bit BMP that is then run-length encoded here (no tool writes RLE4).
enum class Via { Magick, PnmToPng, Rle4 };

struct Recipe {
    Kind kind;
    Source source;
    std::vector<std::string> args;  // ImageMagick arguments after the input
    const char* out;                // ImageMagick's output format prefix
    Via via = Via::Magick;
};

const std::vector<std::string> kThresholdAlpha = {"-channel", "A", "-threshold", "50%", "+channel"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Recipe>& recipes()
{
    static const std::vector<Recipe> r = {
        {{"png_palette1", "p1.png", "png 1 3 0"}, Source::Opaque, {"-colors", "2"}, "PPM:", Via::PnmToPng},
        {{"png_palette2", "p2.png", "png 2 3 0"}, Source::Opaque, {"-colors", "4"}, "PPM:", Via::PnmToPng},
        {{"png_palette4", "p4.png", "png 4 3 0"}, Source::Opaque, {"-colors", "16"}, "PPM:", Via::PnmToPng},
        {{"png_palette8", "p8.png", "png 8 3 0"}, Source::Opaque, {"-colors", "256"}, "PNG8:"},
        {{"png_palette_transparent", "pt.PNG", "png 8 3 0"}, Source::WithAlpha, kThresholdAlpha, "PNG8:"},
        {{"png_grey8", "g8.png", "png 8 0 0"}, Source::Opaque, {"-colorspace", "Gray", "-depth", "8"}, "PNG:"},
        {{"png_grey16", "g16.png", "png 16 0 0"}, Source::Opaque, {"-colorspace", "Gray", "-depth", "16"}, "PNG:"},
        {{"png_grey_alpha8", "ga8.png", "png 8 4 0"}, Source::WithAlpha, {"-colorspace", "Gray", "-depth", "8"}, "PNG:"},
        {{"png_grey_alpha16", "ga16.png", "png 16 4 0"}, Source::WithAlpha, {"-colorspace", "Gray", "-depth", "16"}, "PNG:"},
        {{"png_rgb8", "rgb8.png", "png 8 2 0"}, Source::Opaque, {}, "PNG24:"},
        {{"png_rgb16", "rgb16.png", "png 16 2 0"}, Source::Opaque, {"-depth", "16"}, "PNG48:"},
        {{"png_rgba8", "rgba8.png", "png 8 6 0"}, Source::WithAlpha, {}, "PNG32:"},
        {{"png_rgba16", "rgba16.png", "png 16 6 0"}, Source::WithAlpha, {"-depth", "16"}, "PNG64:"},
        {{"png_adam7", "adam7.png", "png 8 6 1"}, Source::WithAlpha, {"-interlace", "PNG"}, "PNG32:"},
        {{"gif_256", "c256.gif", "GIF 8 LZW sRGB None False"}, Source::Opaque, {"-colors", "256"}, "GIF:"},
        {{"gif_interlaced", "inter.GIF", "GIF 8 LZW sRGB GIF False"}, Source::Opaque,
         {"-colors", "256", "-interlace", "GIF"}, "GIF:"},
        {{"gif_transparent", "trans.gif", "GIF 8 LZW sRGB None True"}, Source::WithAlpha, kThresholdAlpha, "GIF:"},
        {{"bmp_1", "b1.bmp", "bmp 1 0"}, Source::Opaque, {"-colors", "2"}, "BMP3:"},
        {{"bmp_4", "b4.bmp", "bmp 4 0"}, Source::Opaque, {"-colors", "16"}, "BMP3:"},
        {{"bmp_8", "b8.bmp", "bmp 8 0"}, Source::Opaque, {"-colors", "256", "-compress", "None"}, "BMP3:"},
        {{"bmp_24", "b24.BMP", "bmp 24 0"}, Source::Opaque, {}, "BMP3:"},
        {{"bmp_32", "b32.bmp", "bmp 32 3"}, Source::WithAlpha, {}, "BMP:"},
        {{"bmp_rle8", "rle8.bmp", "bmp 8 1"}, Source::Opaque, {"-colors", "256", "-compress", "RLE"}, "BMP3:"},
        {{"bmp_rle4", "rle4.bmp", "bmp 4 2"}, Source::Opaque, {"-colors", "16"}, "BMP3:", Via::Rle4},
        {{"tiff_none", "none.tiff", "TIFF 8 None sRGB None False"}, Source::Opaque, {"-compress", "None"}, "TIFF:"},
        {{"tiff_lzw", "lzw.tif", "TIFF 8 LZW sRGB None False"}, Source::Opaque, {"-compress", "LZW"}, "TIFF:"},
        {{"tiff_16", "d16.TIF", "TIFF 16 None sRGB None False"}, Source::Opaque,
         {"-depth", "16", "-compress", "None"}, "TIFF:"},
        {{"jpeg_rgb", "rgb.jpg", "JPEG 8 JPEG sRGB None False"}, Source::Opaque, {}, "JPEG:"},
        {{"jpeg_grey", "grey.jpeg", "JPEG 8 JPEG Gray None False"}, Source::Opaque, {"-colorspace", "Gray"}, "JPEG:"},
        {{"jpeg_cmyk", "cmyk.JPG", "JPEG 8 JPEG CMYK None False"}, Source::Opaque, {"-colorspace", "CMYK"}, "JPEG:"},
        {{"jpeg_progressive", "prog.jpe", "JPEG 8 JPEG sRGB JPEG False"}, Source::Opaque,
         {"-interlace", "JPEG"}, "JPEG:"},
    };
    return r;
}

// A 4-bit uncompressed BMP re-encoded as RLE4: every run of one colour in a
// row becomes one encoded run, rows end with an end-of-line, the last with
// the end of the bitmap.
std::string toRle4(std::string bmp, std::string& error)
{
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || readLe(bmp, 28, 2) != 4 || readLe(bmp, 30, 4) != 0) {
        error = "ImageMagick did not write an uncompressed 4-bit BMP";
        return {};
    }
    const size_t offset = readLe(bmp, 10, 4);
    const size_t width = readLe(bmp, 18, 4), height = readLe(bmp, 22, 4);
    const size_t stride = (width * 4 + 31) / 32 * 4;
    if (height > 0x7FFFFFFF || offset + stride * height > bmp.size()) {
        error = "the 4-bit BMP is cut short";
        return {};
    }
    std::string data;
    for (size_t y = 0; y < height; ++y) {
        const char* row = bmp.data() + offset + y * stride;
        auto pixel = [&](size_t x) { return (uint8_t(row[x / 2]) >> (x % 2 ? 0 : 4)) & 0x0F; };
        for (size_t x = 0; x < width;) {
            size_t n = 1;
            while (x + n < width && n < 255 && pixel(x + n) == pixel(x))
                ++n;
            data += char(n);
            data += char(pixel(x) << 4 | pixel(x));
            x += n;
        }
        data += y + 1 < height ? std::string("\0\0", 2) : std::string("\0\1", 2);
    }
    bmp.resize(offset);
    bmp += data;
    putLe(bmp, 2, uint32_t(bmp.size()), 4);
    putLe(bmp, 30, 2, 4);
    putLe(bmp, 34, uint32_t(data.size()), 4);
    return bmp;
}

bool makeSources(const std::string& folder, std::string& error)
{
    const std::string base = folder + "/base.ppm", alpha = folder + "/alpha.pgm", withAlpha = folder + "/basea.pam";
    const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
    const std::vector<std::vector<std::string>> steps = {
        {"convert", "-size", size, "gradient:#d06030-#3050a0", "-fill", "#20a040", "-draw", "circle 300,200 300,75",
         "-fill", "#f0e020", "-draw", "rectangle 50,50 200,150", "-alpha", "off", "-depth", "8", base},
        {"convert", "-size", size, "radial-gradient:white-black", "-depth", "8", alpha},
        {"convert", base, alpha, "-compose", "CopyOpacity", "-composite", "-depth", "8", withAlpha},
    };
    for (const auto& step : steps) {
        const ToolResult r = runTool(step);
        if (r.exitCode != 0) {
            error = "ImageMagick's convert failed to make the source pictures: " + r.err;
            return false;
        }
    }
    return true;
}

} // namespace

const std::vector<Kind>& all()
{
    static const std::vector<Kind> kinds = [] {
        std::vector<Kind> k;
        for (const Recipe& r : recipes())
            k.push_back(r.kind);
        return k;
    }();
    return kinds;
}

std::string make(const Kind& kind, const std::string& folder, std::string& error)
{
    const Recipe* recipe = nullptr;
    for (const Recipe& r : recipes())
        if (std::string(r.kind.name) == kind.name)
            recipe = &r;
    if (!recipe) {
        error = std::string("no recipe for ") + kind.name;
        return {};
    }
    if (!makeSources(folder, error))
        return {};
    const std::string source = folder + (recipe->source == Source::Opaque ? "/base.ppm" : "/basea.pam");
    const std::string path = folder + "/" + kind.file;
    const bool piped = recipe->via != Via::Magick;
    const ToolResult r = runTool(std::vector<std::string>{"convert", source} + recipe->args +
                                 std::vector<std::string>{recipe->out + (piped ? std::string("-") : path)});
    if (r.exitCode != 0) {
        error = "ImageMagick's convert failed: " + r.err;
        return {};
    }
    if (recipe->via == Via::PnmToPng) {
        const ToolResult png = runTool({"pnmtopng"}, r.out);
        if (png.exitCode != 0) {
            error = "netpbm's pnmtopng failed: " + png.err;
            return {};
        }
        writeFile(path, png.out);
    } else if (recipe->via == Via::Rle4) {
        const std::string rle = toRle4(r.out, error);
        if (rle.empty())
            return {};
        writeFile(path, rle);
    }
    return path;
}

std::string kindOf(const std::string& path)
{
    const std::string b = readFile(path).substr(0, 64);
    if (b.size() >= 29 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0)
        return "png " + std::to_string(uint8_t(b[24])) + " " + std::to_string(uint8_t(b[25])) + " " +
               std::to_string(uint8_t(b[28]));
    if (b.size() >= 34 && b.compare(0, 2, "BM") == 0)
        return "bmp " + std::to_string(readLe(b, 28, 2)) + " " + std::to_string(readLe(b, 30, 4));
    const ToolResult r = runTool({"identify", "-format", "%m %z %C %[colorspace] %[interlace] %A", path});
    return r.exitCode == 0 ? r.out : "unreadable: " + r.err;
}

double rmseAgainstMagick(const std::string& rendered, const std::string& source, int width, int height,
                         std::string& error)
{
    TempDir dir;
    const std::string reference = dir.file("reference.png");
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "!";
    const ToolResult made = runTool({"convert", source, "-resize", size, "-background", "white", "-flatten",
                                     "-alpha", "off", reference});
    if (made.exitCode != 0) {
        error = "ImageMagick's convert could not resize " + source + ": " + made.err;
        return -1;
    }
    // compare prints "absolute (normalised)" and exits 1 when the pictures differ.
    const ToolResult c = runTool({"compare", "-metric", "RMSE", rendered, reference, "null:"});
    const size_t open = c.err.find('('), close = c.err.find(')');
    if (c.exitCode > 1 || open == std::string::npos || close == std::string::npos || close < open) {
        error = "ImageMagick's compare failed: " + c.err;
        return -1;
    }
    return std::strtod(c.err.c_str() + open + 1, nullptr);
}

::testing::AssertionResult makeChecked(const Kind& kind, const std::string& folder, std::string& path)
{
    if (::testing::AssertionResult tools = toolsInstalled({"convert", "identify", "compare", "pnmtopng"}); !tools)
        return tools;
    std::string error;
    path = make(kind, folder, error);
    if (path.empty())
        return ::testing::AssertionFailure() << error;
    if (const std::string written = kindOf(path); written != kind.kind)
        return ::testing::AssertionFailure() << "the tools no longer write the kind this case is about: "
                                             << written << " instead of " << kind.kind;
    return ::testing::AssertionSuccess();
}

} // namespace picturekinds
