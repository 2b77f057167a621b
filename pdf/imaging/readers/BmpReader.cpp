// Windows bitmap files: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// with colour masks, or run-length encoded (RLE4, RLE8).
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/DataBounds.h"
#include "imaging/readers/BmpReader.h"
#include "imaging/readers/BmpRleCodes.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/readers/Dib.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

[[noreturn]] void invalid()
{
    RaiseGraphicError(msg::InvalidBitmap);
}

// Sets pixel x of a 4-bit row.
void setNibble(uint8_t* line, uint64_t x, uint8_t index)
{
    uint8_t& b = line[x / 2];
    b = x % 2 ? uint8_t((b & 0xF0) | (index & 15)) : uint8_t((b & 0x0F) | (index & 15) << 4);
}

// Delta, end-of-line and end-of-bitmap escapes pass pixels over, leaving them
// at index 0: a sprite on an empty background. A picture that passes over
// more than its data could hold as a PNG is refused before it is allocated.
void checkCodesCoverThePicture(const std::vector<uint8_t>& data, uint64_t width, uint64_t height, int bits)
{
    // Codes only move forward, so no pixel is drawn twice.
    uint64_t drawn = 0;
    FollowBmpRleCodes(data, width, height, bits, [&](const TBmpRleSpan& s) { drawn += s.count; });
    if (width * height - drawn > MaxPassedOverPixels(data.size()))
        invalid();
}

void decodeRle(const std::vector<uint8_t>& data, TBitmap& bitmap, int bits)
{
    uint32_t height = bitmap.Height();
    FollowBmpRleCodes(data, bitmap.Width(), height, bits, [&](const TBmpRleSpan& s) {
        uint8_t* line = bitmap.ScanLine(uint32_t(height - 1 - s.y));
        if (bits == 4) {
            for (uint32_t i = 0; i < s.count; ++i)
                setNibble(line, s.x + i, s.Index(i, 4));
        } else if (s.stored) {
            std::memcpy(line + s.x, s.stored, s.count);
        } else {
            std::memset(line + s.x, s.value, s.count);
        }
    });
}

TPixelFormat formatFor(const TDibHeader& h)
{
    switch (h.bitCount) {
    case 1: return TPixelFormat::pf1bit;
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    case 16:
        if (h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x1F)
            return TPixelFormat::pf15bit;
        if (h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x1F)
            return TPixelFormat::pf16bit;
        return TPixelFormat::pf24bit;
    case 24: return TPixelFormat::pf24bit;
    default: return TPixelFormat::pf32bit;
    }
}

// A 16- or 32-bit row whose masks are not the bitmap's own layout.
void convertMaskedRow(const uint8_t* src, uint8_t* dst, const TDibHeader& h, uint32_t width, TPixelFormat format)
{
    int step = h.bitCount / 8;
    int outStep = format == TPixelFormat::pf32bit ? 4 : 3;
    for (uint32_t x = 0; x < width; ++x, src += step, dst += outStep) {
        uint32_t v = step == 2 ? uint32_t(src[0] | src[1] << 8)
                               : uint32_t(src[0] | src[1] << 8 | src[2] << 16 | uint32_t(src[3]) << 24);
        dst[0] = MaskedChannel(v, h.masks[2]);
        dst[1] = MaskedChannel(v, h.masks[1]);
        dst[2] = MaskedChannel(v, h.masks[0]);
        if (outStep == 4)
            dst[3] = h.masks[3] ? MaskedChannel(v, h.masks[3]) : 0;
    }
}

bool plainLayout(const TDibHeader& h, TPixelFormat format)
{
    if (h.bitCount == 32)
        return h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF &&
               (h.masks[3] == 0 || h.masks[3] == 0xFF000000u);
    return h.bitCount != 16 || format != TPixelFormat::pf24bit;
}

} // namespace

void TBitmap::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    uint64_t base = stream.Position();
    uint8_t magic[2];
    if (stream.Remaining() < 26 || stream.Read(magic, 2) != 2 || magic[0] != 'B' || magic[1] != 'M')
        invalid();
    stream.Skip(8);
    uint32_t offBits = stream.ReadLongLE();
    TDibHeader h = ReadDibHeader(stream, msg::InvalidBitmap);
    bool supported = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                     h.bitCount == 24 || h.bitCount == 32;
    bool fields = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    if (!supported || (h.compression == BI_RLE8 && h.bitCount != 8) ||
        (h.compression == BI_RLE4 && h.bitCount != 4) || (fields && h.bitCount != 16 && h.bitCount != 32) ||
        (h.compression != BI_RGB && h.compression != BI_RLE8 && h.compression != BI_RLE4 && !fields))
        invalid();
    if (h.width <= 0)
        invalid();
    if (h.height == 0)
        return;   // an empty picture
    bool topDown = h.height < 0;
    uint64_t height = uint64_t(topDown ? -h.height : h.height);
    uint64_t width = uint64_t(h.width);
    if (!SizeWithinLimits(width, height))
        invalid();
    TPalette palette = ReadDibPalette(stream, h, msg::InvalidBitmap);
    if (offBits != 0) {
        if (offBits > stream.Size() - base)
            invalid();
        stream.Seek(base + offBits);
    }
    // Uncompressed rows must all be in the file before the picture is allocated.
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (!rle && DibStride(width, h.bitCount) * height > stream.Remaining())
        invalid();
    TPixelFormat format = formatFor(h);
    if (rle) {
        if (topDown)
            invalid();
        uint64_t size = h.sizeImage && h.sizeImage <= stream.Remaining() ? h.sizeImage : stream.Remaining();
        std::vector<uint8_t> data(size);
        stream.ReadBuffer(data.data(), data.size());
        checkCodesCoverThePicture(data, width, height, h.bitCount);
        SetPixelFormat(format);
        SetPalette(palette);
        SetSize(uint32_t(width), uint32_t(height));
        decodeRle(data, *this, h.bitCount);
        return;
    }
    SetPixelFormat(format);
    SetPalette(palette);
    SetSize(uint32_t(width), uint32_t(height));
    uint64_t stride = DibStride(width, h.bitCount);
    if (stride * height > stream.Remaining())
        invalid();   // the pixel rows are cut off
    std::vector<uint8_t> row(stride);
    bool plain = plainLayout(h, format);
    for (uint64_t i = 0; i < height; ++i) {
        stream.ReadBuffer(row.data(), row.size());
        uint32_t y = uint32_t(topDown ? i : height - 1 - i);
        if (plain)
            std::memcpy(ScanLine(y), row.data(), std::min<std::size_t>(row.size(), Stride()));
        else
            convertMaskedRow(row.data(), ScanLine(y), h, uint32_t(width), format);
    }
}

namespace {
constexpr TExtensionDeclaration kBitmapExtensions[] = {
    {"bmp", ""},
    {"rle", "Run length encoded Windows bitmaps"},
    {"dib", "Device independant Windows bitmaps"},
};
} // namespace

const TGraphicClass TBitmapClass{"TBitmap", CreateGraphic<TBitmap>, nullptr,
                                 "Windows bitmaps", kBitmapExtensions, ftRaster};

} // namespace vum
