// The effects are checked against pictures small enough to work out by hand:
// the expected pixels below are written down, not computed by the test.
#include <gtest/gtest.h>

#include <QTransform>
#include <random>
#include <string>
#include <vector>

#include "processing/CDIB.h"
#include "processing/EffectDispatch.h"

namespace {

QImage randomPicture(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(int(rng() % 256), int(rng() % 256), int(rng() % 256)));
    return img;
}

// Pixels row by row from the top, as qRgb values.
using Pixels = std::vector<QRgb>;

QImage picture(int w, int h, const Pixels& px)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, px[size_t(y * w + x)]);
    return img;
}

Pixels pixelsOf(const QImage& img)
{
    Pixels px;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            px.push_back(img.pixel(x, y) | 0xFF000000u);
    return px;
}

const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

} // namespace

// The surface keeps its rows bottom first: on a picture of height 2 the bottom
// row is memory row 0, and "one row further in memory" is the row above.
struct WorkedPicture {
    const char* name;
    int effect;
    int brightness;
    int width, height;
    Pixels in, out;
};

void PrintTo(const WorkedPicture& c, std::ostream* os)
{
    *os << c.name;
}

class EffectPictures : public ::testing::TestWithParam<WorkedPicture> {};

TEST_P(EffectPictures, GiveTheWorkedOutPixels)
{
    const WorkedPicture& c = GetParam();
    QImage img = picture(c.width, c.height, c.in);
    ApplyEffect(img, c.effect, c.brightness);
    EXPECT_EQ(pixelsOf(img), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, EffectPictures,
    ::testing::Values(
        // Memory pixels p5 and p6 are the only ones with four neighbours:
        // p5 = (p1 + p4 + p6 + p9 + 2 p5) \ 6 per channel, from the untouched
        // copy: R (6 + 12 + 30 + 60 + 6) \ 6 = 19, G 126 \ 6 = 21, B 186 \ 6 = 31;
        // p6: R 81 \ 6 = 13, G 174 \ 6 = 29, B 180 \ 6 = 30. The white corners
        // are no one's neighbours.
        WorkedPicture{"FastBlur", 0, 0, 4, 3,
                      {kWhite, qRgb(60, 0, 6), qRgb(6, 120, 0), kWhite,
                       qRgb(12, 0, 0), qRgb(3, 30, 90), qRgb(30, 6, 0), qRgb(0, 12, 60),
                       kWhite, qRgb(6, 60, 0), qRgb(12, 0, 30), kWhite},
                      {kWhite, qRgb(60, 0, 6), qRgb(6, 120, 0), kWhite,
                       qRgb(12, 0, 0), qRgb(19, 21, 31), qRgb(13, 29, 30), qRgb(0, 12, 60),
                       kWhite, qRgb(6, 60, 0), qRgb(12, 0, 30), kWhite}},
        // Each of the first three bottom pixels becomes 2 x itself minus the
        // pixel above and one to the right, clamped; the rest stay.
        WorkedPicture{"Sharpen", 1, 0, 4, 2,
                      {qRgb(1, 2, 3), qRgb(50, 60, 250), qRgb(30, 0, 0), qRgb(100, 255, 90),
                       qRgb(100, 50, 200), qRgb(10, 20, 30), qRgb(200, 200, 200), qRgb(7, 8, 9)},
                      {qRgb(1, 2, 3), qRgb(50, 60, 250), qRgb(30, 0, 0), qRgb(100, 255, 90),
                       qRgb(150, 40, 150), qRgb(0, 40, 60), qRgb(255, 145, 255), qRgb(7, 8, 9)}},
        // G = R + G \ 2, B = R + B \ 2, clamped; on a row with padding.
        WorkedPicture{"Spooky", 6, 0, 3, 1,
                      {qRgb(30, 20, 10), qRgb(250, 20, 100), qRgb(0, 255, 7)},
                      {qRgb(30, 40, 35), qRgb(250, 255, 255), qRgb(0, 127, 3)}},
        // Every second memory row from the bottom one turns black.
        WorkedPicture{"ScanLines", 7, 0, 2, 3,
                      {kWhite, kWhite, kWhite, kWhite, kWhite, kWhite},
                      {kBlack, kBlack, kWhite, kWhite, kBlack, kBlack}},
        // Each pixel becomes 100 + itself - its right-hand neighbour, clamped;
        // the bottom row's last pixel takes the top row's first as neighbour,
        // and the last pixel stays.
        WorkedPicture{"Emboss", 8, 0, 4, 2,
                      {qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 0, 0), qRgb(30, 40, 50),
                       qRgb(10, 10, 10), qRgb(10, 10, 10), qRgb(200, 0, 50), qRgb(50, 100, 250)},
                      {qRgb(0, 0, 255), qRgb(255, 255, 100), qRgb(70, 60, 50), qRgb(30, 40, 50),
                       qRgb(100, 100, 100), qRgb(0, 110, 60), qRgb(250, 0, 0), qRgb(150, 200, 95)}},
        // Rows with padding: the neighbour of a row's last pixel is the next
        // row's first pixel, never the padding bytes between them.
        WorkedPicture{"EmbossOverRowPadding", 8, 0, 3, 2,
                      {qRgb(20, 10, 0), qRgb(0, 0, 0), qRgb(9, 9, 9),
                       qRgb(100, 100, 100), qRgb(50, 50, 50), qRgb(0, 10, 20)},
                      {qRgb(120, 110, 100), qRgb(91, 91, 91), qRgb(9, 9, 9),
                       qRgb(150, 150, 150), qRgb(150, 140, 130), qRgb(80, 100, 120)}},
        WorkedPicture{"BrightnessUp", 12, 37, 3, 1,
                      {qRgb(100, 230, 10), qRgb(0, 0, 0), qRgb(218, 219, 255)},
                      {qRgb(137, 255, 47), qRgb(37, 37, 37), qRgb(255, 255, 255)}},
        WorkedPicture{"BrightnessDown", 12, -37, 3, 1,
                      {qRgb(100, 230, 10), qRgb(0, 0, 0), qRgb(37, 38, 255)},
                      {qRgb(63, 193, 0), qRgb(0, 0, 0), qRgb(0, 1, 218)}},
        WorkedPicture{"NoEffect", 13, 37, 2, 1, {qRgb(1, 2, 3), qRgb(250, 251, 252)},
                      {qRgb(1, 2, 3), qRgb(250, 251, 252)}}),
    [](const auto& tp) { return std::string(tp.param.name); });

