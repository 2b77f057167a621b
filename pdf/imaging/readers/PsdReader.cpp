#include "imaging/readers/PsdReader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kPsd = "PSD or PDD";

enum : uint32_t { mBitmap = 0, mGray = 1, mIndexed = 2, mRGB = 3, mCMYK = 4, mMultichannel = 7, mDuotone = 8, mLab = 9 };

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint16_t be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

// Channels a pixel of the mode needs.
uint32_t neededChannels(uint32_t mode)
{
    switch (mode) {
    case mRGB:
    case mMultichannel:
    case mLab: return 3;
    case mCMYK: return 4;
    default: return 1;
    }
}

} // namespace

bool TPSDGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 27)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[6];
    if (stream.Read(h, 6) != 6)
        return false;
    return std::toupper(h[0]) == '8' && std::toupper(h[1]) == 'B' && std::toupper(h[2]) == 'P' &&
           std::toupper(h[3]) == 'S' && be16(h + 4) == 1;
}

bool TPSDGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[26];
    if (stream.Read(h, 26) != 26 || std::memcmp(h, "8BPS", 4) != 0)
        return false;
    TImageProperties& p = properties_;
    p.Options = ioBigEndian;
    channels_ = be16(h + 12);
    depth_ = be16(h + 22);
    mode_ = be16(h + 24);
    p.BitsPerSample = uint8_t(std::min<uint32_t>(depth_, 255));
    p.ChannelCount = uint8_t(std::min<uint32_t>(channels_, 255));
    p.SamplesPerPixel = uint8_t(std::min<uint32_t>(channels_, 4));
    p.BitsPerPixel = uint8_t(std::min<uint32_t>(p.SamplesPerPixel * depth_, 255));
    switch (mode_) {
    case mBitmap:
        p.ColorScheme = TColorScheme::Gray;
        p.Options |= ioMinIsWhite;
        break;
    case mGray:
    case mDuotone: p.ColorScheme = TColorScheme::Gray; break;
    case mIndexed: p.ColorScheme = TColorScheme::Indexed; break;
    case mRGB:
    case mMultichannel: p.ColorScheme = channels_ == 3 ? TColorScheme::RGB : TColorScheme::RGBA; break;
    case mCMYK: p.ColorScheme = TColorScheme::CMYK; break;
    case mLab: p.ColorScheme = TColorScheme::CIELab; break;
    default: p.ColorScheme = TColorScheme::Unknown;
    }
    p.Height = be32(h + 14);
    p.Width = be32(h + 18);
    for (int section = 0; section < 3; ++section) {
        uint8_t length[4];
        if (stream.Read(length, 4) != 4 || be32(length) > stream.Remaining())
            return false;
        stream.Seek(stream.Position() + be32(length));
    }
    uint8_t compression[2];
    if (stream.Read(compression, 2) != 2)
        return false;
    dataStart_ = stream.Position();
    p.Compression = be16(compression) == 1 ? TCompressionType::ctPackedBits
                    : be16(compression) == 0 ? TCompressionType::ctNone
                                             : TCompressionType::ctUnknown;
    return true;
}

void TPSDGraphic::setUpColors(TStream& stream)
{
    const TImageProperties& p = properties_;
    TColorManager& cm = colorManager_;
    TColorScheme source = p.ColorScheme, target = source;
    uint32_t samples = neededChannels(mode_);
    // Colour modes with a fourth channel beyond the colours keep it as alpha.
    if (source == TColorScheme::RGBA && channels_ >= 4)
        samples = 4;
    switch (source) {
    case TColorScheme::RGB: target = TColorScheme::BGR; break;
    case TColorScheme::RGBA: target = TColorScheme::BGRA; break;
    case TColorScheme::CMYK:
    case TColorScheme::CIELab: target = TColorScheme::BGR; break;
    default: break;
    }
    cm.SourceOptions = coSwapBytes;
    if (source == TColorScheme::CIELab) {
        cm.SourceOptions |= coLightnessScaled | coChromaBiased;
        cm.SetLabWhitePoint(kD50WhiteX, kD50WhiteY);
    }
    cm.SetSourceBitsPerSample(uint8_t(depth_));
    cm.SetTargetBitsPerSample(depth_ == 16 ? 8 : uint8_t(depth_));
    cm.SetSourceColorScheme(source);
    cm.SetTargetColorScheme(target);
    cm.SetSourceSamplesPerPixel(uint8_t(samples));
    cm.SetTargetSamplesPerPixel(source == TColorScheme::CMYK ? 3 : uint8_t(samples));
    SetPixelFormat(cm.PixelFormatOf(1));
    SetSize(p.Width, p.Height);

    uint8_t length[4];
    stream.ReadBuffer(length, 4);
    uint32_t size = be32(length);
    if (source == TColorScheme::Indexed) {
        if (size < 768)
            RaiseGraphicErrorFmt(msg::InvalidPalette, kPsd);
        std::vector<uint8_t> map(768);
        stream.ReadBuffer(map.data(), map.size());
        stream.Skip(size - 768);
        TPalette palette(256);
        for (int i = 0; i < 256; ++i)
            palette[i] = {map[i], map[256 + i], map[512 + i]};
        SetPalette(palette);
    } else {
        stream.Skip(size);
        if (source == TColorScheme::Gray)
            SetPalette(cm.CreateGrayPalette(p.Options & ioMinIsWhite));
    }
}

