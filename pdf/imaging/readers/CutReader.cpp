#include "imaging/readers/CutReader.h"

#include <algorithm>
#include <filesystem>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kCut = "CUT";

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

} // namespace

bool TCUTGraphic::CanLoad(TStream&)
{
    return false;
}

std::string TCUTGraphic::PaletteFileName(const std::string& fileName)
{
    return std::filesystem::path(fileName).replace_extension(".pal").string();
}

bool TCUTGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[4];
    if (stream.Read(h, 4) != 4)
        return false;
    TImageProperties& p = properties_;
    p.Width = le16(h);
    p.Height = le16(h + 2);
    p.ColorScheme = TColorScheme::Indexed;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = TCompressionType::ctRLE;
    return true;
}

void TCUTGraphic::LoadFromFile(const std::string& fileName)
{
    paletteFile_ = PaletteFileName(fileName);
    TVumGraphic::LoadFromFile(fileName);
}

TPalette TCUTGraphic::readPaletteFile() const
{
    TPalette palette;
    std::error_code error;
    if (paletteFile_.empty() || !std::filesystem::is_regular_file(paletteFile_, error)) {
        for (int i = 0; i < 256; ++i)
            palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
        return palette;
    }
    // 256 entries at most, within the first blocks: the rest of the file is never read.
    TFileStream file(paletteFile_);
    std::vector<uint8_t> bytes(std::size_t(std::min<uint64_t>(file.Size(), 4096)));
    file.ReadBuffer(bytes.data(), bytes.size());
    if (bytes.size() < 14)
        RaiseGraphicErrorFmt(msg::InvalidPalette, kCut);
    // Entries of 6 bytes from offset 40, never across the end (byte 506) of a
    // 512-byte block; the colours are the low bytes of 16-bit values.
    uint32_t count = std::min<uint32_t>(le16(bytes.data() + 12) + 1u, 256);
    std::size_t at = 40;
    for (uint32_t i = 0; i < count; ++i) {
        if (at % 512 + 6 > 506)
            at = (at / 512 + 1) * 512;
        if (at + 6 > bytes.size())
            RaiseGraphicErrorFmt(msg::InvalidPalette, kCut);
        palette.push_back({bytes[at], bytes[at + 2], bytes[at + 4]});
        at += 6;
    }
    return palette;
}

void TCUTGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        return;
    const TImageProperties& p = properties_;
    if (!SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kCut);
    stream.Seek(basePosition_ + 6);
    // Every row takes at least its count, a run and its end mark.
    uint64_t packedSize = stream.Remaining();
    if (uint64_t(p.Height) * 3 > packedSize ||
        MaxUnpackedSize(TCompressionType::ctRLE, packedSize, p.Width) < uint64_t(p.Width) * p.Height)
        RaiseFileEndsEarly();
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    SetPixelFormat(TPixelFormat::pf8bit);
    SetSize(p.Width, p.Height);
    SetPalette(readPaletteFile());
    std::vector<uint8_t> packed = stream.ReadRest();
    const uint8_t* source = packed.data();
    const uint8_t* end = packed.data() + packed.size();
    TCUTRLEDecoder decoder;
    for (uint32_t y = 0; y < p.Height; ++y) {
        uint8_t* line = ScanLine(y);
        decoder.Decode(source, line, std::size_t(end - source), p.Width);
        if (decoder.Decoded() < p.Width)
            RaisePackedDataEndsEarly(kCut);
        RowProgress(y, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kCUTGraphicExtensions[] = {{"cut", ""}};
} // namespace

const TGraphicClass TCUTGraphicClass{"TCUTGraphic", CreateGraphic<TCUTGraphic>, TCUTGraphic::CanLoad,
                                     "Dr. Halo images", kCUTGraphicExtensions, ftRaster};

} // namespace vum
