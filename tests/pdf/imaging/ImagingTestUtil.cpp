#include "ImagingTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "ToolRunner.h"
#include "imaging/Bitmap.h"
#include "imaging/Errors.h"
#include "imaging/PictureLoader.h"
#include "imaging/Stream.h"
#include "imaging/readers/JpegReader.h"

namespace {

// Reads the next header number, skipping blanks and comments.
uint32_t headerNumber(const std::string& s, std::size_t& at)
{
    for (;;) {
        while (at < s.size() && std::isspace(uint8_t(s[at])))
            ++at;
        if (at < s.size() && s[at] == '#') {
            while (at < s.size() && s[at] != '\n')
                ++at;
            continue;
        }
        break;
    }
    uint32_t v = 0;
    while (at < s.size() && std::isdigit(uint8_t(s[at])))
        v = v * 10 + uint32_t(s[at++] - '0');
    return v;
}

} // namespace

Raster parsePnm(const std::string& s)
{
    Raster r;
    if (s.size() < 3 || s[0] != 'P')
        return r;
    char kind = s[1];
    std::size_t at = 2;
    uint32_t maxval = 1, depth = 1;
    std::string tuple;
    if (kind == '7') {
        std::istringstream in(s.substr(3));
        std::string key;
        while (in >> key && key != "ENDHDR") {
            if (key == "WIDTH") in >> r.width;
            else if (key == "HEIGHT") in >> r.height;
            else if (key == "DEPTH") in >> depth;
            else if (key == "MAXVAL") in >> maxval;
            else if (key == "TUPLTYPE") in >> tuple;
        }
        at = s.find("ENDHDR\n") + 7;
    } else {
        r.width = headerNumber(s, at);
        r.height = headerNumber(s, at);
        if (kind != '4')
            maxval = headerNumber(s, at);
        ++at;
        depth = kind == '6' ? 3 : 1;
    }
    r.rgb.resize(std::size_t(r.width) * r.height * 3);
    std::size_t sampleBytes = maxval > 255 ? 2 : 1;
    for (uint32_t y = 0; y < r.height; ++y) {
        for (uint32_t x = 0; x < r.width; ++x) {
            uint8_t* out = &r.rgb[(std::size_t(y) * r.width + x) * 3];
            if (kind == '4') {
                std::size_t rowBytes = (r.width + 7) / 8;
                uint8_t byte = uint8_t(s[at + y * rowBytes + x / 8]);
                uint8_t v = (byte >> (7 - x % 8)) & 1 ? 0 : 255;
                out[0] = out[1] = out[2] = v;
                continue;
            }
            std::size_t pixel = at + (std::size_t(y) * r.width + x) * depth * sampleBytes;
            auto sample = [&](uint32_t i) {
                std::size_t p = pixel + i * sampleBytes;
                uint32_t v = sampleBytes == 2 ? uint32_t(uint8_t(s[p]) << 8 | uint8_t(s[p + 1])) : uint8_t(s[p]);
                return uint8_t(uint64_t(v) * 255 / maxval);
            };
            bool gray = depth < 3;
            out[0] = sample(0);
            out[1] = gray ? out[0] : sample(1);
            out[2] = gray ? out[0] : sample(2);
        }
    }
    return r;
}

Raster rasterOf(const vum::TBitmap& bitmap)
{
    Raster r;
    r.width = bitmap.Width();
    r.height = bitmap.Height();
    r.rgb.resize(std::size_t(r.width) * r.height * 3);
    for (uint32_t y = 0; y < r.height; ++y)
        bitmap.RowToRGB(y, &r.rgb[std::size_t(y) * r.width * 3]);
    return r;
}

Raster decodeWithTool(const std::vector<std::string>& args)
{
    ToolResult result = runTool(args);
    EXPECT_EQ(result.exitCode, 0) << args[0] << ": " << result.err;
    return parsePnm(result.out);
}

std::string rasterDifference(const Raster& ours, const Raster& theirs, int tolerance)
{
    if (ours.width != theirs.width || ours.height != theirs.height)
        return "size " + std::to_string(ours.width) + "x" + std::to_string(ours.height) + " vs " +
               std::to_string(theirs.width) + "x" + std::to_string(theirs.height);
    for (std::size_t i = 0; i < ours.rgb.size(); ++i)
        if (std::abs(int(ours.rgb[i]) - int(theirs.rgb[i])) > tolerance) {
            std::size_t pixel = i / 3;
            return "pixel (" + std::to_string(pixel % ours.width) + "," + std::to_string(pixel / ours.width) +
                   ") channel " + std::to_string(i % 3) + ": " + std::to_string(ours.rgb[i]) + " vs " +
                   std::to_string(theirs.rgb[i]);
        }
    return {};
}

static void putSample(std::string& out, uint32_t v, uint32_t maxval)
{
    if (maxval > 255)
        out += char(v >> 8);
    out += char(v & 255);
}

std::string makePpm(uint32_t width, uint32_t height, uint32_t maxval, const PixelFn& pixel)
{
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n" +
                      std::to_string(maxval) + "\n";
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t c = pixel(x, y);
            if (maxval > 255) {
                // Spread 8-bit channels over 16 bits with distinct low bytes.
                putSample(out, ((c >> 16) & 255) * 257 ^ (x & 255), maxval);
                putSample(out, ((c >> 8) & 255) * 257 ^ (y & 255), maxval);
                putSample(out, (c & 255) * 257, maxval);
            } else {
                putSample(out, (c >> 16) & 255, maxval);
                putSample(out, (c >> 8) & 255, maxval);
                putSample(out, c & 255, maxval);
            }
        }
    return out;
}

std::string makePgm(uint32_t width, uint32_t height, uint32_t maxval, const PixelFn& level)
{
    std::string out = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n" +
                      std::to_string(maxval) + "\n";
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            putSample(out, level(x, y) % (maxval + 1), maxval);
    return out;
}

std::string makePbm(uint32_t width, uint32_t height, const PixelFn& black)
{
    std::string out = "P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; x += 8) {
            uint8_t byte = 0;
            for (uint32_t b = 0; b < 8 && x + b < width; ++b)
                if (black(x + b, y))
                    byte |= uint8_t(0x80 >> b);
            out += char(byte);
        }
    return out;
}

uint32_t patternColor(uint32_t x, uint32_t y, uint32_t n)
{
    uint32_t i = (x * 3 + y * 5) % n;
    return (i * 37 % 256) << 16 | (255 - i * 11 % 256) << 8 | (i * 73 % 256);
}

std::unique_ptr<vum::TBitmap> loadWithRegistry(const std::string& file)
{
    vum::TGraphicClassRef cls = vum::FindPictureClass(file);
    if (!cls)
        return nullptr;
    return vum::LoadPictureFile(file, cls);
}

std::string loadJpegBytes(const std::string& bytes, Raster* picture)
{
    vum::TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    vum::TJPEGImage reader;
    try {
        reader.LoadFromStream(stream);
    } catch (const vum::EInvalidGraphic& e) {
        return e.what();
    }
    if (picture)
        *picture = rasterOf(reader);
    return "";
}
