#include <gtest/gtest.h>

#include <QFile>
#include <functional>
#include <QTemporaryDir>

#include "ToolRunner.h"
#include "platform/imaging/ColorMatrixFilter.h"
#include "platform/imaging/PictureReader.h"
#include "platform/imaging/Resample.h"
#include "platform/imaging/TextPainter.h"

TEST(PictureReader, NeverTurnsByExifAndShrinksJpegInTheDecoder)
{
    ASSERT_TRUE(toolsInstalled({"convert", "exiftool"}));
    QTemporaryDir dir;
    const QString jpg = dir.filePath("p.jpg");
    ASSERT_EQ(runTool({"convert", "-size", "1600x1200", "xc:gray", jpg.toStdString()}).exitCode, 0);
    ASSERT_EQ(runTool({"exiftool", "-q", "-overwrite_original", "-Orientation#=6", jpg.toStdString()}).exitCode, 0);

    const imaging::PictureProbe probe = imaging::probePicture(jpg);
    EXPECT_EQ(probe.size, QSize(1600, 1200));
    EXPECT_EQ(probe.format, "jpeg");
    EXPECT_EQ(imaging::loadPicture(jpg).size(), QSize(1600, 1200));
    struct Case { double shrink; QSize size; };
    // Reduced in the decoder only while at least twice the needed pixels remain.
    const Case cases[] = {{1.0, {1600, 1200}}, {3.9, {1600, 1200}}, {4.0, {800, 600}},
                          {15.9, {400, 300}}, {16.0, {200, 150}}, {100.0, {200, 150}}};
    for (const Case& c : cases) {
        const imaging::LoadedPicture loaded = imaging::loadPictureReduced(jpg, probe, c.shrink);
        EXPECT_EQ(loaded.image.size(), c.size) << c.shrink;
        EXPECT_EQ(loaded.image.format(), imaging::kPictureFormat);
        EXPECT_FALSE(loaded.tooLarge);
    }

    EXPECT_FALSE(imaging::probePicture(dir.filePath("none.png")).ok());
}

namespace {

// A grey baseline JPEG of any size in a few bytes a block: one-code Huffman
// tables make every block "DC unchanged, end of block", two zero bits.
QByteArray flatJpeg(uint16_t w, uint16_t h)
{
    auto be16 = [](int v) { return QByteArray(1, char(v >> 8)) + QByteArray(1, char(v & 0xFF)); };
    auto segment = [&](int marker, const QByteArray& body) {
        return QByteArray(1, '\xFF') + QByteArray(1, char(marker)) + be16(int(body.size()) + 2) + body;
    };
    const QByteArray oneCode = QByteArray(1, 1) + QByteArray(15, 0) + QByteArray(1, 0);
    const qsizetype blocks = qsizetype((w + 7) / 8) * ((h + 7) / 8);
    return QByteArray("\xFF\xD8", 2) + segment(0xDB, QByteArray(1, 0) + QByteArray(64, 1)) +
           segment(0xC0, QByteArray(1, 8) + be16(h) + be16(w) + QByteArray("\x01\x01\x11\x00", 4)) +
           segment(0xC4, QByteArray(1, 0x00) + oneCode) + segment(0xC4, QByteArray(1, 0x10) + oneCode) +
           segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6)) + QByteArray((blocks * 2 + 7) / 8, 0) +
           QByteArray("\xFF\xD9", 2);
}

} // namespace

// Over the pixel cap at full size, a JPEG that is drawn small is decoded small
// and loads; drawn at full size it is refused with the size it would have had.
TEST(PictureReader, HugeJpegsDrawnSmallStillLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(flatJpeg(32768, 16400));
    f.close();
    const imaging::PictureProbe probe = imaging::probePicture(path);
    ASSERT_EQ(probe.size, QSize(32768, 16400));
    ASSERT_GT(int64_t(32768) * 16400, imaging::kMaxPicturePixels);

    const imaging::LoadedPicture small = imaging::loadPictureReduced(path, probe, 40);
    EXPECT_FALSE(small.tooLarge);
    EXPECT_EQ(small.image.size(), QSize(4096, 2050));
    EXPECT_EQ(small.image.format(), imaging::kPictureFormat);
    EXPECT_EQ(small.image.pixel(2000, 1000), qRgb(128, 128, 128));

    const imaging::LoadedPicture full = imaging::loadPictureReduced(path, probe, 1.5);
    EXPECT_TRUE(full.tooLarge);
    EXPECT_TRUE(full.image.isNull());
    EXPECT_EQ(full.decodedSize, QSize(32768, 16400));
    EXPECT_TRUE(imaging::loadPicture(path).isNull());
}

