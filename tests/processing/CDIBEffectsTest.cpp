// The effects are checked against the formulas written as a flat walk over a
// surface without row padding. A surface of any width must give, pixel for
// pixel, what that walk gives on the same pixels packed without padding, and
// must leave its padding bytes alone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <QTransform>
#include <random>
#include <vector>

#include "processing/CDIB.h"
#include "processing/EffectDispatch.h"

namespace {

using Bytes = std::vector<int>;

int clampB(int v) { return v > 255 ? 255 : v < 0 ? 0 : v; }

// Flat walk of the formulas: v is the packed memory (stride S = 3W).
void reference(int k, Bytes& v, int S, int H, int brightness)
{
    const int N = S * H, U = N - 1;
    const Bytes o = v;
    auto groups = [&](int from, int to, const std::function<void(int&, int&, int&)>& f) {
        for (int i = from; i <= to; i += 3)
            f(v[i], v[i + 1], v[i + 2]);
    };
    switch (k) {
    case 0:
        for (int i = S + 3; i <= U - S - 5; i += 3)
            for (int c = i; c < i + 3; ++c)
                v[c] = (o[c - S] + o[c - 3] + o[c + 3] + o[c + S] + 2 * v[c]) / 6;
        break;
    case 1:
        for (int i = 0; i <= U - S - 5; i += 3)
            for (int c = i; c < i + 3; ++c)
                v[c] = clampB(2 * v[c] - v[c + S + 3]);
        break;
    case 2: groups(0, U - 2, [](int& B, int& G, int& R) { int a = (B + G + R) / 3; R = clampB(R + a); B = clampB(B - a); (void)G; }); break;
    case 3: groups(0, U - 2, [](int& B, int& G, int& R) { R = clampB(G + R / 2); G = clampB(B + G / 2); B = clampB(R + B / 2); }); break;
    case 4: groups(0, U - 2, [](int& B, int& G, int& R) { R = clampB(B * G / 256); G = clampB(B * R / 256); B = clampB(G * R / 256); }); break;
    case 5: groups(0, U - 2, [](int& B, int& G, int& R) { R = clampB(std::abs(R - 64)); G = clampB(std::abs(R - 64)); B = clampB(std::abs(R - 64)); }); break;
    case 6: groups(0, U - 2, [](int& B, int& G, int& R) { G = clampB(R + G / 2); B = clampB(R + B / 2); }); break;
    case 7:
        for (int r = 0; r < H; r += 2)
            for (int c = 0; c < S; ++c)
                v[r * S + c] = 0;
        break;
    case 8:
        for (int i = 0; i <= U - 2 - 3; i += 3)
            for (int c = 2; c >= 0; --c)
                v[i + c] = clampB(100 + v[i + c] - v[i + 3 + c]);
        break;
    case 9: groups(0, U - 2, [](int& B, int& G, int& R) { B = G = R = (B + G + R) / 3; }); break;
    case 10: groups(0, U - 2, [](int& B, int& G, int& R) { B = G = R = (B + G + R) / 3 < 128 ? 0 : 255; }); break;
    case 11: groups(0, U - 2, [](int& B, int& G, int& R) { B = 255 - B; G = 255 - G; R = 255 - R; }); break;
    case 12: groups(0, U - 2, [&](int& B, int& G, int& R) { B = clampB(B + brightness); G = clampB(G + brightness); R = clampB(R + brightness); }); break;
    default: break;
    }
}

QImage randomPicture(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(int(rng() % 256), int(rng() % 256), int(rng() % 256)));
    return img;
}

// Pixel bytes in memory order (bottom row first), without padding.
Bytes packed(const QImage& img)
{
    Bytes b;
    for (int y = img.height() - 1; y >= 0; --y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            b.insert(b.end(), {qBlue(p), qGreen(p), qRed(p)});
        }
    return b;
}

} // namespace

struct EffectCase {
    int width;
    int effect;
};

class EffectTable : public ::testing::TestWithParam<EffectCase> {};

TEST_P(EffectTable, MatchesTheFlatFormulaPixelForPixel)
{
    const auto [w, k] = GetParam();
    const int h = 4, brightness = 37;
    const QImage src = randomPicture(w, h, unsigned(100 * w + k));
    Bytes expected = packed(src);
    reference(k, expected, 3 * w, h, brightness);

    CDIB dib;
    dib.Clone(src, true);
    std::span<uint8_t> v;
    const int S = dib.MapArray(v);
    // Mark the padding so that any write to it shows.
    for (int r = 0; r < h; ++r)
        for (int c = 3 * w; c < S; ++c)
            v[size_t(r * S + c)] = 0xAB;
    dib.UnMapArray(v);
    runEffect(dib, k, brightness);
    EXPECT_EQ(packed(dib.toImage()), expected) << "width " << w << " effect " << k;
    dib.MapArray(v);
    if (k != 7) {  // scan lines blacken whole memory rows
        for (int r = 0; r < h; ++r)
            for (int c = 3 * w; c < S; ++c)
                EXPECT_EQ(v[size_t(r * S + c)], 0xAB) << "padding written by effect " << k;
    }
    dib.UnMapArray(v);

    // The dispatch through a picture gives the same.
    QImage out = src;
    ApplyEffect(out, k, brightness);
    EXPECT_EQ(packed(out), expected);
}