// Surfaces whose rows are padded to four bytes: no effect but the scan lines
// (which blacken whole memory rows) writes to the padding, and the dispatch
// through a picture gives what the effect gives on a surface.
struct PaddedCase {
    int width;
    int effect;
};

void PrintTo(const PaddedCase& c, std::ostream* os)
{
    *os << "width " << c.width << ", effect " << c.effect;
}

class EffectPadding : public ::testing::TestWithParam<PaddedCase> {};

TEST_P(EffectPadding, LeavesThePaddingAlone)
{
    const auto [w, k] = GetParam();
    const int h = 4, brightness = 37;
    const QImage src = randomPicture(w, h, unsigned(100 * w + k));

    CDIB dib;
    dib.Clone(src, true);
    std::span<uint8_t> v;
    const int S = dib.MapArray(v);
    ASSERT_GT(S, 3 * w);
    for (int r = 0; r < h; ++r)
        for (int c = 3 * w; c < S; ++c)
            v[size_t(r * S + c)] = 0xAB;
    dib.UnMapArray(v);
    runEffect(dib, k, brightness);
    dib.MapArray(v);
    if (k != 7) {
        for (int r = 0; r < h; ++r)
            for (int c = 3 * w; c < S; ++c)
                EXPECT_EQ(v[size_t(r * S + c)], 0xAB) << "row " << r << " byte " << c;
    }
    dib.UnMapArray(v);

    QImage out = src;
    ApplyEffect(out, k, brightness);
    EXPECT_EQ(pixelsOf(out), pixelsOf(dib.toImage()));
}

static std::vector<PaddedCase> paddedCases()
{
    std::vector<PaddedCase> cases;
    for (int w : {1, 2, 3, 5})
        for (int k = 0; k <= 13; ++k)
            cases.push_back({w, k});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(WidthsAndEffects, EffectPadding, ::testing::ValuesIn(paddedCases()),
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
