#include "imaging/Bitmap.h"

#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/readers/Dib.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

int BitsOfPixelFormat(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: return 16;
    case TPixelFormat::pf32bit: return 32;
    default: return 24;
    }
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName);
    LoadFromStream(stream);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    format_ = format;
    allocate();
}

void TBitmap::SetSize(uint32_t width, uint32_t height)
{
    if (width == width_ && height == height_)
        return;
    if ((width != 0 || height != 0) && !SizeWithinLimits(width, height))
        RaisePictureTooLarge();
    width_ = width;
    height_ = height;
    allocate();
}

void TBitmap::ReleaseImage()
{
    width_ = height_ = 0;
    stride_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
}

void TBitmap::allocate()
{
    uint64_t stride = (uint64_t(width_) * BitsOfPixelFormat(format_) + 31) / 32 * 4;
    uint64_t bytes = stride * height_;
    if (!AllocationWithinLimits(bytes))
        RaisePictureTooLarge();
    stride_ = std::size_t(stride);
    pixels_.assign(std::size_t(bytes), 0);
}

static uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | g << 8 | b << 16;
}

uint32_t TBitmap::PixelColor(uint32_t x, uint32_t y) const
{
    const uint8_t* line = ScanLine(y);
    auto fromPalette = [this](uint32_t index) {
        if (index >= palette_.size())
            return 0u;
        const TPaletteEntry& e = palette_[index];
        return rgb(e.red, e.green, e.blue);
    };
    switch (format_) {
    case TPixelFormat::pf1bit: return fromPalette((line[x / 8] >> (7 - x % 8)) & 1);
    case TPixelFormat::pf4bit: return fromPalette((line[x / 2] >> (x % 2 ? 0 : 4)) & 15);
    case TPixelFormat::pf8bit: return fromPalette(line[x]);
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: {
        uint32_t v = line[2 * x] | line[2 * x + 1] << 8;
        if (format_ == TPixelFormat::pf15bit)
            return rgb(ExpandBits(v >> 10 & 31, 5), ExpandBits(v >> 5 & 31, 5), ExpandBits(v & 31, 5));
        return rgb(ExpandBits(v >> 11 & 31, 5), ExpandBits(v >> 5 & 63, 6), ExpandBits(v & 31, 5));
    }
    case TPixelFormat::pf32bit: return rgb(line[4 * x + 2], line[4 * x + 1], line[4 * x]);
    default: return rgb(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
    }
}

void TBitmap::RowToRGB(uint32_t row, uint8_t* out) const
{
    const uint8_t* line = ScanLine(row);
    if (format_ == TPixelFormat::pf24bit || format_ == TPixelFormat::pfDevice ||
        format_ == TPixelFormat::pf32bit) {
        int step = format_ == TPixelFormat::pf32bit ? 4 : 3;
        for (uint32_t x = 0; x < width_; ++x, line += step, out += 3) {
            out[0] = line[2];
            out[1] = line[1];
            out[2] = line[0];
        }
        return;
    }
    for (uint32_t x = 0; x < width_; ++x, out += 3) {
        uint32_t c = PixelColor(x, row);
        out[0] = uint8_t(c);
        out[1] = uint8_t(c >> 8);
        out[2] = uint8_t(c >> 16);
    }
}

void TBitmap::Fill(uint32_t colorOrIndex)
{
    uint8_t r = uint8_t(colorOrIndex), g = uint8_t(colorOrIndex >> 8), b = uint8_t(colorOrIndex >> 16);
    for (uint32_t y = 0; y < height_; ++y) {
        uint8_t* line = ScanLine(y);
        switch (format_) {
        case TPixelFormat::pf1bit:
            std::memset(line, (colorOrIndex & 1) ? 0xFF : 0, stride_);
            break;
        case TPixelFormat::pf4bit:
            std::memset(line, int((colorOrIndex & 15) * 17), stride_);
            break;
        case TPixelFormat::pf8bit:
            std::memset(line, int(colorOrIndex & 255), stride_);
            break;
        case TPixelFormat::pf15bit:
        case TPixelFormat::pf16bit: {
            uint16_t v = format_ == TPixelFormat::pf15bit
                             ? uint16_t((r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
                             : uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
            for (uint32_t x = 0; x < width_; ++x) {
                line[2 * x] = uint8_t(v);
                line[2 * x + 1] = uint8_t(v >> 8);
            }
            break;
        }
        case TPixelFormat::pf32bit:
            for (uint32_t x = 0; x < width_; ++x) {
                line[4 * x] = b;
                line[4 * x + 1] = g;
                line[4 * x + 2] = r;
                line[4 * x + 3] = 0;
            }
            break;
        default:
            for (uint32_t x = 0; x < width_; ++x) {
                line[3 * x] = b;
                line[3 * x + 1] = g;
                line[3 * x + 2] = r;
            }
        }
    }
}

} // namespace vum
