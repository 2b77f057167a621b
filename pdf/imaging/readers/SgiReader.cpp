#include "imaging/readers/SgiReader.h"

#include <algorithm>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kSgi = "sgi, bw or rgb(a)";

uint16_t be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

uint32_t be32(const uint8_t* p)
{
    return uint32_t(be16(p)) << 16 | be16(p + 2);
}

// The most packed bytes a row of this many bytes can use: a count and a
// sample for every sample, and the closing count.
uint64_t maxPackedRow(uint64_t rowBytes)
{
    return 2 * rowBytes + 4;
}

} // namespace

bool TSGIGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() <= 512)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[6];
    if (stream.Read(h, 6) != 6)
        return false;
    uint16_t dimension = be16(h + 4);
    return be16(h) == 474 && (h[3] == 1 || h[3] == 2) && dimension >= 1 && dimension <= 3;
}

bool TSGIGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[12];
    if (stream.Read(h, 12) != 12 || be16(h) != 474)
        return false;
    TImageProperties& p = properties_;
    p.Options = ioBigEndian;
    uint16_t dimension = be16(h + 4);
    // One-dimensional pictures are a single row; two-dimensional ones a single channel.
    uint32_t ySize = dimension == 1 ? 1 : be16(h + 8);
    uint32_t zSize = dimension < 3 ? 1 : be16(h + 10);
    p.BitsPerSample = uint8_t(h[3] * 8);
    p.Width = be16(h + 6);
    p.Height = ySize;
    p.SamplesPerPixel = uint8_t(std::min<uint32_t>(zSize, 255));
    p.ColorScheme = zSize == 3 ? TColorScheme::RGB : zSize == 4 ? TColorScheme::RGBA : TColorScheme::Indexed;
    p.BitsPerPixel = uint8_t(std::min<uint32_t>(zSize * p.BitsPerSample, 255));
    p.Compression = h[2] == 1 ? TCompressionType::ctRLE : TCompressionType::ctNone;
    runLength_ = h[2] == 1;
    bytesPerSample_ = h[3];
    channels_ = zSize;
    return true;
}

void TSGIGraphic::readRow(TStream& stream, uint32_t row, uint32_t channel, uint8_t* buffer)
{
    const TImageProperties& p = properties_;
    std::size_t rowBytes = std::size_t(p.Width) * bytesPerSample_;
    if (!runLength_) {
        uint64_t at = basePosition_ + 512 + (uint64_t(row) + uint64_t(channel) * p.Height) * rowBytes;
        if (at > stream.Size() || rowBytes > stream.Size() - at)
            RaiseGraphicError(msg::StreamRead);
        stream.Seek(at);
        stream.ReadBuffer(buffer, rowBytes);
        return;
    }
    std::size_t index = row + std::size_t(channel) * p.Height;
    shared_->MakeRow(index, buffer, rowBytes, [&](uint8_t* out) { decodeRow(stream, rows_[index], out); });
}

void TSGIGraphic::decodeRow(TStream& stream, const TByteRange& packed, uint8_t* buffer)
{
    std::size_t rowBytes = std::size_t(properties_.Width) * bytesPerSample_;
    stream.Seek(packed.start);
    packed_.resize(std::size_t(packed.length));
    stream.ReadBuffer(packed_.data(), packed_.size());
    TSGIRLEDecoder decoder(int(bytesPerSample_ * 8));
    const uint8_t* source = packed_.data();
    decoder.Decode(source, buffer, packed_.size(), rowBytes);
    if (decoder.Decoded() < rowBytes)
        RaisePackedDataEndsEarly(kSgi);
}

void TSGIGraphic::readRowTable(TStream& stream, uint32_t channels)
{
    const TImageProperties& p = properties_;
    uint64_t entries = uint64_t(p.Height) * channels_;
    if (entries * 8 > stream.Size() - basePosition_ - 512)
        RaiseGraphicError(msg::StreamRead);
    stream.Seek(basePosition_ + 512);
    std::vector<uint8_t> table(std::size_t(entries) * 8);
    stream.ReadBuffer(table.data(), table.size());
    uint64_t rowBytes = uint64_t(p.Width) * bytesPerSample_;
    rows_.resize(std::size_t(p.Height) * channels);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        uint64_t at = basePosition_ + be32(table.data() + 4 * i);
        if (at > stream.Size())
            RaiseFileEndsEarly();
        // The packed row is its length in bytes, or what is left of the file,
        // and no more than a row can use.
        uint64_t length = be32(table.data() + 4 * (entries + i));
        rows_[i] = {at, std::min<uint64_t>({length, stream.Size() - at, maxPackedRow(rowBytes)})};
    }
    shared_ = std::make_unique<TSharedRows>(rows_);
}