static std::vector<EffectCase> effectCases()
{
    std::vector<EffectCase> cases;
    for (int w : {4, 5, 8})
        for (int k = 0; k <= 13; ++k)
            cases.push_back({w, k});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(WidthsAndEffects, EffectTable, ::testing::ValuesIn(effectCases()),
                         [](const auto& tp) {
                             std::string name = "w";
                             name.append(std::to_string(tp.param.width)).append("_fx");
                             return name.append(std::to_string(tp.param.effect));
                         });

TEST(Effects, KnownValues)
{
    struct Case { int effect; int b, g, r; int eb, eg, er; };
    const Case cases[] = {
        {9, 10, 20, 31, 20, 20, 20},     // greyscale: 61 \ 3
        {2, 200, 100, 200, 34, 100, 255},  // flame
        {3, 10, 20, 30, 40, 20, 35},     // purple stain
        {4, 128, 128, 0, 8, 32, 64},     // brown
        {5, 0, 0, 0, 0, 0, 64},          // night shade on R 0
        {10, 127, 127, 127, 0, 0, 0},    // monochrome below the threshold
        {10, 128, 128, 128, 255, 255, 255},
        {11, 0, 100, 255, 255, 155, 0},
    };
    for (const Case& c : cases) {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setPixel(0, 0, qRgb(c.r, c.g, c.b));
        ApplyEffect(img, c.effect, 0);
        const QRgb p = img.pixel(0, 0);
        EXPECT_EQ(qBlue(p), c.eb) << c.effect;
        EXPECT_EQ(qGreen(p), c.eg) << c.effect;
        EXPECT_EQ(qRed(p), c.er) << c.effect;
    }
}

TEST(Effects, ScanLinesSteps)
{
    struct Case { int percent; int blackRows; };  // of 6 rows
    const Case cases[] = {{0, 0}, {50, 3}, {40, 3}, {30, 2}, {100, 6}, {67, 6}, {200, 0}, {255, 0}};
    for (const Case& c : cases) {
        QImage img(5, 6, QImage::Format_RGB32);
        img.fill(Qt::white);
        CDIB d;
        d.Clone(img, true);
        d.ScanLines(uint8_t(c.percent));
        const QImage out = d.toImage();
        int black = 0;
        for (int y = 0; y < 6; ++y)
            black += out.pixel(2, y) == qRgb(0, 0, 0);
        EXPECT_EQ(black, c.blackRows) << c.percent;
        if (c.percent == 50) {
            EXPECT_EQ(out.pixel(0, 5), qRgb(0, 0, 0)) << "starts with the bottom row";
        }
    }
}

TEST(Effects, MirrorsAreExactOnOddWidths)
{
    const QImage src = randomPicture(5, 3, 7);
    CDIB d;
    d.Clone(src, true);
    d.FlipHorZ();
    EXPECT_EQ(d.toImage(), src.mirrored(true, false).convertToFormat(QImage::Format_RGB888));
    d.Clone(src, true);
    d.FastRot();
    EXPECT_EQ(d.toImage(), src.mirrored(true, true).convertToFormat(QImage::Format_RGB888));
}

TEST(Effects, RotatePicTurnsASquareAnticlockwise)
{
    const QImage src = randomPicture(4, 4, 3);
    CDIB d;
    d.Clone(src, true);
    d.RotatePic();
    EXPECT_EQ(d.toImage(), src.transformed(QTransform().rotate(-90)).convertToFormat(QImage::Format_RGB888));
    CDIB odd;
    odd.Clone(randomPicture(5, 3, 4), true);
    odd.RotatePic();  // no meaningful picture, but stays inside the surface
}

TEST(Effects, DynamicBlurAveragesTheChosenNeighbours)
{
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 0));
    img.setPixel(1, 0, qRgb(80, 80, 80));  // the upper neighbour of the centre
    img.setPixel(0, 1, qRgb(40, 40, 40));  // the left neighbour
    struct Case { int bits; int strength; int centre; };
    const Case cases[] = {{0x02, 100, 80}, {0x08, 100, 40}, {0xFF, 100, 15}, {0x0A, 100, 60}, {0x02, 0, 0},
                          {0x00, 100, 0}, {0x02, 101, 0}};
    for (const Case& c : cases) {
        CDIB d;
        d.Clone(img, true);
        d.DynamicBlur(uint8_t(c.bits), uint8_t(c.strength));
        EXPECT_EQ(qRed(d.toImage().pixel(1, 1)), c.centre) << c.bits << " " << c.strength;
    }
}

TEST(Effects, AlphaBlendStaysInsideBothSurfaces)
{
    CDIB dst;
    QImage white(4, 4, QImage::Format_RGB32);
    white.fill(Qt::white);
    dst.Clone(white, true);
    CDIB src;
    QImage mark(3, 3, QImage::Format_RGB32);
    mark.fill(Qt::black);
    mark.setPixel(2, 1, qRgb(255, 0, 0));  // the excluded colour
    src.Clone(mark, true);
    dst.AlphaBlend(src, -1, 2, 50, 255);
    const QImage out = dst.toImage();
    EXPECT_EQ(out.pixel(0, 2), qRgb(127, 127, 127));
    EXPECT_EQ(out.pixel(1, 3), qRgb(255, 255, 255)) << "excluded colour leaves the surface";
    EXPECT_EQ(out.pixel(0, 3), qRgb(127, 127, 127));
    EXPECT_EQ(out.pixel(2, 2), qRgb(255, 255, 255));
    dst.AlphaBlend(src, 5, 0, 50, -1);  // beyond the width: nothing
    dst.AlphaBlend(src, 0, 0, 0, -1);   // invisible: nothing
    EXPECT_EQ(dst.toImage().pixel(0, 0), qRgb(255, 255, 255));
}
