#include "imaging/readers/PspReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/decoders/InflateDecoder.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kPsp = "PSP";
const char* const kMagic = "Paint Shop Pro Image File";

enum : uint16_t { bImage = 0, bPalette = 2, bLayerStart = 3, bLayer = 4, bChannel = 5 };

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
}

bool magicMatches(const uint8_t* h)
{
    for (int i = 0; i < 25; ++i)
        if (std::tolower(h[i]) != std::tolower(kMagic[i]))
            return false;
    return true;
}

} // namespace

bool TPSPGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 37)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[34];
    return stream.Read(h, 34) == 34 && magicMatches(h) && le16(h + 32) >= 3;
}

bool TPSPGraphic::readBlock(TStream& stream, TBlock& block) const
{
    uint8_t h[14];
    std::size_t size = properties_.Version == 3 ? 14 : 10;
    if (stream.Read(h, size) != size || h[0] != '~')
        return false;
    block.id = le16(h + 4);
    uint32_t total = le32(h + size - 4);
    block.end = stream.Position() + total;
    return block.end <= stream.Size();
}

void TPSPGraphic::skipChunkSize(TStream& stream) const
{
    if (properties_.Version > 3)
        stream.Skip(4);
}

bool TPSPGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[36];
    if (stream.Read(h, 36) != 36 || !magicMatches(h))
        return false;
    TImageProperties& p = properties_;
    p.Version = le16(h + 32);
    TBlock block;
    if (p.Version < 3 || !readBlock(stream, block) || block.id != bImage)
        return false;
    skipChunkSize(stream);
    uint8_t a[42];
    if (stream.Read(a, 42) != 42)
        return false;
    stream.Seek(block.end);
    p.Width = le32(a);
    p.Height = le32(a + 4);
    double resolution;
    std::memcpy(&resolution, a + 8, 8);
    uint8_t unit = a[16];
    compression_ = le16(a + 17);
    uint16_t depth = le16(a + 19);
    bool grey = a[27] != 0;
    if (depth == 24) {
        p.BitsPerSample = 8;
        p.SamplesPerPixel = 3;
        p.ColorScheme = TColorScheme::RGB;
    } else {
        p.BitsPerSample = uint8_t(std::min<uint16_t>(depth, 255));
        p.SamplesPerPixel = 1;
        p.ColorScheme = grey ? TColorScheme::Gray : TColorScheme::Indexed;
    }
    p.BitsPerPixel = uint8_t(std::min<uint32_t>(uint32_t(p.BitsPerSample) * p.SamplesPerPixel, 255));
    p.Compression = compression_ == 0   ? TCompressionType::ctNone
                    : compression_ == 1 ? TCompressionType::ctRLE
                    : compression_ == 2 ? TCompressionType::ctLZ77
                    : compression_ == 3 ? TCompressionType::ctJPEG
                                        : TCompressionType::ctUnknown;
    if (resolution > 0 && resolution < 1e6) {
        p.XResolution = float(unit == 2 ? resolution * 2.54 : resolution);
        p.YResolution = p.XResolution;
    }
    return true;
}

void TPSPGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsp);
    const TImageProperties& p = properties_;
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    switch (p.BitsPerSample) {
    case 1: stride_ = (p.Width + 7) / 8; break;
    case 4: stride_ = p.Width / 2 + 1; break;
    case 8: stride_ = p.Width; break;
    default: RaiseGraphicErrorFmt(msg::InvalidColorFormat, kPsp);
    }
    if (!SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsp);
    if (p.Compression == TCompressionType::ctJPEG || p.Compression == TCompressionType::ctUnknown)
        RaiseGraphicErrorFmt(msg::NotSupportedFor, msg::CompressionScheme, kPsp);
    // The planes of the picture must fit in what the file holds, packed as well as they can be.
    uint64_t planes = p.ColorScheme == TColorScheme::RGB ? 3 : 1;
    if (MaxUnpackedSize(p.Compression, stream.Size() - basePosition_, stride_) <
        uint64_t(stride_) * p.Height * planes)
        RaiseFileEndsEarly();
    TColorManager& cm = colorManager_;
    cm.SetSourceBitsPerSample(p.BitsPerSample);
    cm.SetTargetBitsPerSample(p.BitsPerSample);
    cm.SetSourceSamplesPerPixel(p.SamplesPerPixel);
    cm.SetTargetSamplesPerPixel(p.SamplesPerPixel);
    cm.SetSourceColorScheme(p.ColorScheme);
    cm.SetTargetColorScheme(p.ColorScheme == TColorScheme::RGB ? TColorScheme::BGR : p.ColorScheme);
    SetPixelFormat(cm.PixelFormatOf(1));
    SetSize(p.Width, p.Height);
    if (p.ColorScheme == TColorScheme::Gray)
        SetPalette(cm.CreateGrayPalette(false));
    phase.finish();

    for (TBlock block; readBlock(stream, block); stream.Seek(block.end)) {
        if (block.id == bPalette)
            readPalette(stream);
        else if (block.id == bLayerStart && loadLayerStart(stream, block))
            return;
    }
}

void TPSPGraphic::readPalette(TStream& stream)
{
    skipChunkSize(stream);
    uint8_t count[4];
    stream.ReadBuffer(count, 4);
    uint32_t entries = std::min<uint32_t>(le32(count), 256);
    std::vector<uint8_t> data(std::size_t(entries) * 4);
    stream.ReadBuffer(data.data(), data.size());
    TPalette palette(entries);
    for (uint32_t i = 0; i < entries; ++i)
        palette[i] = {data[4 * i + 2], data[4 * i + 1], data[4 * i]};
    SetPalette(palette);
}

bool TPSPGraphic::findRasterLayer(TStream& stream, const TBlock& start, TBlock& layer)
{
    while (stream.Position() < start.end && readBlock(stream, layer)) {
        if (layer.id == bLayer) {
            uint8_t info[115];
            if (properties_.Version == 3) {
                stream.Skip(256);
                stream.ReadBuffer(info, sizeof info);
                if (info[0] == 0)
                    return true;
            } else {
                uint64_t chunkStart = stream.Position();
                uint8_t size[4], nameLength[2];
                stream.ReadBuffer(size, 4);
                stream.ReadBuffer(nameLength, 2);
                stream.Skip(le16(nameLength));
                stream.ReadBuffer(info, sizeof info);
                stream.Seek(chunkStart + le32(size));
                if (info[0] <= 1)
                    return true;
            }
        }
        stream.Seek(layer.end);
    }
    return false;
}

