#include <gtest/gtest.h>

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
    const Case cases[] = {{1.0, {1600, 1200}}, {1.9, {1600, 1200}}, {2.0, {800, 600}},
                          {7.9, {400, 300}}, {8.0, {200, 150}}, {100.0, {200, 150}}};
    for (const Case& c : cases)
        EXPECT_EQ(imaging::loadPictureReduced(jpg, probe, c.shrink).size(), c.size) << c.shrink;

    EXPECT_FALSE(imaging::probePicture(dir.filePath("none.png")).ok());
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

TEST(TextPainter, PointSizesGiveFixedPixels)
{
    struct Case { int points; int pixels; };
    const Case cases[] = {{9, 12}, {12, 16}, {24, 32}, {0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(imaging::makeFont({"Arial", c.points, false, false, false}).pixelSize(), c.pixels);
    const QFont f = imaging::makeFont({"Arial", 12, false, false, false});
    EXPECT_GT(imaging::measureText("WWWW", f).width(), imaging::measureText("iiii", f).width());
}
