#include "imaging/readers/TargaReader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <ostream>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kTarga = "Targa";

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

} // namespace

bool TTargaGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 19)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[18];
    if (stream.Read(h, 18) != 18)
        return false;
    uint8_t type = h[2], mapType = h[1], entry = h[7], depth = h[16];
    return (type < 4 || (type >= 9 && type <= 11)) && mapType < 2 &&
           (entry == 15 || entry == 16 || entry == 24 || entry == 32) &&
           (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

bool TTargaGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[18];
    stream.ReadBuffer(h, 18);
    TImageProperties& p = properties_;
    p.Width = le16(h + 12);
    p.Height = le16(h + 14);
    p.BitsPerSample = 8;
    switch (h[16]) {
    case 8:
        p.ColorScheme = h[2] == 3 || h[2] == 11 ? TColorScheme::Gray : TColorScheme::Indexed;
        p.SamplesPerPixel = 1;
        break;
    case 15:
    case 16:
        p.ColorScheme = TColorScheme::RGB;
        p.BitsPerSample = 5;
        p.SamplesPerPixel = 3;
        break;
    case 24:
        p.ColorScheme = TColorScheme::RGB;
        p.SamplesPerPixel = 3;
        break;
    case 32:
        p.ColorScheme = TColorScheme::RGBA;
        p.SamplesPerPixel = 4;
        break;
    default: break;
    }
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    p.Compression = h[2] >= 9 && h[2] <= 11 ? TCompressionType::ctRLE : TCompressionType::ctNone;
    return true;
}

void TTargaGraphic::readPalette(TStream& stream, const uint8_t* h)
{
    uint8_t type = h[2];
    if (h[1] != 1 && type != 3 && type != 11)
        return;
    if (type == 3 || type == 11) {
        colorManager_.SetTargetBitsPerSample(8);
        colorManager_.SetTargetSamplesPerPixel(1);
        SetPalette(colorManager_.CreateGrayPalette(false));
        // A grey picture may still carry a colour map; it is passed over.
    }
    if (h[1] != 1)
        return;
    uint32_t length = le16(h + 5), entryBits = h[7];
    if (entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)
        RaiseGraphicErrorFmt(msg::InvalidPalette, kTarga);
    uint32_t entryBytes = (entryBits + 7) / 8;
    std::vector<uint8_t> map(std::size_t(length) * entryBytes);
    stream.ReadBuffer(map.data(), map.size());
    if (type == 3 || type == 11)
        return;
    // Palette indexes count from the map's first entry; no more than 256 colours.
    uint32_t first = le16(h + 3);
    TPalette palette(256);
    for (uint32_t i = 0; i < length && first + i < 256; ++i) {
        const uint8_t* e = map.data() + std::size_t(i) * entryBytes;
        TPaletteEntry& out = palette[first + i];
        if (entryBytes >= 3) {
            out = {e[2], e[1], e[0]};
        } else {
            uint16_t v = le16(e);
            out = {uint8_t((v >> 10 & 31) * 255 / 31), uint8_t((v >> 5 & 31) * 255 / 31), uint8_t((v & 31) * 255 / 31)};
        }
    }
    SetPalette(palette);
}

void TTargaGraphic::placeRows(const uint8_t* pixels, std::size_t rowSize, bool topDown)
{
    uint32_t height = Height();
    for (uint32_t i = 0; i < height; ++i) {
        uint32_t line = topDown ? i : height - 1 - i;
        std::memcpy(ScanLine(line), pixels + std::size_t(i) * rowSize, rowSize);
        RowProgress(i, height);
    }
}

void TTargaGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (stream.Remaining() < 18 || !ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kTarga);
    stream.Seek(basePosition_);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    uint8_t h[18];
    stream.ReadBuffer(h, 18);
    const TImageProperties& p = properties_;
    uint8_t type = h[2], depth = h[16];
    bool topDown = h[17] & 0x20;
    bool known = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    if (!known)
        return;   // nothing this reader decodes: the picture stays empty
    if (p.SamplesPerPixel == 0 || (depth == 8) != (p.SamplesPerPixel == 1) ||
        ((type == 1 || type == 9) && depth != 8) || !SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kTarga);
    stream.Skip(h[0]);
    // The pixels must fit in what the file holds before the picture is allocated.
    uint64_t pixelBytes = uint64_t(p.Width) * p.Height * ((depth + 7) / 8);
    if (MaxUnpackedSize(type <= 3 ? TCompressionType::ctNone : TCompressionType::ctRLE, stream.Remaining(), 0) <
        pixelBytes)
        RaiseFileEndsEarly();
    colorManager_.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    colorManager_.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    colorManager_.SetSourceBitsPerSample(p.BitsPerSample);
    colorManager_.SetTargetBitsPerSample(p.BitsPerSample);
    SetPixelFormat(colorManager_.PixelFormatOf(1));
    readPalette(stream, h);
    SetSize(p.Width, p.Height);
    phase.finish();

    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    std::size_t pixelSize = (depth + 7) / 8;
    std::size_t rowSize = std::size_t(p.Width) * pixelSize;
    uint64_t total = uint64_t(rowSize) * p.Height;
    std::vector<uint8_t> pixels;
    if (type <= 3) {
        if (total > stream.Remaining())
            RaiseGraphicError(msg::StreamRead);
        pixels.resize(std::size_t(total));
        stream.ReadBuffer(pixels.data(), pixels.size());
    } else {
        // Packets may run on from one row into the next: the picture is decoded whole.
        std::vector<uint8_t> packed = stream.ReadRest();
        if (!AllocationWithinLimits(total) || total / (129 * pixelSize) > packed.size())
            RaiseGraphicError(msg::StreamRead);
        pixels.resize(std::size_t(total));
        TTargaRLEDecoder decoder(depth);
        const uint8_t* source = packed.data();
        uint8_t* dest = pixels.data();
        decoder.Decode(source, dest, packed.size(), std::size_t(p.Width) * p.Height);
        if (decoder.Decoded() < std::size_t(p.Width) * p.Height)
            RaisePackedDataEndsEarly(kTarga);
    }
    placeRows(pixels.data(), rowSize, topDown);
}