TEST(ColorMatrixFilter, WeightsOffsetsAndOpacity)
{
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(100, 50, 200, 255));
    ColorMatrix cm = ColorMatrix::identity();
    cm.m[0][0] = 2;       // red doubled
    cm.m[4][1] = 0.1f;    // green + 25.5
    cm.m[3][3] = 0.8f;    // opacity 80 %
    imaging::applyColorMatrix(img, cm);
    const QRgb p = img.pixel(0, 0);
    EXPECT_EQ(qRed(p), 200);
    EXPECT_EQ(qGreen(p), 76);  // 50 + 25.5, rounded
    EXPECT_EQ(qBlue(p), 200);
    EXPECT_EQ(qAlpha(p), 204);
}

TEST(Resample, RegionIsClippedToThePicture)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::red);
    for (int y = 0; y < 10; ++y)
        img.setPixel(9, y, qRgb(0, 0, 255));
    EXPECT_EQ(imaging::resampleRegion(img, QRectF(9, 0, 1, 10), QSize(3, 3)).pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(imaging::resampleRegion(img, QRectF(-5, -5, 8, 8), QSize(3, 3)).size(), QSize(3, 3));
    EXPECT_TRUE(imaging::resampleRegion(img, QRectF(20, 20, 5, 5), QSize(3, 3)).isNull());
}

// A region is resampled from the picture's own memory, not a copy: it must
// give exactly what a copy of the region gives, and outlive the picture.
TEST(Resample, RegionsGiveWhatACopyOfThemGives)
{
    QImage img(37, 23, imaging::kPictureFormat);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qPremultiply(qRgba(x * 7 % 256, y * 11 % 256, (x * y) % 256, 128 + (x + y) % 128)));
    struct Case { QRect region; QSize size; } cases[] = {
        {{0, 0, 37, 23}, {9, 5}}, {{5, 3, 20, 12}, {7, 4}}, {{11, 7, 8, 8}, {8, 8}}, {{0, 0, 20, 23}, {20, 23}},
    };
    for (const Case& c : cases) {
        QImage source = img.copy();
        const QImage out = imaging::resampleRegion(source, QRectF(c.region), c.size);
        const QImage part = img.copy(c.region);
        const QImage expected = c.region.size() == c.size ? part : imaging::resampleRegion(part, QRectF(part.rect()), c.size);
        source = QImage();
        EXPECT_EQ(out, expected) << c.region.x() << "," << c.region.y();
    }
}

