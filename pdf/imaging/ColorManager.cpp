#include "imaging/ColorManager.h"

#include <cmath>
#include <cstring>

#include "imaging/Errors.h"

namespace vum {

namespace {

const char* const kBadDepth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
const char* const kBadSamples = "Sample count per pixel does not correspond to the given color scheme.";
const char* const kBadSubsampling = "Subsampling value is invalid. Allowed are 1, 2 and 4.";
const char* const kBadVertical = "Vertical subsampling value must be <= horizontal subsampling value.";
const char* const kIndexedMix = "Conversion between indexed and non-indexed pixel formats is not supported.";
const char* const kNoMethod = "Color conversion failed. Could not find a proper method.";

uint16_t load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void store16(uint8_t* p, uint16_t v)
{
    std::memcpy(p, &v, 2);
}

uint16_t swap16(uint16_t v)
{
    return uint16_t(v << 8 | v >> 8);
}

bool selected(uint8_t mask, uint32_t k)
{
    return mask & (0x80 >> (k % 8));
}

bool isColor(TColorScheme s)
{
    return s == TColorScheme::RGB || s == TColorScheme::RGBA || s == TColorScheme::BGR ||
           s == TColorScheme::BGRA;
}

bool hasAlpha(TColorScheme s)
{
    return s == TColorScheme::GrayAlpha || s == TColorScheme::RGBA || s == TColorScheme::BGRA;
}

bool isBgr(TColorScheme s)
{
    return s == TColorScheme::BGR || s == TColorScheme::BGRA;
}

bool wholeBytes(uint8_t bits)
{
    return bits == 8 || bits == 16;
}

bool knownDepth(uint8_t bits)
{
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16;
}

} // namespace

TColorManager::TColorManager()
{
    SetGamma(1.0f, 2.2f);
}

void TColorManager::SetSourceBitsPerSample(uint8_t bits)
{
    if (bits == 0 || bits > 16)
        throw EColorConversionError(kBadDepth);
    if (bits != sourceBits_) {
        sourceBits_ = bits;
        changed_ = true;
    }
}

void TColorManager::SetTargetBitsPerSample(uint8_t bits)
{
    if (bits == 0 || bits > 16)
        throw EColorConversionError(kBadDepth);
    if (bits != targetBits_) {
        targetBits_ = bits;
        changed_ = true;
    }
}

void TColorManager::SetSourceSamplesPerPixel(uint8_t samples)
{
    if (samples == 0 || samples > 4)
        throw EColorConversionError(kBadSamples);
    if (samples != sourceSamples_) {
        sourceSamples_ = samples;
        changed_ = true;
    }
}

void TColorManager::SetTargetSamplesPerPixel(uint8_t samples)
{
    if (samples == 0 || samples > 4)
        throw EColorConversionError(kBadSamples);
    if (samples != targetSamples_) {
        targetSamples_ = samples;
        changed_ = true;
    }
}

void TColorManager::SetSourceColorScheme(TColorScheme scheme)
{
    if (scheme != sourceScheme_) {
        sourceScheme_ = scheme;
        changed_ = true;
    }
}

void TColorManager::SetTargetColorScheme(TColorScheme scheme)
{
    if (scheme != targetScheme_) {
        targetScheme_ = scheme;
        changed_ = true;
    }
}

void TColorManager::SetGamma(float mainGamma, float displayGamma)
{
    mainGamma_ = mainGamma > 0 ? mainGamma : 1.0f;
    displayGamma_ = displayGamma > 0 ? displayGamma : 2.2f;
    // The table is indexed by 8-bit samples; a deeper range is bounded to it.
    int c = sourceBits_ >= 8 ? 255 : (1 << std::min<int>(targetBits_, 8)) - 1;
    int r = targetBits_ >= 8 ? 255 : (1 << targetBits_) - 1;
    double exponent = 1.0 / (double(mainGamma_) * double(displayGamma_));
    for (int i = 0; i <= c; ++i)
        gamma_[i] = uint8_t(std::lround(std::pow(double(i) / c, exponent) * r));
    for (int i = c + 1; i < 256; ++i)
        gamma_[i] = gamma_[c];
}

void TColorManager::SetYCbCrOptions(std::initializer_list<float> coefficients, uint8_t horizontal,
                                    uint8_t vertical)
{
    std::size_t i = 0;
    for (float c : coefficients)
        if (i < 3)
            coefficients_[i++] = c;
    auto allowed = [](uint8_t v) { return v == 1 || v == 2 || v == 4; };
    if (!allowed(horizontal) || !allowed(vertical))
        throw EColorConversionError(kBadSubsampling);
    if (vertical > horizontal)
        throw EColorConversionError(kBadVertical);
    hSubsampling_ = horizontal;
    vSubsampling_ = vertical;
}

TPixelFormat TColorManager::PixelFormatOf(int side) const
{
    uint8_t samples = side == 0 ? sourceSamples_ : targetSamples_;
    uint8_t bits = side == 0 ? sourceBits_ : targetBits_;
    switch (samples) {
    case 1:
        if (bits == 1) return TPixelFormat::pf1bit;
        if (bits >= 2 && bits <= 4) return TPixelFormat::pf4bit;
        if (bits >= 8 && bits <= 16) return TPixelFormat::pf8bit;
        return TPixelFormat::pfCustom;
    case 3:
        return bits >= 1 && bits <= 5 ? TPixelFormat::pf15bit : TPixelFormat::pf24bit;
    case 4:
        return bits >= 8 ? TPixelFormat::pf32bit : TPixelFormat::pfCustom;
    default:
        return TPixelFormat::pfCustom;
    }
}

void TColorManager::select()
{
    routine_ = Routine::None;
    bool sourceIndexed = sourceScheme_ == TColorScheme::Indexed || sourceScheme_ == TColorScheme::Gray ||
                         sourceScheme_ == TColorScheme::GrayAlpha;
    bool targetIndexed = targetScheme_ == TColorScheme::Indexed || targetScheme_ == TColorScheme::Gray;
    if (sourceIndexed != targetIndexed)
        throw EColorConversionError(kIndexedMix);
    SourceOptions = hasAlpha(sourceScheme_) ? (SourceOptions | coHasAlpha) : (SourceOptions & ~coHasAlpha);
    TargetOptions = hasAlpha(targetScheme_) ? (TargetOptions | coHasAlpha) : (TargetOptions & ~coHasAlpha);
    changed_ = false;
    if (!knownDepth(sourceBits_) || !knownDepth(targetBits_))
        return;
    bool s16 = sourceBits_ == 16, t16 = targetBits_ == 16;
    bool bytes = wholeBytes(sourceBits_) && wholeBytes(targetBits_);
    bool toColor = isColor(targetScheme_);
    switch (sourceScheme_) {
    case TColorScheme::Indexed:
        routine_ = s16 && t16 ? Routine::Copy16 : s16 ? Routine::Indexed16ToN
                 : t16 ? Routine::IndexedNTo16 : Routine::Packed;
        break;
    case TColorScheme::Gray:
        if (!s16 && !t16)
            routine_ = Routine::Packed;
        else if (bytes)
            routine_ = Routine::Gray816;
        break;
    case TColorScheme::GrayAlpha:
        if (bytes)
            routine_ = Routine::Gray816;
        break;
    case TColorScheme::RGB:
    case TColorScheme::RGBA:
    case TColorScheme::BGR:
    case TColorScheme::BGRA:
        if (toColor && bytes)
            routine_ = Routine::Color;
        break;
    case TColorScheme::CMYK:
        if (toColor && bytes)
            routine_ = Routine::CMYK;
        break;
    case TColorScheme::CIELab:
        if (toColor && bytes)
            routine_ = Routine::Lab;
        break;
    case TColorScheme::YCbCr:
        if (toColor && bytes) {
            buildChromaTables(128, 128);
            routine_ = Routine::LumaChroma;
        }
        break;
    case TColorScheme::PhotoYCC:
        if (toColor && bytes) {
            buildChromaTables(137, 156);
            routine_ = Routine::LumaChroma;
        }
        break;
    default:
        break;
    }
}

void TColorManager::buildChromaTables(int offsetCr, int offsetCb)
{
    float kr = coefficients_[0], kg = coefficients_[1], kb = coefficients_[2];
    float cr = 2 - 2 * kr, cb = 2 - 2 * kb;
    for (int i = 0; i < 256; ++i) {
        float dr = float(i - offsetCr), db = float(i - offsetCb);
        crToRed_[i] = int32_t(std::lrint(cr * dr));
        cbToBlue_[i] = int32_t(std::lrint(cb * db));
        crToGreen_[i] = kg != 0 ? -int32_t(std::lrint(kr * cr / kg * dr)) : 0;
        cbToGreen_[i] = kg != 0 ? -int32_t(std::lrint(kb * cb / kg * db)) : 0;
    }
}

void TColorManager::ConvertRow(const std::vector<const uint8_t*>& source, uint8_t* target, uint32_t count,
                               uint8_t mask)
{
    if (changed_)
        select();
    if (routine_ == Routine::None || source.empty())
        throw EColorConversionError(kNoMethod);
    switch (routine_) {
    case Routine::Packed: convertPacked(source[0], target, count, mask); break;
    case Routine::Copy16:
    case Routine::Indexed16ToN:
    case Routine::IndexedNTo16: convertIndexed16(source[0], target, count, mask); break;
    case Routine::Gray816: convertGray(source[0], target, count, mask); break;
    case Routine::Color: convertColor(source, target, count, mask); break;
    case Routine::CMYK: convertCMYK(source, target, count, mask); break;
    case Routine::Lab: convertLab(source, target, count, mask); break;
    case Routine::LumaChroma: convertLumaChroma(source, target, count, mask); break;
    case Routine::None: break;
    }
}

namespace {

// Reads successive packed samples, most significant bits first.
struct BitReader {
    const uint8_t* data;
    uint32_t bits;
    uint64_t position = 0;
    uint32_t next()
    {
        uint32_t v = (data[position / 8] >> (8 - bits - position % 8)) & ((1u << bits) - 1);
        position += bits;
        return v;
    }
};

void storePacked(uint8_t* dst, uint32_t k, uint32_t bits, uint32_t value)
{
    uint64_t bit = uint64_t(k) * bits;
    uint32_t shift = 8 - bits - uint32_t(bit % 8);
    uint8_t field = uint8_t(((1u << bits) - 1) << shift);
    dst[bit / 8] = uint8_t((dst[bit / 8] & ~field) | ((value << shift) & field));
}

} // namespace

void TColorManager::convertPacked(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask)
{
    uint32_t n = sourceBits_, m = targetBits_;
    if (n == m && mask == 0xFF) {
        std::memcpy(dst, src, (uint64_t(count) * n + 7) / 8);
        return;
    }
    BitReader reader{src, n};
    for (uint32_t k = 0; k < count; ++k) {
        if (!selected(mask, k))
            continue;
        uint32_t v = reader.next();
        if (n != m)
            v = ScaleWord(v, (1u << m) - 1, (1u << n) - 1);
        storePacked(dst, k, m, v);
    }
}

void TColorManager::convertIndexed16(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask)
{
    bool swap = SourceOptions & coSwapBytes;
    if (routine_ == Routine::Copy16) {
        if (!swap && mask == 0xFF) {
            std::memcpy(dst, src, std::size_t(count) * 2);
            return;
        }
        for (uint32_t k = 0; k < count; ++k)
            if (selected(mask, k)) {
                uint16_t v = load16(src);
                store16(dst + 2 * k, swap ? swap16(v) : v);
                src += 2;
            }
        return;
    }
    if (routine_ == Routine::Indexed16ToN) {
        uint32_t m = targetBits_;
        for (uint32_t k = 0; k < count; ++k)
            if (selected(mask, k)) {
                uint16_t v = load16(src);
                src += 2;
                if (swap)
                    v = swap16(v);
                uint32_t scaled = uint32_t(v) * ((1u << m) - 1) / 65535;
                if (m == 8)
                    dst[k] = uint8_t(scaled);
                else
                    storePacked(dst, k, m, scaled);
            }
        return;
    }
    BitReader reader{src, sourceBits_};
    for (uint32_t k = 0; k < count; ++k)
        if (selected(mask, k)) {
            uint32_t v = reader.next() * 65535 / ((1u << sourceBits_) - 1);
            store16(dst + 2 * k, swap ? swap16(uint16_t(v)) : uint16_t(v));
        }
}

void TColorManager::convertGray(const uint8_t* src, uint8_t* dst, uint32_t count, uint8_t mask)
{
    bool swap = SourceOptions & coSwapBytes;
    bool s16 = sourceBits_ == 16, t16 = targetBits_ == 16;
    std::size_t step = (SourceOptions & coHasAlpha ? 2 : 1) * (s16 ? 2 : 1);
    for (uint32_t k = 0; k < count; ++k) {
        if (!selected(mask, k))
            continue;
        uint32_t v = s16 ? load16(src) : src[0];
        src += step;
        if (s16 && swap)
            v = swap16(uint16_t(v));
        if (!s16 && t16)
            store16(dst + 2 * k, uint16_t(v * 257));
        else if (s16 && !t16)
            dst[k] = uint8_t(v * 255 / 65535);
        else if (t16)
            store16(dst + 2 * k, uint16_t(v));
        else
            dst[k] = uint8_t(v);
    }
}

uint8_t TColorManager::component8(uint16_t value, bool sixteen) const
{
    uint32_t v = value;
    if (sixteen) {
        if (SourceOptions & coSwapBytes)
            v = swap16(uint16_t(v));
        v = v * 255 / 65535;
    }
    return (TargetOptions & coGammaCorrect) ? gamma_[v & 255] : uint8_t(v);
}

uint32_t TColorManager::sourceSample(const uint8_t* p, bool sixteen) const
{
    if (!sixteen)
        return p[0];
    uint16_t v = load16(p);
    return (SourceOptions & coSwapBytes) ? swap16(v) : v;
}

void TColorManager::convertColor(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count,
                                 uint8_t mask)
{
    bool s16 = sourceBits_ == 16, t16 = targetBits_ == 16;
    bool swap = SourceOptions & coSwapBytes;
    bool gamma = TargetOptions & coGammaCorrect;
    bool sourceAlpha = SourceOptions & coHasAlpha, targetAlpha = TargetOptions & coHasAlpha;
    bool reverse = isBgr(sourceScheme_) != isBgr(targetScheme_);
    bool planar = src.size() > 1;
    if (planar && src.size() < std::size_t(sourceAlpha ? 4 : 3))
        throw EColorConversionError(kNoMethod);
    std::size_t sampleBytes = s16 ? 2 : 1;
    std::size_t sourceStep = planar ? sampleBytes : sampleBytes * (sourceAlpha ? 4 : 3);
    std::size_t targetStep = (t16 ? 2 : 1) * (targetAlpha ? 4 : 3);
    const uint8_t* planes[4] = {src[0], planar ? src[1] : src[0] + sampleBytes,
                                planar ? src[2] : src[0] + 2 * sampleBytes,
                                planar ? (src.size() > 3 ? src[3] : nullptr) : src[0] + 3 * sampleBytes};
    for (uint32_t k = 0; k < count; ++k, dst += targetStep) {
        if (!selected(mask, k))
            continue;
        for (int c = 0; c < 3; ++c) {
            const uint8_t* p = planes[c];
            int out = reverse ? 2 - c : c;
            if (!t16) {
                dst[out] = component8(s16 ? load16(p) : p[0], s16);
            } else if (!s16) {
                uint16_t v = uint16_t((gamma ? gamma_[p[0]] : p[0]) * 257);
                store16(dst + 2 * out, swap ? swap16(v) : v);
            } else {
                uint16_t v = load16(p);
                store16(dst + 2 * out, swap ? swap16(v) : v);
            }
        }
        if (sourceAlpha && targetAlpha) {
            const uint8_t* p = planes[3];
            if (!t16) {
                uint32_t v = s16 ? load16(p) : p[0];
                if (s16)
                    v = (swap ? swap16(uint16_t(v)) : v) * 255 / 65535;
                dst[3] = uint8_t(v);
            } else {
                uint16_t v = s16 ? load16(p) : uint16_t(p[0] * 257);
                store16(dst + 6, swap ? swap16(v) : v);
            }
        }
        for (auto& p : planes)
            if (p)
                p += sourceStep;
    }
}

void TColorManager::writeColor(uint8_t*& dst, int r, int g, int b) const
{
    bool bgr = isBgr(targetScheme_);
    int first = bgr ? b : r, last = bgr ? r : b;
    if (targetBits_ == 16) {
        store16(dst, uint16_t(first * 257));
        store16(dst + 2, uint16_t(g * 257));
        store16(dst + 4, uint16_t(last * 257));
        dst += (TargetOptions & coHasAlpha) ? 8 : 6;
    } else {
        dst[0] = uint8_t(first);
        dst[1] = uint8_t(g);
        dst[2] = uint8_t(last);
        dst += (TargetOptions & coHasAlpha) ? 4 : 3;
    }
}

void TColorManager::convertCMYK(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count,
                                uint8_t mask)
{
    bool s16 = sourceBits_ == 16, t16 = targetBits_ == 16;
    bool planar = src.size() == 4;
    std::size_t sample = s16 ? 2 : 1;
    std::size_t step = planar ? sample : 4 * sample;
    const uint8_t* p[4];
    for (int i = 0; i < 4; ++i)
        p[i] = planar ? src[i] : src[0] + i * sample;
    std::size_t targetStep = (t16 ? 2 : 1) * ((TargetOptions & coHasAlpha) ? 4 : 3);
    bool bgr = isBgr(targetScheme_);
    for (uint32_t k = 0; k < count; ++k) {
        if (!selected(mask, k)) {
            dst += targetStep;
            continue;
        }
        uint32_t x[4];
        for (int i = 0; i < 4; ++i) {
            x[i] = sourceSample(p[i], s16);
            p[i] += step;
        }
        uint32_t out[3];
        for (int c = 0; c < 3; ++c) {
            uint32_t X = x[c], K = x[3];
            if (!s16) {
                out[c] = ClampByte(int(ScaleWord(X, K, 255)) - int(X) - int(K) + 255);
            } else if (!t16) {
                uint32_t m = ScaleWord(X, K, 65535);
                uint32_t o = ScaleWord(X + K - m, 255, 65535);
                out[c] = ClampByte(255 - int(o));
            } else {
                uint32_t m = ScaleWord(X, K, 65535);
                out[c] = uint16_t(65535 - X - K + m);
            }
        }
        if (s16 && t16) {
            uint32_t first = bgr ? out[2] : out[0], last = bgr ? out[0] : out[2];
            store16(dst, uint16_t(first));
            store16(dst + 2, uint16_t(out[1]));
            store16(dst + 4, uint16_t(last));
            dst += targetStep;
        } else {
            writeColor(dst, int(out[0]), int(out[1]), int(out[2]));
        }
    }
}

void TColorManager::convertLab(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count,
                               uint8_t mask)
{
    bool s16 = sourceBits_ == 16;
    bool planar = src.size() >= 3;
    std::size_t bytes = s16 ? 2 : 1;
    std::size_t step = planar ? bytes : 3 * bytes;
    const uint8_t* p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = planar ? src[i] : src[0] + i * bytes;
    std::size_t targetStep = (targetBits_ == 16 ? 2 : 1) * ((TargetOptions & coHasAlpha) ? 4 : 3);
    bool biased = SourceOptions & coChromaBiased;
    bool scaled = SourceOptions & coLightnessScaled;
    // 16-bit samples hold the 8-bit ranges with 8 more bits of fraction.
    double unit = s16 ? 256.0 : 1.0, full = s16 ? 65535.0 : 255.0;
    for (uint32_t k = 0; k < count; ++k) {
        if (!selected(mask, k)) {
            dst += targetStep;
            continue;
        }
        uint32_t v[3];
        for (int i = 0; i < 3; ++i) {
            v[i] = sourceSample(p[i], s16);
            p[i] += step;
        }
        double L = scaled ? v[0] * 100.0 / full : v[0] / unit;
        double ab[2];
        for (int i = 0; i < 2; ++i) {
            uint32_t w = v[i + 1];
            if (biased)
                ab[i] = w / unit - 128;
            else
                ab[i] = (s16 ? double(int16_t(uint16_t(w))) : double(int8_t(uint8_t(w)))) / unit;
        }
        std::array<uint8_t, 3> rgb = lab_.Convert(L, ab[0], ab[1]);
        writeColor(dst, rgb[0], rgb[1], rgb[2]);
    }
}

void TColorManager::convertLumaChroma(const std::vector<const uint8_t*>& src, uint8_t* dst, uint32_t count,
                                      uint8_t mask)
{
    bool s16 = sourceBits_ == 16;
    bool planar = src.size() >= 3;
    std::size_t sample = s16 ? 2 : 1;
    std::size_t step = planar ? sample : 3 * sample;
    const uint8_t* p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = planar ? src[i] : src[0] + i * sample;
    std::size_t targetStep = (targetBits_ == 16 ? 2 : 1) * ((TargetOptions & coHasAlpha) ? 4 : 3);
    for (uint32_t k = 0; k < count; ++k) {
        if (!selected(mask, k)) {
            dst += targetStep;
            continue;
        }
        int v[3];
        for (int i = 0; i < 3; ++i) {
            v[i] = s16 ? int(load16(p[i]) * 255u / 65535u) : p[i][0];
            p[i] += step;
        }
        int y = v[0], cb = v[1], cr = v[2];
        writeColor(dst, ClampByte(y + crToRed_[cr]), ClampByte(y + cbToGreen_[cb] + crToGreen_[cr]),
                   ClampByte(y + cbToBlue_[cb]));
    }
}

TPalette TColorManager::CreatePaletteFromData(const std::vector<const uint8_t*>& data, int dataFormat,
                                              uint32_t colorCount, bool reverseOrder)
{
    uint32_t n = std::min<uint32_t>(colorCount, 256);
    TPalette palette(n);
    bool gamma = TargetOptions & coGammaCorrect;
    bool swap = SourceOptions & coSwapBytes;
    auto g8 = [&](uint8_t v) { return gamma ? gamma_[v] : v; };
    auto g16 = [&](uint16_t v) {
        uint32_t w = swap ? swap16(v) : v;
        w = w * 255 / 65535;
        return gamma ? gamma_[w] : uint8_t(w);
    };
    bool planes = dataFormat == 2 || dataFormat == 3 || dataFormat == 6 || dataFormat == 7;
    if (data.empty() || (planes && data.size() < 3))
        throw EColorConversionError(kNoMethod);
    for (uint32_t i = 0; i < n; ++i) {
        TPaletteEntry& e = palette[i];
        switch (dataFormat) {
        case 0:
        case 1: {
            const uint8_t* t = data[0] + i * (dataFormat == 0 ? 3 : 4);
            uint8_t a = g8(t[0]), b = g8(t[1]), c = g8(t[2]);
            e = reverseOrder ? TPaletteEntry{c, b, a} : TPaletteEntry{a, b, c};
            break;
        }
        case 2:
        case 3:
            e = {g8(data[0][i]), g8(data[1][i]), g8(data[2][i])};
            break;
        case 4:
        case 5: {
            const uint8_t* t = data[0] + i * (dataFormat == 4 ? 6 : 8);
            uint8_t a = g16(load16(t)), b = g16(load16(t + 2)), c = g16(load16(t + 4));
            e = reverseOrder ? TPaletteEntry{a, b, c} : TPaletteEntry{c, b, a};
            break;
        }
        default:
            e = {g16(load16(data[0] + 2 * i)), g16(load16(data[1] + 2 * i)), g16(load16(data[2] + 2 * i))};
        }
    }
    uint32_t s = sourceBits_, t = targetBits_;
    if (t <= 8 && s != t && s <= 16) {
        TPalette resampled(std::size_t(1) << t);
        for (uint32_t i = 0; i < resampled.size(); ++i) {
            uint32_t from = ScaleWord(i, (1u << s) - 1, (1u << t) - 1);
            if (from < palette.size())
                resampled[i] = palette[from];
        }
        palette = std::move(resampled);
    }
    return palette;
}

TPalette TColorManager::CreateGrayPalette(bool inverted)
{
    uint32_t bits = std::min<uint32_t>(uint32_t(targetBits_) * targetSamples_, 8);
    uint32_t n = 1u << bits;
    uint32_t step = 255 / (n - 1);
    TPalette palette(n);
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t level = i * step;
        uint8_t v = (TargetOptions & coGammaCorrect) ? gamma_[level] : uint8_t(level);
        palette[inverted ? n - 1 - i : i] = {v, v, v};
    }
    return palette;
}

} // namespace vum
