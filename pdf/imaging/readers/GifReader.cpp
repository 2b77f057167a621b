#include "imaging/readers/GifReader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "imaging/DataBounds.h"
#include "imaging/decoders/LzwDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kGif = "GIF";

bool signatureMatches(const uint8_t* sig)
{
    return std::toupper(sig[0]) == 'G' && std::toupper(sig[1]) == 'I' && std::toupper(sig[2]) == 'F';
}

TPalette readColorTable(TStream& stream, uint32_t entries)
{
    std::vector<uint8_t> bytes(entries * 3);
    stream.ReadBuffer(bytes.data(), bytes.size());
    TPalette palette(entries);
    for (uint32_t i = 0; i < entries; ++i)
        palette[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    return palette;
}

} // namespace

bool TGIFGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 23)
        return false;
    TPositionGuard guard(stream);
    uint8_t sig[3];
    return stream.Read(sig, 3) == 3 && signatureMatches(sig);
}

void TGIFGraphic::SkipSubBlocks(TStream& stream)
{
    for (uint8_t length = stream.ReadByte(); length != 0; length = stream.ReadByte())
        stream.Skip(length);
}

uint8_t TGIFGraphic::SkipExtensions(TStream& stream)
{
    // Running out of data before an image or the trailer raises a read error.
    for (;;) {
        uint8_t b = stream.ReadByte();
        if (b == ',' || b == ';')
            return b;
        if (b != '!')
            continue;
        uint8_t label = stream.ReadByte();
        if (label == 0x01) {
            stream.Skip(stream.ReadByte());
            SkipSubBlocks(stream);
        } else if (label == 0xF9) {
            stream.Skip(uint64_t(stream.ReadByte()) + 1);
        } else if (label == 0xFE || label == 0xFF) {
            SkipSubBlocks(stream);
        }
    }
}

bool TGIFGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t sig[6];
    if (stream.Read(sig, 6) != 6 || !signatureMatches(sig))
        return false;
    TImageProperties& p = properties_;
    if (std::isdigit(sig[3]) && std::isdigit(sig[4]))
        p.Version = uint32_t((sig[3] - '0') * 10 + (sig[4] - '0'));
    p.ColorScheme = TColorScheme::Indexed;
    p.SamplesPerPixel = 1;
    p.BitsPerSample = 8;
    p.Compression = TCompressionType::ctLZW;
    uint16_t screenWidth = stream.ReadWordLE();
    uint16_t screenHeight = stream.ReadWordLE();
    uint8_t packed = stream.ReadByte();
    stream.Skip(2);
    if (packed & 0x80) {
        p.BitsPerSample = uint8_t((packed & 7) + 1);
        stream.Skip(3u << ((packed & 7) + 1));
    }
    if (SkipExtensions(stream) == ',') {
        stream.Skip(4);
        uint16_t width = stream.ReadWordLE();
        uint16_t height = stream.ReadWordLE();
        uint8_t imagePacked = stream.ReadByte();
        p.Width = width ? width : screenWidth;
        p.Height = height ? height : screenHeight;
        p.LocalColorTable = imagePacked & 0x80;
        if (p.LocalColorTable)
            p.BitsPerSample = uint8_t((imagePacked & 7) + 1);
        p.Interlaced = imagePacked & 0x40;
    }
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    return true;
}

void TGIFGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kGif);
    stream.Seek(basePosition_);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    stream.Skip(6);
    SetPixelFormat(TPixelFormat::pf8bit);
    stream.Skip(4);
    uint8_t packed = stream.ReadByte();
    stream.Skip(2);
    TPalette palette;
    if (packed & 0x80) {
        palette = readColorTable(stream, 2u << (packed & 7));
        SetPalette(palette);
    }
    uint8_t found = SkipExtensions(stream);
    phase.finish();
    if (found == ',')
        readImage(stream, palette);
}

void TGIFGraphic::readImage(TStream& stream, TPalette& palette)
{
    Progress(TProgressStage::psStarting, 0, false, "Loading data...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    const TImageProperties& p = properties_;
    stream.Skip(8);
    uint8_t imagePacked = stream.ReadByte();
    if (!SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kGif);
    if (imagePacked & 0x80) {
        TPalette local = readColorTable(stream, 2u << (imagePacked & 7));
        if (palette.size() < local.size())
            palette.resize(local.size());
        std::copy(local.begin(), local.end(), palette.begin());
        SetPalette(palette);
    }
    uint8_t codeSize = stream.ReadByte();
    uint64_t start = stream.Position();
    uint64_t packedSize = 0;
    bool terminated = false;
    for (uint8_t length; stream.Read(&length, 1) == 1;) {
        if (length == 0) {
            terminated = true;
            break;
        }
        packedSize += length;
        if (stream.Remaining() < length)
            break;
        stream.Seek(stream.Position() + length);
    }
    // Image data cut off by the end of the file: the picture would be incomplete.
    // Every code takes at least codeSize + 1 bits and stands for at most 4096
    // pixels, so a picture far larger than its data could ever fill is forged.
    uint64_t pixels = uint64_t(p.Width) * p.Height;
    uint64_t mostPixels = packedSize * 8 / (std::max<uint64_t>(codeSize, 1) + 1) * 4096;
    if (!terminated || pixels > mostPixels || !AllocationWithinLimits(packedSize) ||
        !AllocationWithinLimits(pixels + p.Width))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kGif);
    std::vector<uint8_t> packedData(packedSize);
    stream.Seek(start);
    std::size_t filled = 0;
    for (uint8_t length; filled < packedSize && stream.Read(&length, 1) == 1 && length != 0;) {
        std::size_t got = stream.Read(packedData.data() + filled, std::min<std::size_t>(length, packedSize - filled));
        filled += got;
        if (got < length)
            break;
    }
    std::vector<uint8_t> decoded(pixels + p.Width);
    SetSize(p.Width, p.Height);
    StartProgressRect();
    TGIFLZWDecoder decoder(codeSize);
    const uint8_t* source = packedData.data();
    uint8_t* dest = decoded.data();
    decoder.Decode(source, dest, filled, pixels);
    // Data that stop before the last pixel (an end code is optional: the count decides).
    if (decoder.Decoded() < pixels)
        RaisePackedDataEndsEarly(kGif);
    phase.finish();

    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    const uint8_t* next = decoded.data();
    auto place = [&](uint32_t row) {
        std::copy(next, next + p.Width, ScanLine(row));
        next += p.Width;
    };
    if (p.Interlaced) {
        static const uint32_t starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (uint32_t row = starts[pass]; row < p.Height; row += steps[pass]) {
                place(row);
                if (pass == 3)
                    RowProgress(row, p.Height);
            }
    } else {
        for (uint32_t row = 0; row < p.Height; ++row) {
            place(row);
            RowProgress(row, p.Height);
        }
    }
}

namespace {
constexpr TExtensionDeclaration kGIFGraphicExtensions[] = {{"gif", ""}};
} // namespace

const TGraphicClass TGIFGraphicClass{"TGIFGraphic", CreateGraphic<TGIFGraphic>, TGIFGraphic::CanLoad,
                                     "CompuServe images", kGIFGraphicExtensions, ftRaster | ftMultiImage | ftAnimation};

} // namespace vum
