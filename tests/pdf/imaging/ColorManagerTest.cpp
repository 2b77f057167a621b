#include <gtest/gtest.h>

#include <array>

#include "imaging/ColorManager.h"
#include "imaging/Errors.h"
#include "imaging/LabToSRGB.h"

using namespace vum;

namespace {

std::vector<uint8_t> convert(TColorManager& cm, std::vector<uint8_t> source, uint32_t count,
                             std::size_t targetBytes, uint8_t mask = 0xFF, uint8_t fill = 0)
{
    std::vector<uint8_t> target(targetBytes, fill);
    cm.ConvertRow({source.data()}, target.data(), count, mask);
    return target;
}

void describe(TColorManager& cm, TColorScheme source, TColorScheme target, uint8_t sourceBits,
              uint8_t targetBits, uint8_t sourceSamples, uint8_t targetSamples)
{
    cm.SetSourceColorScheme(source);
    cm.SetTargetColorScheme(target);
    cm.SetSourceBitsPerSample(sourceBits);
    cm.SetTargetBitsPerSample(targetBits);
    cm.SetSourceSamplesPerPixel(sourceSamples);
    cm.SetTargetSamplesPerPixel(targetSamples);
}

} // namespace

TEST(ColorManager, FreshManagerReversesRgbAndGammaOnlyWhenAsked)
{
    TColorManager cm;
    EXPECT_EQ(convert(cm, {10, 20, 30}, 1, 3), (std::vector<uint8_t>{30, 20, 10}));
    cm.TargetOptions |= coGammaCorrect;
    auto corrected = convert(cm, {10, 20, 30}, 1, 3);
    EXPECT_EQ(corrected[0], cm.GammaTable()[30]);
    EXPECT_GT(corrected[0], 30);   // 1 / 2.2 brightens
}

TEST(ColorManager, Conversions)
{
    struct Case {
        const char* what;
        TColorScheme source, target;
        uint8_t sourceBits, targetBits, sourceSamples, targetSamples;
        std::vector<uint8_t> in;
        uint32_t count;
        uint8_t mask;
        std::vector<uint8_t> expected;
    };
    using S = TColorScheme;
    const Case cases[] = {
        {"grey-alpha to grey drops alpha", S::GrayAlpha, S::Gray, 8, 8, 1, 1, {7, 200, 9, 100}, 2, 0xFF, {7, 9}},
        {"1 bit to 8 bits", S::Gray, S::Gray, 1, 8, 1, 1, {0xA0}, 3, 0xFF, {255, 0, 255}},
        {"mask 0xAA", S::Gray, S::Gray, 8, 8, 1, 1, {1, 2, 3, 4}, 8, 0xAA, {1, 0xEE, 2, 0xEE, 3, 0xEE, 4, 0xEE}},
        {"2 bits to 4 bits", S::Indexed, S::Indexed, 2, 4, 1, 1, {0x1B}, 4, 0xFF, {0x05, 0xAF}},
        {"16-bit grey big-endian to 8", S::Gray, S::Gray, 16, 8, 1, 1, {0xFF, 0xFF, 0x80, 0x00}, 2, 0xFF, {255, 127}},
        {"CMYK nothing is white", S::CMYK, S::BGR, 8, 8, 4, 3, {0, 0, 0, 0}, 1, 0xFF, {255, 255, 255}},
        {"CMYK full black", S::CMYK, S::BGR, 8, 8, 4, 3, {0, 0, 0, 255}, 1, 0xFF, {0, 0, 0}},
        // Big-endian: 0xC000 cyan, no black; read in native order it would be 0x00C0.
        {"16-bit CMYK big-endian", S::CMYK, S::RGB, 16, 8, 4, 3, {0xC0, 0, 0, 0, 0, 0, 0, 0}, 1, 0xFF, {64, 255, 255}},
        {"16-bit Lab big-endian", S::CIELab, S::RGB, 16, 8, 3, 3, {100, 0, 0, 0, 0, 0}, 1, 0xFF, {255, 255, 255}},
        {"Lab L=100 is white", S::CIELab, S::RGB, 8, 8, 3, 3, {100, 0, 0}, 1, 0xFF, {255, 255, 255}},
        {"YCbCr grey", S::YCbCr, S::RGB, 8, 8, 3, 3, {90, 128, 128}, 1, 0xFF, {90, 90, 90}},
        {"RGBA to BGRA keeps alpha", S::RGBA, S::BGRA, 8, 8, 4, 4, {1, 2, 3, 4}, 1, 0xFF, {3, 2, 1, 4}},
    };
    for (const Case& c : cases) {
        TColorManager cm;
        if (c.sourceBits == 16)
            cm.SourceOptions |= coSwapBytes;
        describe(cm, c.source, c.target, c.sourceBits, c.targetBits, c.sourceSamples, c.targetSamples);
        EXPECT_EQ(convert(cm, c.in, c.count, c.expected.size(), c.mask, 0xEE), c.expected) << c.what;
    }
}