void TSGIGraphic::checkDataHoldsThePicture(TStream& stream, uint32_t channels) const
{
    const TImageProperties& p = properties_;
    uint64_t rowBytes = uint64_t(p.Width) * bytesPerSample_;
    uint64_t held = stream.Size() - basePosition_ - 512;
    if (!runLength_) {
        if (rowBytes * p.Height * channels > held)
            RaiseFileEndsEarly();
        return;
    }
    // Each row must hold enough packed bytes for itself. A row whose entry
    // repeats another's is a copy, its entry all it costs; the data of the
    // others, bytes that several of them share counted once, must suffice
    // for their rows.
    for (const TByteRange& row : rows_)
        if (MaxUnpackedSize(TCompressionType::ctRLE, row.length, rowBytes) < rowBytes)
            RaisePackedDataEndsEarly(kSgi);
    const std::vector<TByteRange>& distinct = shared_->DistinctData();
    CheckDistinctDataSuffices(TCompressionType::ctRLE, distinct, rowBytes * distinct.size(), rowBytes, kSgi);
}

void TSGIGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (stream.Remaining() <= 512 || !ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kSgi);
    const TImageProperties& p = properties_;
    if ((bytesPerSample_ != 1 && bytesPerSample_ != 2) || channels_ == 0 || !SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kSgi);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    // Colour pictures use their first three (or four) channels; any other
    // count is read as grey from the first channel.
    bool color = p.ColorScheme != TColorScheme::Indexed;
    uint32_t used = color ? channels_ : 1;
    if (runLength_)
        readRowTable(stream, used);
    checkDataHoldsThePicture(stream, used);
    TColorManager& cm = colorManager_;
    cm.SourceOptions = coSwapBytes;
    cm.SetSourceBitsPerSample(uint8_t(bytesPerSample_ * 8));
    cm.SetTargetBitsPerSample(8);
    cm.SetSourceSamplesPerPixel(uint8_t(used));
    cm.SetTargetSamplesPerPixel(uint8_t(used));
    cm.SetSourceColorScheme(color ? p.ColorScheme : TColorScheme::Gray);
    cm.SetTargetColorScheme(p.ColorScheme == TColorScheme::RGB    ? TColorScheme::BGR
                            : p.ColorScheme == TColorScheme::RGBA ? TColorScheme::BGRA
                                                                  : TColorScheme::Gray);
    SetPixelFormat(cm.PixelFormatOf(1));
    SetSize(p.Width, p.Height);
    if (!color)
        SetPalette(cm.CreateGrayPalette(false));
    phase.finish();

    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    std::size_t rowBytes = std::size_t(p.Width) * bytesPerSample_;
    std::vector<uint8_t> planes(rowBytes * used);
    for (uint32_t r = 0; r < p.Height; ++r) {
        std::vector<const uint8_t*> sources;
        for (uint32_t z = 0; z < used; ++z) {
            readRow(stream, r, z, planes.data() + z * rowBytes);
            sources.push_back(planes.data() + z * rowBytes);
        }
        cm.ConvertRow(sources, ScanLine(p.Height - 1 - r), p.Width, 0xFF);
        RowProgress(r, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kSGIGraphicExtensions[] = {
    {"sgi", "SGI true color images"},
    {"rgba", "SGI true color images with alpha"},
    {"rgb", "SGI true color images"},
    {"bw", "SGI black/white images"},
};
} // namespace

const TGraphicClass TSGIGraphicClass{"TSGIGraphic", CreateGraphic<TSGIGraphic>, TSGIGraphic::CanLoad,
                                     "SGI images", kSGIGraphicExtensions, ftRaster};

} // namespace vum
