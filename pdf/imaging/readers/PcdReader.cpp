#include "imaging/readers/PcdReader.h"

#include <algorithm>
#include <cstring>

#include "imaging/decoders/PcdUpsample.h"
#include "imaging/DataBounds.h"
#include "imaging/Errors.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const uint32_t kSector = 2048;
const uint32_t kWidth = 768, kHeight = 512;

} // namespace

bool TPCDGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() <= 6144)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[2051];
    if (stream.Read(h, sizeof h) != sizeof h)
        return false;
    return std::memcmp(h, "PCD_OPA", 7) == 0 || std::memcmp(h + 2048, "PCD", 3) == 0;
}

bool TPCDGraphic::ReadImageProperties(TStream& stream, uint32_t imageIndex)
{
    ClearProperties();
    std::vector<uint8_t> h(6144);
    if (stream.Read(h.data(), h.size()) != h.size())
        return false;
    TImageProperties& p = properties_;
    p.Overview = std::memcmp(h.data(), "PCD_OPA", 7) == 0;
    if (!p.Overview && std::memcmp(h.data() + 2048, "PCD", 3) != 0)
        return false;
    p.Rotation = h[3586] & 3;
    uint32_t resolution = p.Overview ? 0 : std::min<uint32_t>(imageIndex, 5);
    p.Width = 192u << resolution;
    p.Height = 128u << resolution;
    if (p.Rotation == 1 || p.Rotation == 3)
        std::swap(p.Width, p.Height);
    p.ColorScheme = TColorScheme::PhotoYCC;
    p.BitsPerSample = 8;
    p.SamplesPerPixel = 3;
    p.BitsPerPixel = 24;
    p.Compression = resolution < 3 ? TCompressionType::ctNone : TCompressionType::ctPCDHuffmann;
    p.ImageCount = uint16_t(h[10] << 8 | h[11]);
    return true;
}

void TPCDGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 2))
        return;
    const TImageProperties& p = properties_;
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    std::vector<uint8_t> luma(kWidth * kHeight), chroma1(kWidth * kHeight), chroma2(kWidth * kHeight);
    uint64_t start = basePosition_ + uint64_t(p.Overview ? 5 : 96) * kSector;
    if (start > stream.Size() || stream.Size() - start < uint64_t(kWidth) * kHeight * 3 / 2)
        RaiseFileEndsEarly();
    stream.Seek(start);
    TColorManager& cm = colorManager_;
    cm.SetSourceColorScheme(TColorScheme::PhotoYCC);
    cm.SetTargetColorScheme(TColorScheme::BGR);
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetBitsPerSample(8);
    cm.SetSourceSamplesPerPixel(3);
    cm.SetTargetSamplesPerPixel(3);
    cm.SetYCbCrOptions({0.2125f, 0.7154f, 0.0721f}, 2, 2);
    SetPixelFormat(TPixelFormat::pf24bit);
    phase.finish();

    Progress(TProgressStage::psStarting, 0, false, "Loading data...");
    TProgressPhase loading([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    // Each pair of rows: two full luma rows, then one half-width row of each chroma.
    for (uint32_t y = 0; y < kHeight; y += 2) {
        stream.ReadBuffer(luma.data() + y * kWidth, 2 * kWidth);
        stream.ReadBuffer(chroma1.data() + y / 2 * kWidth, kWidth / 2);
        stream.ReadBuffer(chroma2.data() + y / 2 * kWidth, kWidth / 2);
        RowProgress(y, kHeight);
    }
    loading.finish();

    Progress(TProgressStage::psStarting, 0, false, "Upsampling...");
    UpsamplePlane2x(kWidth / 2, kHeight / 2, kWidth, chroma1.data());
    UpsamplePlane2x(kWidth / 2, kHeight / 2, kWidth, chroma2.data());
    Progress(TProgressStage::psEnding, 0, false, {});

    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase transfer([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    bool turned = p.Rotation == 1 || p.Rotation == 3;
    SetSize(turned ? kHeight : kWidth, turned ? kWidth : kHeight);
    std::vector<uint8_t> row(kWidth * 3);
    for (uint32_t i = 0; i < kHeight; ++i) {
        std::size_t at = std::size_t(i) * kWidth;
        std::vector<const uint8_t*> planes = {luma.data() + at, chroma1.data() + at, chroma2.data() + at};
        if (!turned) {
            cm.ConvertRow(planes, ScanLine(i), kWidth, 0xFF);
        } else {
            cm.ConvertRow(planes, row.data(), kWidth, 0xFF);
            for (uint32_t j = 0; j < kWidth; ++j) {
                uint32_t line = p.Rotation == 1 ? kWidth - 1 - j : j;
                uint32_t column = p.Rotation == 1 ? i : kHeight - 1 - i;
                std::memcpy(ScanLine(line) + 3 * column, row.data() + 3 * j, 3);
            }
        }
        RowProgress(i, kHeight);
    }
}

namespace {
constexpr TExtensionDeclaration kPCDGraphicExtensions[] = {{"pcd", ""}};
} // namespace

const TGraphicClass TPCDGraphicClass{"TPCDGraphic", CreateGraphic<TPCDGraphic>, TPCDGraphic::CanLoad,
                                     "Kodak Photo-CD images", kPCDGraphicExtensions, ftRaster};

} // namespace vum
