#include "imaging/readers/PcxReader.h"

#include <algorithm>
#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kPcx = "PCX or SCR";

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

} // namespace

const TPalette& StandardSixteenColors()
{
    static const TPalette palette = {
        {0, 0, 0},       {0, 0, 170},     {0, 170, 0},     {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
        {170, 85, 0},    {170, 170, 170}, {85, 85, 85},    {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
        {255, 85, 85},   {255, 85, 255},  {255, 255, 85},  {255, 255, 255},
    };
    return palette;
}

bool TPCXGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 129)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[128];
    if (stream.Read(h, 128) != 128)
        return false;
    return (h[0] == 10 || h[0] == 12) && (h[1] == 0 || h[1] == 2 || h[1] == 3 || h[1] == 5) && h[2] < 2;
}

bool TPCXGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    uint8_t h[128];
    if (stream.Read(h, 128) != 128 || (h[0] != 10 && h[0] != 205))
        return false;
    TImageProperties& p = properties_;
    int xmin = le16(h + 4), ymin = le16(h + 6), xmax = le16(h + 8), ymax = le16(h + 10);
    // An end before the start is no picture at all.
    if (xmax < xmin || ymax < ymin)
        return false;
    p.Width = uint32_t(xmax - xmin + 1);
    p.Height = uint32_t(ymax - ymin + 1);
    p.SamplesPerPixel = h[65];
    p.BitsPerSample = h[3];
    p.BitsPerPixel = uint8_t(std::min(255, h[65] * h[3]));
    p.ColorScheme = h[65] * h[3] > 8 ? TColorScheme::RGB : TColorScheme::Indexed;
    p.Compression = h[2] == 1 ? TCompressionType::ctRLE : TCompressionType::ctNone;
    p.XResolution = le16(h + 12);
    p.YResolution = le16(h + 14);
    return true;
}

void TPCXGraphic::setUpPalette(TStream& stream, const uint8_t* h)
{
    uint32_t bits = uint32_t(h[3]) * h[65];
    bool grey = le16(h + 68) == 2;
    TPalette palette;
    if (bits == 1) {
        palette = {{0, 0, 0}, {255, 255, 255}};
    } else if (h[1] == 3) {
        // Version 3 files carry no palette of their own: the adapter's standard colours.
        palette = StandardSixteenColors();
    } else if (bits <= 4) {
        if (grey) {
            palette = colorManager_.CreateGrayPalette(false);
        } else {
            for (int i = 0; i < 16; ++i)
                palette.push_back({h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]});
        }
    } else if (bits == 8) {
        uint8_t tail[769];
        bool found = false;
        if (stream.Size() >= 128 + 769) {
            TPositionGuard guard(stream);
            stream.Seek(stream.Size() - 769);
            stream.ReadBuffer(tail, 769);
            found = tail[0] == 12;
        }
        if (found) {
            for (int i = 0; i < 256; ++i)
                palette.push_back({tail[1 + 3 * i], tail[2 + 3 * i], tail[3 + 3 * i]});
        } else {
            // Without a palette the samples are shown as grey levels.
            palette = colorManager_.CreateGrayPalette(false);
        }
    }
    // 2-bit samples are stored as 4-bit pixels, index v becoming 5 v.
    if (h[3] == 2 && h[65] == 1) {
        TPalette spread(16);
        for (uint32_t v = 0; v < 4 && v < palette.size(); ++v)
            spread[5 * v] = palette[v];
        palette = spread;
    }
    SetPalette(palette);
}

void TPCXGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPcx);
    stream.Seek(basePosition_);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    uint8_t h[128];
    stream.ReadBuffer(h, 128);
    const TImageProperties& p = properties_;
    uint32_t planes = h[65], bits = h[3];
    bool indexed = p.ColorScheme == TColorScheme::Indexed;
    // 2, 3 or 4 planes of one bit: 4, 8 or 16 colours, each pixel's bits spread over the planes.
    bool bitPlanes = planes >= 2 && planes <= 4 && bits == 1;
    bool color = (planes == 3 || planes == 4) && bits == 8;
    bool single = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
    if (!bitPlanes && !color && !single)
        RaiseGraphicErrorFmt(msg::InvalidColorFormat, "PCX");
    std::size_t planeBytes = le16(h + 66);
    if (planeBytes < (uint64_t(p.Width) * bits + 7) / 8 || !SizeWithinLimits(p.Width, p.Height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPcx);
    if (MaxUnpackedSize(p.Compression == TCompressionType::ctRLE ? p.Compression : TCompressionType::ctNone,
                        stream.Remaining(), 0) < uint64_t(planes) * planeBytes * p.Height)
        RaiseFileEndsEarly();
    TColorManager& cm = colorManager_;
    cm.SetSourceColorScheme(indexed ? TColorScheme::Indexed : TColorScheme::RGB);
    cm.SetTargetColorScheme(indexed ? TColorScheme::Indexed : TColorScheme::BGR);
    cm.SetSourceBitsPerSample(uint8_t(bits));
    cm.SetTargetBitsPerSample(uint8_t(bits == 2 ? 4 : bits));
    cm.SetSourceSamplesPerPixel(uint8_t(color ? 3 : 1));
    cm.SetTargetSamplesPerPixel(uint8_t(color ? 3 : 1));
    SetPixelFormat(bitPlanes ? TPixelFormat::pf4bit : cm.PixelFormatOf(1));
    if (indexed)
        setUpPalette(stream, h);
    SetSize(p.Width, p.Height);

    uint64_t rowSize = uint64_t(planes) * planeBytes;
    uint64_t total = rowSize * p.Height;
    uint64_t dataSize = stream.Remaining();
    if (bits * planes == 8 && dataSize >= 769)
        dataSize -= 769;
    if (!AllocationWithinLimits(total) || (p.Compression == TCompressionType::ctRLE ? total / 63 : total) > dataSize)
        RaiseGraphicError(msg::StreamRead);
    std::vector<uint8_t> data(static_cast<std::size_t>(total));
    if (p.Compression == TCompressionType::ctRLE) {
        // Runs may pass from one row into the next: the picture is decoded whole.
        std::vector<uint8_t> packed(static_cast<std::size_t>(dataSize));
        stream.ReadBuffer(packed.data(), packed.size());
        TPCXRLEDecoder decoder;
        const uint8_t* source = packed.data();
        uint8_t* dest = data.data();
        decoder.Decode(source, dest, packed.size(), data.size());
        if (decoder.Decoded() < data.size())
            RaisePackedDataEndsEarly(kPcx);
    } else {
        stream.ReadBuffer(data.data(), data.size());
    }
    phase.finish();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    convertRows(data.data(), planeBytes, planes, bits);
}

void TPCXGraphic::convertRows(const uint8_t* data, std::size_t planeBytes, uint32_t planes, uint32_t bits)
{
    uint32_t width = Width(), height = Height();
    std::size_t rowSize = planes * planeBytes;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + y * rowSize;
        uint8_t* line = ScanLine(y);
        if (planes >= 2 && planes <= 4 && bits == 1) {
            // A pixel's bits come from its planes, the last one most significant.
            for (uint32_t x = 0; x < width; ++x) {
                uint8_t value = 0;
                for (int plane = int(planes) - 1; plane >= 0; --plane)
                    value = uint8_t(value << 1 | (row[plane * planeBytes + x / 8] >> (7 - x % 8) & 1));
                line[x / 2] |= x % 2 ? value : uint8_t(value << 4);
            }
        } else if (planes >= 3) {
            colorManager_.ConvertRow({row, row + planeBytes, row + 2 * planeBytes}, line, width, 0xFF);
        } else {
            colorManager_.ConvertRow({row}, line, width, 0xFF);
        }
        RowProgress(y, height);
    }
}

namespace {
constexpr TExtensionDeclaration kPCXGraphicExtensions[] = {
    {"pcx", ""},
    {"pcc", ""},
    {"scr", "Word 5.x screen capture images"},
};
} // namespace

const TGraphicClass TPCXGraphicClass{"TPCXGraphic", CreateGraphic<TPCXGraphic>, TPCXGraphic::CanLoad,
                                     "ZSoft Paintbrush images", kPCXGraphicExtensions, ftRaster};

} // namespace vum
