#pragma once

// Converts scan lines from the sample layout of a picture file into the layout
// of the in-memory bitmap, and builds palettes for indexed and grey bitmaps.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/LabToSRGB.h"

namespace vum {

enum class TColorScheme : uint8_t {
    Unknown = 0, Indexed, Gray, GrayAlpha, RGB, RGBA, BGR, BGRA, Unsupported, CMYK, CIELab, YCbCr, PhotoYCC
};

// Option bits of each side.
enum : uint8_t {
    coHasAlpha = 1 << 0,
    coGammaCorrect = 1 << 1,   // target: 8-bit colour samples through the gamma table
    coSwapBytes = 1 << 2,      // source: 16-bit samples are big-endian
    coLightnessScaled = 1 << 3,
    coChromaBiased = 1 << 4,
};

class TColorManager {
public:
    TColorManager();

    uint8_t SourceBitsPerSample() const { return sourceBits_; }
    uint8_t TargetBitsPerSample() const { return targetBits_; }
    void SetSourceBitsPerSample(uint8_t bits);
    void SetTargetBitsPerSample(uint8_t bits);
    void SetSourceSamplesPerPixel(uint8_t samples);
    void SetTargetSamplesPerPixel(uint8_t samples);
    uint8_t SourceSamplesPerPixel() const { return sourceSamples_; }
    uint8_t TargetSamplesPerPixel() const { return targetSamples_; }
    void SetSourceColorScheme(TColorScheme scheme);
    void SetTargetColorScheme(TColorScheme scheme);
    TColorScheme SourceColorScheme() const { return sourceScheme_; }
    TColorScheme TargetColorScheme() const { return targetScheme_; }
    uint8_t SourceOptions = 0;
    uint8_t TargetOptions = 0;

    void SetGamma(float mainGamma, float displayGamma = 2.2f);
    void SetYCbCrOptions(std::initializer_list<float> coefficients, uint8_t horizontal, uint8_t vertical);
    const std::array<uint8_t, 256>& GammaTable() const { return gamma_; }
    // The white that L*a*b* samples are relative to, as CIE xy chromaticity (D50 until set).
    void SetLabWhitePoint(double x, double y) { lab_ = TLabToSRGB(x, y); }

    // 0 the source side, 1 the target side.
    TPixelFormat PixelFormatOf(int side) const;

    // Converts Count target pixels; source holds one pointer (interleaved) or one per plane.
    void ConvertRow(const std::vector<const uint8_t*>& source, uint8_t* target, uint32_t count,
                    uint8_t mask = 0xFF);

    // Palettes (data formats 0-7, see the source for their layouts).
    TPalette CreatePaletteFromData(const std::vector<const uint8_t*>& data, int dataFormat,
                                   uint32_t colorCount, bool reverseOrder);
    TPalette CreateGrayPalette(bool inverted);

private:
    enum class Routine { None, Copy16, Indexed16ToN, IndexedNTo16, Packed, Gray816, Color, CMYK, Lab, LumaChroma };

    void select();
    void buildChromaTables(int offsetCr, int offsetCb);
    uint8_t component8(uint16_t value, bool sixteen) const;
    uint32_t sourceSample(const uint8_t* p, bool sixteen) const;
    void convertPacked(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertIndexed16(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertGray(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertColor(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertCMYK(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertLab(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count, uint8_t mask);
    void convertLumaChroma(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count, uint8_t mask);
    void writeColor(uint8_t*& dst, int r, int g, int b) const;

    bool changed_ = true;
    uint8_t sourceBits_ = 8, targetBits_ = 8;
    uint8_t sourceSamples_ = 3, targetSamples_ = 3;
    float mainGamma_ = 1.0f, displayGamma_ = 2.2f;
    std::array<uint8_t, 256> gamma_{};
    std::array<float, 3> coefficients_{0.299f, 0.587f, 0.114f};
    uint8_t hSubsampling_ = 1, vSubsampling_ = 1;
    std::array<int32_t, 256> crToRed_{}, cbToBlue_{}, crToGreen_{}, cbToGreen_{};
    TLabToSRGB lab_;
    TColorScheme sourceScheme_ = TColorScheme::RGB;
    TColorScheme targetScheme_ = TColorScheme::BGR;
    Routine routine_ = Routine::None;
};

// (a * b) div c on unsigned 16-bit operands.
inline uint32_t ScaleWord(uint32_t a, uint32_t b, uint32_t c)
{
    a &= 0xFFFF; b &= 0xFFFF; c &= 0xFFFF;
    return c ? a * b / c : 0;
}

inline uint8_t ClampByte(int x)
{
    return x < 0 ? 0 : x > 255 ? 255 : uint8_t(x);
}

} // namespace vum