TEST(ColorManager, LabIsConvertedToSRGB)
{
    // D50 L*a*b* of sRGB colours as the ICC's reference engine (lcms, relative
    // colorimetric) gives them; 8-bit samples keep L*, a* and b* as they are.
    struct Case {
        double L, a, b;
        std::array<int, 3> rgb;
    } cases[] = {
        {54.2896, 80.8144, 69.8897, {255, 0, 0}},    {87.8194, -79.2749, 80.9927, {0, 255, 0}},
        {29.5659, 68.2862, -112.0329, {0, 0, 255}},  {53.5850, 0, 0, {128, 128, 128}},
        {42.8289, 67.9612, 34.5744, {200, 0, 50}},   {5, 0, 0, {17, 17, 17}},
        {100, 0, 0, {255, 255, 255}},                {0, 0, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        TLabToSRGB lab;
        std::array<uint8_t, 3> rgb = lab.Convert(c.L, c.a, c.b);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(rgb[i], c.rgb[i], 1) << c.L << " " << c.a << " " << c.b << " sample " << i;
    }
    // Relative to D65, as ImageMagick writes L*a*b*, the same numbers are another colour.
    TLabToSRGB d65(0.3127, 0.3290);
    std::array<uint8_t, 3> red = d65.Convert(42.0218, 67.6751, 32.7374);
    EXPECT_NEAR(red[0], 200, 1);
    EXPECT_NEAR(red[1], 0, 1);
    EXPECT_NEAR(red[2], 50, 1);

    // Through the colour manager: 8-bit L* scaled to 0..255, a* and b* with 128 added.
    TColorManager cm;
    cm.SourceOptions = coLightnessScaled | coChromaBiased;
    describe(cm, TColorScheme::CIELab, TColorScheme::RGB, 8, 8, 3, 3);
    std::vector<uint8_t> expected = {200, 0, 49};
    std::vector<uint8_t> got = convert(cm, {109, 196, 163}, 1, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], expected[i], 2) << i;
}

TEST(ColorManager, Errors)
{
    TColorManager cm;
    EXPECT_THROW(cm.SetSourceBitsPerSample(0), EColorConversionError);
    EXPECT_THROW(cm.SetTargetBitsPerSample(17), EColorConversionError);
    EXPECT_THROW(cm.SetSourceSamplesPerPixel(5), EColorConversionError);
    EXPECT_THROW(cm.SetYCbCrOptions({0.3f}, 2, 4), EColorConversionError);
    EXPECT_THROW(cm.SetYCbCrOptions({0.3f}, 3, 1), EColorConversionError);

    TColorManager mixed;
    describe(mixed, TColorScheme::GrayAlpha, TColorScheme::GrayAlpha, 8, 8, 2, 2);
    EXPECT_THROW(convert(mixed, {1, 2}, 1, 2), EColorConversionError);

    TColorManager noRoutine;
    describe(noRoutine, TColorScheme::Gray, TColorScheme::Gray, 4, 16, 1, 1);
    try {
        convert(noRoutine, {0x12}, 2, 4);
        FAIL();
    } catch (const EColorConversionError& e) {
        EXPECT_STREQ(e.what(), "Color conversion failed. Could not find a proper method.");
    }
}

TEST(ColorManager, Palettes)
{
    TColorManager cm;
    cm.SetTargetBitsPerSample(4);
    cm.SetTargetSamplesPerPixel(1);
    TPalette gray = cm.CreateGrayPalette(false);
    ASSERT_EQ(gray.size(), 16u);
    EXPECT_EQ(gray[15], (TPaletteEntry{255, 255, 255}));
    EXPECT_EQ(cm.CreateGrayPalette(true)[0], (TPaletteEntry{255, 255, 255}));

    // A 2-bit palette resampled for a 4-bit bitmap: entry 5 k holds colour k.
    TColorManager indexed;
    indexed.SetSourceBitsPerSample(2);
    indexed.SetTargetBitsPerSample(4);
    std::vector<uint8_t> triples = {1, 2, 3, 4, 5, 6, 7, 8, 9};   // three colours only
    TPalette p = indexed.CreatePaletteFromData({triples.data()}, 0, 3, false);
    ASSERT_EQ(p.size(), 16u);
    EXPECT_EQ(p[5], (TPaletteEntry{4, 5, 6}));
    EXPECT_EQ(p[10], (TPaletteEntry{7, 8, 9}));
    EXPECT_EQ(p[15], (TPaletteEntry{}));   // a colour the file did not give is black
    EXPECT_EQ(indexed.CreatePaletteFromData({triples.data()}, 0, 1, true)[0], (TPaletteEntry{3, 2, 1}));
}