// Reductions by any factor keep what the eye sees: flat stays flat, detail
// finer than the target's pixels becomes its average instead of beating into
// stripes (moire), coarse detail keeps its contrast, and no premultiplied
// colour outgrows its alpha at the filter's overshoot.
TEST(Resample, LanczosReductionsWithoutAliasing)
{
    struct Case {
        const char* name;
        QSize from, to;
        std::function<QRgb(int, int)> pixel;
        int minSpread, maxSpread;  // of the red channel over the result's middle
        int meanRed;               // -1: not checked
    };
    const Case cases[] = {
        {"flat", {300, 200}, {97, 61}, [](int, int) { return qRgb(90, 140, 200); }, 0, 0, 90},
        // One-pixel stripes, 2.7x smaller: a box filter leaves beats of
        // +-60 levels; the filter leaves the mean grey within a few levels.
        {"fine stripes", {270, 90}, {100, 33}, [](int x, int) { return x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }, 0, 8, 128},
        // Stripes 20 pixels wide, 2x smaller: they stay black and white.
        {"coarse stripes", {400, 40}, {200, 20}, [](int x, int) { return (x / 20) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }, 250, 255, -1},
    };
    for (const Case& c : cases) {
        QImage img(c.from, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, c.pixel(x, y));
        const QImage out = imaging::resampleRegion(img, QRectF(img.rect()), c.to);
        ASSERT_EQ(out.size(), c.to) << c.name;
        int lo = 255, hi = 0;
        long sum = 0, n = 0;
        for (int y = 3; y < out.height() - 3; ++y)
            for (int x = 3; x < out.width() - 3; ++x) {
                const int r = qRed(out.pixel(x, y));
                lo = std::min(lo, r);
                hi = std::max(hi, r);
                sum += r;
                ++n;
            }
        EXPECT_GE(hi - lo, c.minSpread) << c.name;
        EXPECT_LE(hi - lo, c.maxSpread) << c.name;
        if (c.meanRed >= 0) {
            EXPECT_NEAR(double(sum) / n, c.meanRed, 3) << c.name;
        }
    }

    QImage edge(60, 60, QImage::Format_ARGB32_Premultiplied);
    edge.fill(Qt::transparent);
    for (int y = 0; y < 60; ++y)
        for (int x = 30; x < 60; ++x)
            edge.setPixel(x, y, qPremultiply(qRgba(255, 255, 255, 200)));
    const QImage out = imaging::resampleRegion(edge, QRectF(edge.rect()), QSize(23, 23));
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            ASSERT_LE(qRed(p), qAlpha(p)) << x << "," << y;
        }
}

TEST(TextPainter, PointSizesGiveFixedPixels)
{
    struct Case { int points; int pixels; };
    const Case cases[] = {{9, 12}, {12, 16}, {24, 32}, {0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(imaging::makeFont({"Arial", c.points, false, false, false}).pixelSize(), c.pixels);
    const QFont f = imaging::makeFont({"Arial", 12, false, false, false});
    EXPECT_GT(imaging::measureText("WWWW", f).width(), imaging::measureText("iiii", f).width());
}

#include "platform/imaging/DecodeMemory.h"

// A worker decoding picture after picture writes into the memory it kept from
// the last one, never into memory a picture still in use holds.
TEST(DecodeMemory, AWorkerDecodesIntoTheMemoryItKeeps)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    for (const char* ext : {"jpg", "png"}) {
        const QString a = dir.filePath(QStringLiteral("a.%1").arg(ext)), b = dir.filePath(QStringLiteral("b.%1").arg(ext));
        // Gradients: a file of many colours, decoded as 32-bit pixels.
        ASSERT_EQ(runTool({"convert", "-size", "640x480", "gradient:#c03020-#2040d0", "-depth", "8", a.toStdString()}).exitCode, 0);
        ASSERT_EQ(runTool({"convert", "-size", "640x480", "gradient:#2040d0-#c03020", "-depth", "8", b.toStdString()}).exitCode, 0);
        const imaging::PictureProbe probe = imaging::probePicture(a);
        imaging::keepDecodeMemory(int64_t(64) << 20);
        const uchar* first = nullptr;
        {
            const QImage pa = imaging::loadPictureReduced(a, probe, 1).image;
            ASSERT_EQ(pa.format(), imaging::kPictureFormat) << ext;
            first = pa.constBits();
            const QImage pb = imaging::loadPictureReduced(b, probe, 1).image;
            EXPECT_NE(pb.constBits(), first) << ext << ": the first picture is still in use";
            EXPECT_NEAR(qRed(pa.pixel(10, 10)), 0xc0, 8) << ext;
            EXPECT_NEAR(qBlue(pb.pixel(10, 10)), 0xd0, 8) << ext;
        }
        const QImage again = imaging::loadPictureReduced(b, probe, 1).image;
        EXPECT_EQ(again.constBits(), first) << ext << ": decoded into the memory kept";
        EXPECT_EQ(again.format(), imaging::kPictureFormat) << ext;
        EXPECT_NEAR(qRed(again.pixel(639, 479)), 0xc0, 8) << ext;
        imaging::keepDecodeMemory(0);
    }
}