bool TPSPGraphic::loadLayerStart(TStream& stream, const TBlock& start)
{
    TBlock layer;
    if (!findRasterLayer(stream, start, layer))
        return false;
    Progress(TProgressStage::psStarting, 0, false, "Loading data...");
    TProgressPhase loading([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    loadChannels(stream, layer);
    return true;
}

std::vector<uint8_t> TPSPGraphic::readChannel(TStream& stream, uint32_t compressedSize, uint32_t size, bool optional)
{
    // A channel holds one plane of the picture: a declared size beyond it is
    // not allocated, one short of it (or packed data that cannot fill it) fails.
    const TImageProperties& p = properties_;
    uint64_t need = uint64_t(stride_) * p.Height;
    if (compressedSize > stream.Remaining())
        RaiseFileEndsEarly();
    if (size < need || MaxUnpackedSize(p.Compression, compressedSize, stride_) < need ||
        !AllocationWithinLimits(need)) {
        if (optional)
            return {};
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsp);
    }
    uint64_t useful = p.Compression == TCompressionType::ctNone ? need : MaxPackedSize(need);
    std::vector<uint8_t> packed(std::size_t(std::min<uint64_t>(compressedSize, useful)));
    std::vector<uint8_t> out(static_cast<std::size_t>(need));
    stream.ReadBuffer(packed.data(), packed.size());
    const uint8_t* source = packed.data();
    uint8_t* dest = out.data();
    std::size_t decoded = 0;
    if (compression_ == 0) {
        decoded = std::min(packed.size(), out.size());
        if (decoded > 0)
            std::memcpy(out.data(), packed.data(), decoded);
    } else if (compression_ == 1) {
        TPSPRLEDecoder decoder;
        decoder.Decode(source, dest, packed.size(), out.size());
        decoded = decoder.Decoded();
    } else {
        TLZ77Decoder decoder(Z_NO_FLUSH, false);
        decoder.StartDecoding();
        decoder.Decode(source, dest, packed.size(), out.size());
        if (decoder.ZLibResult() < 0 && decoder.ZLibResult() != Z_BUF_ERROR)
            RaiseGraphicErrorFmt(msg::CompressionError, kPsp);
        decoded = decoder.Decoded();
    }
    if (decoded < need) {
        if (optional)
            return {};
        RaisePackedDataEndsEarly(kPsp);
    }
    return out;
}

void TPSPGraphic::loadChannels(TStream& stream, const TBlock& layer)
{
    if (properties_.Version > 3)
        stream.Skip(4);   // the bitmap information chunk's size
    uint8_t counts[4];
    stream.ReadBuffer(counts, 4);
    uint32_t channels = le16(counts + 2);
    // Planes by channel type: 0 the composite (or alpha), 1 red, 2 green, 3 blue.
    std::vector<std::vector<uint8_t>> planes(4);
    for (uint32_t i = 0; i < channels && stream.Position() < layer.end; ++i) {
        TBlock channel;
        if (!readBlock(stream, channel))
            break;
        if (channel.id == bChannel) {
            skipChunkSize(stream);
            uint8_t h[12];
            stream.ReadBuffer(h, 12);
            uint16_t type = le16(h + 10);
            if (type <= 3 && planes[type].empty())
                planes[type] = readChannel(stream, le32(h), le32(h + 4),
                                           type == 0 && properties_.ColorScheme == TColorScheme::RGB);
        }
        stream.Seek(channel.end);
    }
    convertRows(planes);
}

void TPSPGraphic::convertRows(const std::vector<std::vector<uint8_t>>& planes)
{
    const TImageProperties& p = properties_;
    uint64_t need = uint64_t(stride_) * p.Height;
    bool color = p.ColorScheme == TColorScheme::RGB;
    // Every plane the picture is made of must be there and whole.
    auto whole = [&](int type) { return planes[type].size() >= need; };
    if (color ? !(whole(1) && whole(2) && whole(3)) : !whole(0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsp);
    bool alpha = color && whole(0);
    TColorManager& cm = colorManager_;
    if (alpha) {
        cm.SetSourceColorScheme(TColorScheme::RGBA);
        cm.SetTargetColorScheme(TColorScheme::BGRA);
        cm.SetSourceSamplesPerPixel(4);
        cm.SetTargetSamplesPerPixel(4);
        SetPixelFormat(TPixelFormat::pf32bit);
    }
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    for (uint32_t y = 0; y < p.Height; ++y) {
        std::size_t at = std::size_t(y) * stride_;
        std::vector<const uint8_t*> sources;
        if (color) {
            sources = {planes[1].data() + at, planes[2].data() + at, planes[3].data() + at};
            if (alpha)
                sources.push_back(planes[0].data() + at);
        } else {
            sources = {planes[0].data() + at};
        }
        cm.ConvertRow(sources, ScanLine(y), p.Width, 0xFF);
        RowProgress(y, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kPSPGraphicExtensions[] = {{"psp", ""}};
} // namespace

const TGraphicClass TPSPGraphicClass{"TPSPGraphic", CreateGraphic<TPSPGraphic>, TPSPGraphic::CanLoad,
                                     "Paintshop Pro images", kPSPGraphicExtensions, ftRaster | ftVector};

} // namespace vum