void TTargaGraphic::SaveToFile(const std::string& fileName) const
{
    std::ofstream out(fileName, std::ios::binary);
    if (!out)
        RaiseGraphicError("Cannot create file " + fileName);
    SaveToStream(out);
    if (!out.flush())
        RaiseGraphicError("Cannot write file " + fileName);
}

void TTargaGraphic::SaveToStream(std::ostream& out) const
{
    if (Empty())
        return;
    TPixelFormat format = PixelFormat();
    // Indexed pictures are written with one byte a pixel; 5-6-5 pixels and
    // device pictures as 24-bit colour; 15-bit and 32-bit pixels as they are.
    bool indexed = format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit || format == TPixelFormat::pf8bit;
    std::size_t pixelSize = indexed ? 1 : format == TPixelFormat::pf15bit ? 2 : format == TPixelFormat::pf32bit ? 4 : 3;
    uint32_t width = Width(), height = Height();
    if (width > 0xFFFF || height > 0xFFFF)
        RaiseGraphicError("Cannot save image. The picture is too large for a Targa file.");
    uint8_t h[18] = {};
    h[1] = indexed ? 1 : 0;
    h[2] = indexed ? 9 : 10;
    h[5] = 0;   // 256 entries
    h[6] = 1;
    h[7] = 24;
    h[12] = uint8_t(width);
    h[13] = uint8_t(width >> 8);
    h[14] = uint8_t(height);
    h[15] = uint8_t(height >> 8);
    h[16] = uint8_t(pixelSize == 2 ? 15 : pixelSize * 8);
    h[17] = 0x20;   // rows are written top row first
    out.write(reinterpret_cast<const char*>(h), 18);
    if (indexed) {
        uint8_t map[768] = {};
        const TPalette& palette = Palette();
        for (std::size_t i = 0; i < std::min<std::size_t>(palette.size(), 256); ++i) {
            map[3 * i] = palette[i].blue;
            map[3 * i + 1] = palette[i].green;
            map[3 * i + 2] = palette[i].red;
        }
        out.write(reinterpret_cast<const char*>(map), sizeof map);
    }
    TTargaRLEDecoder coder(h[16]);
    std::vector<uint8_t> row(std::size_t(width) * pixelSize), packed(row.size() * 2 + 2);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* line = ScanLine(y);
        if (format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit) {
            int bits = format == TPixelFormat::pf1bit ? 1 : 4;
            for (uint32_t x = 0; x < width; ++x)
                row[x] = uint8_t(line[x * bits / 8] >> (8 - bits - x * bits % 8) & ((1 << bits) - 1));
        } else if (indexed || pixelSize == 2 || format == TPixelFormat::pf32bit || format == TPixelFormat::pf24bit) {
            std::memcpy(row.data(), line, row.size());
        } else {
            for (uint32_t x = 0; x < width; ++x) {
                uint32_t c = PixelColor(x, y);
                row[3 * x] = uint8_t(c >> 16);
                row[3 * x + 1] = uint8_t(c >> 8);
                row[3 * x + 2] = uint8_t(c);
            }
        }
        std::size_t stored = 0;
        coder.Encode(row.data(), packed.data(), width, stored);
        out.write(reinterpret_cast<const char*>(packed.data()), std::streamsize(stored));
    }
}

namespace {
constexpr TExtensionDeclaration kTargaGraphicExtensions[] = {
    {"win", ""},
    {"vst", ""},
    {"vda", ""},
    {"tga", ""},
    {"icb", ""},
};
} // namespace

const TGraphicClass TTargaGraphicClass{"TTargaGraphic", CreateGraphic<TTargaGraphic>, TTargaGraphic::CanLoad,
                                       "Truevision images", kTargaGraphicExtensions, ftRaster};

} // namespace vum
