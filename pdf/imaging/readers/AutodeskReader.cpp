#include "imaging/readers/AutodeskReader.h"

#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kAutodesk = "Autodesk";

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

} // namespace

bool TAutodeskGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 33)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[12];
    if (stream.Read(h, 12) != 12)
        return false;
    return le16(h) == 0x9119 && h[10] == 8 && h[11] == 0;
}

bool TAutodeskGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[32];
    if (stream.Read(h, 32) != 32 || le16(h) != 0x9119)
        return false;
    TImageProperties& p = properties_;
    p.ColorScheme = TColorScheme::Indexed;
    p.Width = le16(h + 2);
    p.Height = le16(h + 4);
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 1;
    p.BitsPerPixel = 8;
    p.Compression = TCompressionType::ctNone;
    return true;
}

void TAutodeskGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0) || !SizeWithinLimits(properties_.Width, properties_.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kAutodesk);
    const TImageProperties& p = properties_;
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    uint8_t map[768];
    stream.ReadBuffer(map, sizeof map);
    if (uint64_t(p.Width) * p.Height > stream.Remaining())
        RaiseGraphicError(msg::StreamRead);
    // 6-bit palette values, widened to 8 bits.
    TPalette palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(map[3 * i] << 2), uint8_t(map[3 * i + 1] << 2), uint8_t(map[3 * i + 2] << 2)};
    SetPixelFormat(TPixelFormat::pf8bit);
    SetPalette(palette);
    SetSize(p.Width, p.Height);
    for (uint32_t y = 0; y < p.Height; ++y) {
        stream.ReadBuffer(ScanLine(y), p.Width);
        RowProgress(y, p.Height);
    }
}

namespace {
constexpr TExtensionDeclaration kAutodeskGraphicExtensions[] = {{"cel", ""}, {"pic", ""}};
} // namespace

const TGraphicClass TAutodeskGraphicClass{"TAutodeskGraphic", CreateGraphic<TAutodeskGraphic>, TAutodeskGraphic::CanLoad,
                                          "Autodesk images", kAutodeskGraphicExtensions, ftRaster};

} // namespace vum