std::vector<uint8_t> TPSDGraphic::readPlanes(TStream& stream, uint32_t planes, std::size_t rowBytes)
{
    const TImageProperties& p = properties_;
    uint64_t planeSize = uint64_t(rowBytes) * p.Height;
    if (!AllocationWithinLimits(planeSize * planes))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsd);
    std::vector<uint8_t> data(std::size_t(planeSize * planes));
    if (p.Compression == TCompressionType::ctNone) {
        if (data.size() > stream.Remaining())
            RaiseGraphicError(msg::StreamRead);
        stream.ReadBuffer(data.data(), data.size());
        return data;
    }
    // One 16-bit byte count a row of every channel, then the packed rows.
    uint64_t rows = uint64_t(p.Height) * channels_;
    if (rows * 2 > stream.Remaining())
        RaiseGraphicError(msg::StreamRead);
    std::vector<uint8_t> counts(std::size_t(rows) * 2);
    stream.ReadBuffer(counts.data(), counts.size());
    TPackbitsRLEDecoder decoder;
    std::vector<uint8_t> packed;
    for (uint64_t row = 0; row < uint64_t(p.Height) * planes; ++row) {
        packed.resize(be16(counts.data() + 2 * row));
        stream.ReadBuffer(packed.data(), packed.size());
        const uint8_t* source = packed.data();
        uint8_t* dest = data.data() + row * rowBytes;
        decoder.Decode(source, dest, packed.size(), rowBytes);
        if (decoder.Decoded() < rowBytes)
            RaisePackedDataEndsEarly(kPsd);
    }
    return data;
}

void TPSDGraphic::checkDataHoldsThePicture(TStream& stream)
{
    // The planes the picture needs at least, checked before anything is allocated.
    const TImageProperties& p = properties_;
    uint64_t rowBytes = (uint64_t(p.Width) * depth_ + 7) / 8;
    uint64_t planes = neededChannels(mode_);
    uint64_t held = stream.Size() > dataStart_ ? stream.Size() - dataStart_ : 0;
    if (p.Compression == TCompressionType::ctNone) {
        if (rowBytes * p.Height * planes > held)
            RaiseFileEndsEarly();
        return;
    }
    // A 16-bit packed size for every row of every channel, then the rows.
    uint64_t tableBytes = uint64_t(p.Height) * channels_ * 2;
    if (tableBytes > held)
        RaiseFileEndsEarly();
    stream.Seek(dataStart_);
    std::vector<uint8_t> counts(std::size_t(uint64_t(p.Height) * planes * 2));
    stream.ReadBuffer(counts.data(), counts.size());
    uint64_t packed = 0;
    for (std::size_t row = 0; row < counts.size() / 2; ++row) {
        uint64_t count = be16(counts.data() + 2 * row);
        if (MaxUnpackedSize(TCompressionType::ctPackedBits, count, rowBytes) < rowBytes)
            RaisePackedDataEndsEarly(kPsd);
        packed += count;
    }
    if (packed > held - tableBytes)
        RaiseFileEndsEarly();
}

void TPSDGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsd);
    const TImageProperties& p = properties_;
    if (p.ColorScheme == TColorScheme::Unknown || p.Compression == TCompressionType::ctUnknown)
        RaiseGraphicErrorFmt(msg::NotSupportedFor, "This kind of picture is", kPsd);
    bool depthFits = mode_ == mBitmap    ? depth_ == 1
                     : mode_ == mIndexed ? depth_ == 8
                                                          : depth_ == 8 || depth_ == 16;
    if (!depthFits || channels_ < neededChannels(mode_) || !SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPsd);
    checkDataHoldsThePicture(stream);
    stream.Seek(basePosition_ + 26);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    setUpColors(stream);
    for (int section = 0; section < 2; ++section) {
        uint8_t length[4];
        stream.ReadBuffer(length, 4);
        stream.Skip(be32(length));
    }
    stream.Skip(2);
    phase.finish();

    Progress(TProgressStage::psStarting, 0, false, "Loading data...");
    TProgressPhase loading([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    uint32_t planes = colorManager_.SourceSamplesPerPixel();
    std::size_t rowBytes = (std::size_t(p.Width) * depth_ + 7) / 8;
    std::vector<uint8_t> data = readPlanes(stream, planes, rowBytes);
    loading.finish();

    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    std::size_t planeSize = rowBytes * p.Height;
    // CMYK samples are stored inverted (0 is full ink).
    if (p.ColorScheme == TColorScheme::CMYK)
        for (uint8_t& b : data)
            b = uint8_t(255 - b);
    for (uint32_t y = 0; y < p.Height; ++y) {
        std::vector<const uint8_t*> sources;
        for (uint32_t c = 0; c < planes; ++c)
            sources.push_back(data.data() + c * planeSize + y * rowBytes);
        if (mode_ == mBitmap)
            std::memcpy(ScanLine(y), sources[0], rowBytes);
        else
            colorManager_.ConvertRow(sources, ScanLine(y), p.Width, 0xFF);
        RowProgress(y, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kPSDGraphicExtensions[] = {{"psd", ""}, {"pdd", ""}};
} // namespace

const TGraphicClass TPSDGraphicClass{"TPSDGraphic", CreateGraphic<TPSDGraphic>, TPSDGraphic::CanLoad,
                                     "Photoshop images", kPSDGraphicExtensions, ftRaster | ftLayered};

} // namespace vum
