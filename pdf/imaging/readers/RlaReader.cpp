#include "imaging/readers/RlaReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kRla = "RLA";

int16_t be16(const uint8_t* p)
{
    return int16_t(uint16_t(p[0] << 8 | p[1]));
}

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

std::string text(const uint8_t* p, std::size_t size, bool lower)
{
    std::string s;
    for (std::size_t i = 0; i < size && p[i]; ++i)
        s += lower ? char(std::tolower(p[i])) : char(p[i]);
    return s;
}

} // namespace

bool TRLAGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() <= 740)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[740];
    if (stream.Read(h, 740) != 740 || uint16_t(be16(h + 26)) != 0xFFFE)
        return false;
    std::string format = text(h + 580, 32, true);
    return format == "rgb" || format == "xyz";
}

bool TRLAGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[740];
    if (stream.Read(h, 740) != 740)
        return false;
    TImageProperties& p = properties_;
    p.Options = ioBigEndian;
    uint32_t channels = uint16_t(be16(h + 20));
    mattes_ = uint16_t(be16(h + 22));
    p.SamplesPerPixel = uint8_t(std::min<uint32_t>(channels + (mattes_ == 1 ? 1 : 0), 255));
    p.BitsPerSample = uint8_t(std::min<uint32_t>(uint16_t(be16(h + 658)), 255));
    p.BitsPerPixel = uint8_t(std::min<uint32_t>(uint32_t(p.SamplesPerPixel) * p.BitsPerSample, 255));
    channelFormat_ = text(h + 580, 32, true);
    if (channelFormat_ == "xyz")
        return false;
    if (channelFormat_ == "rgb")
        p.ColorScheme = mattes_ >= 1 ? TColorScheme::RGBA : TColorScheme::RGB;
    std::string gamma = text(h + 28, 16, false);
    char* end = nullptr;
    double value = std::strtod(gamma.c_str(), &end);
    p.FileGamma = end != gamma.c_str() && value > 0 && value < 100 ? float(value) : 1.0f;
    p.Compression = TCompressionType::ctRLE;
    int left = be16(h + 8), right = be16(h + 10), bottom = be16(h + 12), top = be16(h + 14);
    // A window whose right edge lies left of its left edge holds no picture.
    if (right < left)
        return false;
    p.Width = uint32_t(right - left + 1);
    p.Height = uint32_t(std::abs(bottom - top) + 1);
    p.BottomUp = bottom < top;
    return true;
}

void TRLAGraphic::checkRowsHoldThePicture(TStream& stream, const std::vector<uint8_t>& table, uint8_t planes) const
{
    // A row is its planes' packets, each a length word and at most 65535
    // bytes; rows that start at the same place share those bytes, and what
    // they share is counted once.
    const TImageProperties& p = properties_;
    uint64_t rowExtent = uint64_t(planes) * (2 + 65535);
    std::vector<TByteRange> ranges;
    ranges.reserve(p.Height);
    for (uint32_t i = 0; i < p.Height; ++i) {
        uint64_t at = basePosition_ + be32(table.data() + 4 * i);
        if (at > stream.Size())
            RaiseFileEndsEarly();
        ranges.push_back({at, std::min(rowExtent, stream.Size() - at)});
    }
    CheckDistinctDataSuffices(TCompressionType::ctRLE, ranges, uint64_t(p.Width) * p.Height * planes, p.Width, kRla);
}

void TRLAGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        return;
    const TImageProperties& p = properties_;
    if (p.ColorScheme == TColorScheme::Unknown || p.BitsPerSample != 8 || p.SamplesPerPixel < 3 ||
        p.SamplesPerPixel > 4)
        RaiseGraphicErrorFmt(msg::InvalidColorFormat, kRla);
    if (!SizeWithinLimits(p.Width, p.Height) || uint64_t(p.Height) * 4 > stream.Remaining())
        RaiseGraphicErrorFmt(msg::InvalidFormat, kRla);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    bool alpha = p.ColorScheme == TColorScheme::RGBA;
    uint8_t planes = alpha ? 4 : 3;
    TColorManager& cm = colorManager_;
    cm.SetSourceSamplesPerPixel(planes);
    cm.SetTargetSamplesPerPixel(planes);
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetBitsPerSample(8);
    cm.SetSourceColorScheme(p.ColorScheme);
    cm.SetTargetColorScheme(alpha ? TColorScheme::BGRA : TColorScheme::BGR);
    if (p.FileGamma != 1.0f) {
        cm.SetGamma(p.FileGamma, 2.2f);
        cm.TargetOptions |= coGammaCorrect;
        properties_.Options |= ioUseGamma;
    }
    std::vector<uint8_t> table(std::size_t(p.Height) * 4);
    stream.ReadBuffer(table.data(), table.size());
    checkRowsHoldThePicture(stream, table, planes);
    SetPixelFormat(cm.PixelFormatOf(1));
    SetSize(p.Width, p.Height);
    TRLADecoder decoder;
    std::vector<uint8_t> buffers(std::size_t(p.Width) * planes), packed;
    for (uint32_t i = 0; i < p.Height; ++i) {
        uint64_t at = basePosition_ + be32(table.data() + 4 * i);
        if (at > stream.Size())
            RaiseGraphicError(msg::StreamRead);
        stream.Seek(at);
        std::vector<const uint8_t*> sources;
        for (uint8_t c = 0; c < planes; ++c) {
            uint8_t length[2];
            stream.ReadBuffer(length, 2);
            // Rows may share packets; each is read only as far as a row can use
            // (two bytes a pixel at worst), and the rest passed over.
            uint32_t declared = uint16_t(be16(length));
            packed.resize(std::min<std::size_t>(declared, 2 * std::size_t(p.Width) + 2));
            stream.ReadBuffer(packed.data(), packed.size());
            stream.Skip(declared - packed.size());
            const uint8_t* source = packed.data();
            uint8_t* dest = buffers.data() + std::size_t(c) * p.Width;
            decoder.Decode(source, dest, packed.size(), p.Width);
            if (decoder.Decoded() < p.Width)
                RaisePackedDataEndsEarly(kRla);
            sources.push_back(buffers.data() + std::size_t(c) * p.Width);
        }
        cm.ConvertRow(sources, ScanLine(p.BottomUp ? p.Height - 1 - i : i), p.Width, 0xFF);
        RowProgress(i, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kRLAGraphicExtensions[] = {{"rpf", ""}, {"rla", ""}};
} // namespace

const TGraphicClass TRLAGraphicClass{"TRLAGraphic", CreateGraphic<TRLAGraphic>, TRLAGraphic::CanLoad,
                                     "Alias/Wavefront images", kRLAGraphicExtensions, ftRaster};

} // namespace vum
