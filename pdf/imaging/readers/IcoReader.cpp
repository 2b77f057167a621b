#include "imaging/readers/IcoReader.h"

#include <cstring>
#include <vector>

#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/readers/Dib.h"
#include "imaging/readers/PngReader.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

[[noreturn]] void invalid()
{
    RaiseGraphicError(msg::InvalidIcon);
}

struct Entry {
    uint32_t width, height, bitCount, size, offset;
};

uint8_t blend(uint8_t value, uint8_t alpha)
{
    return uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

} // namespace

void TIcon::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    uint64_t base = stream.Position();
    if (stream.Remaining() < 6)
        invalid();
    uint16_t reserved = stream.ReadWordLE();
    uint16_t type = stream.ReadWordLE();
    uint16_t count = stream.ReadWordLE();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0 || uint64_t(count) * 16 > stream.Remaining())
        invalid();
    Entry best{};
    bool found = false;
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t e[16];
        stream.ReadBuffer(e, 16);
        Entry entry{e[0] ? e[0] : 256u, e[1] ? e[1] : 256u, uint32_t(e[6] | e[7] << 8),
                    uint32_t(e[8] | e[9] << 8 | e[10] << 16 | uint32_t(e[11]) << 24),
                    uint32_t(e[12] | e[13] << 8 | e[14] << 16 | uint32_t(e[15]) << 24)};
        uint64_t area = uint64_t(entry.width) * entry.height, bestArea = uint64_t(best.width) * best.height;
        if (!found || area > bestArea || (area == bestArea && entry.bitCount > best.bitCount)) {
            best = entry;
            found = true;
        }
    }
    // An empty image is no image (and would hand the readers no buffer at all).
    if (best.size == 0 || best.offset > stream.Size() - base || best.size > stream.Size() - base - best.offset)
        invalid();
    std::vector<uint8_t> data(best.size);
    stream.Seek(base + best.offset);
    stream.ReadBuffer(data.data(), data.size());
    TMemoryStream image(data.data(), data.size());
    if (TPNGGraphic::CanLoad(image))
        loadPng(image);
    else
        loadDib(image);
}

void TIcon::loadPng(TStream& stream)
{
    TPNGGraphic png;
    png.LoadFromStream(stream);
    SetPixelFormat(TPixelFormat::pf24bit);
    SetSize(png.Width(), png.Height());
    bool alpha = png.PixelFormat() == TPixelFormat::pf32bit;
    std::vector<uint8_t> rgb(std::size_t(png.Width()) * 3);
    for (uint32_t y = 0; y < png.Height(); ++y) {
        png.RowToRGB(y, rgb.data());
        uint8_t* out = ScanLine(y);
        const uint8_t* in = png.ScanLine(y);
        for (uint32_t x = 0; x < png.Width(); ++x) {
            uint8_t a = alpha ? in[4 * x + 3] : 255;
            out[3 * x] = blend(rgb[3 * x + 2], a);
            out[3 * x + 1] = blend(rgb[3 * x + 1], a);
            out[3 * x + 2] = blend(rgb[3 * x], a);
        }
    }
}

void TIcon::loadDib(TStream& stream)
{
    TDibHeader h = ReadDibHeader(stream, msg::InvalidIcon);
    bool supported = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 24 || h.bitCount == 32;
    if (!supported || h.compression != BI_RGB || h.width <= 0 || h.height <= 0)
        invalid();
    // The stored height covers the colour rows and the transparency mask.
    uint64_t width = uint64_t(h.width), height = uint64_t(h.height) / 2;
    if (!SizeWithinLimits(width, height))
        invalid();
    TPalette palette = ReadDibPalette(stream, h, msg::InvalidIcon);
    uint64_t stride = DibStride(width, h.bitCount), maskStride = DibStride(width, 1);
    if (stride * height > stream.Remaining())
        invalid();
    std::vector<uint8_t> colors(stride * height);
    stream.ReadBuffer(colors.data(), colors.size());
    std::vector<uint8_t> mask(maskStride * height, 0);
    stream.Read(mask.data(), mask.size());   // a missing mask means every pixel shows
    TBitmap rows;
    rows.SetPixelFormat(h.bitCount == 1 ? TPixelFormat::pf1bit : h.bitCount == 4 ? TPixelFormat::pf4bit
                        : h.bitCount == 8 ? TPixelFormat::pf8bit : h.bitCount == 24 ? TPixelFormat::pf24bit
                        : TPixelFormat::pf32bit);
    rows.SetPalette(palette);
    rows.SetSize(uint32_t(width), uint32_t(height));
    bool anyAlpha = false;
    for (uint64_t i = 0; i < height; ++i) {
        std::memcpy(rows.ScanLine(uint32_t(height - 1 - i)), colors.data() + i * stride, stride);
        if (h.bitCount == 32)
            for (uint64_t x = 0; x < width; ++x)
                anyAlpha = anyAlpha || colors[i * stride + 4 * x + 3] != 0;
    }
    SetPixelFormat(TPixelFormat::pf24bit);
    SetSize(uint32_t(width), uint32_t(height));
    std::vector<uint8_t> rgb(width * 3);
    for (uint32_t y = 0; y < height; ++y) {
        rows.RowToRGB(y, rgb.data());
        const uint8_t* maskRow = mask.data() + (height - 1 - y) * maskStride;
        const uint8_t* src = rows.ScanLine(y);
        uint8_t* out = ScanLine(y);
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t a = anyAlpha ? src[4 * x + 3] : ((maskRow[x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
            out[3 * x] = blend(rgb[3 * x + 2], a);
            out[3 * x + 1] = blend(rgb[3 * x + 1], a);
            out[3 * x + 2] = blend(rgb[3 * x], a);
        }
    }
}

namespace {
constexpr TExtensionDeclaration kIconExtensions[] = {{"ico", ""}};
} // namespace

const TGraphicClass TIconClass{"TIcon", CreateGraphic<TIcon>, nullptr, "Windows icons", kIconExtensions, ftRaster};

} // namespace vum
