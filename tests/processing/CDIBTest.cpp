#include <gtest/gtest.h>

#include "processing/CDIB.h"

TEST(CDIB, StrideAndSizeFollowTheWidth)
{
    struct Case { int w, h; size_t stride, size; };
    const Case cases[] = {{5, 2, 16, 32}, {4, 1, 12, 12}, {1, 1, 4, 4}, {3, 3, 12, 36}, {7, 2, 24, 48}};
    for (const Case& c : cases) {
        CDIB d;
        d.Create(c.w, c.h);
        std::span<uint8_t> view;
        EXPECT_EQ(d.MapArray(view), int32_t(c.stride)) << c.w;
        EXPECT_EQ(d.RGBSize(), c.size) << c.w;
        EXPECT_EQ(view.size(), c.size);
        d.UnMapArray(view);
        EXPECT_TRUE(view.empty());
    }
}

TEST(CDIB, RowsAreBottomUpBlueGreenRed)
{
    QImage img(5, 2, QImage::Format_RGB32);
    img.fill(Qt::black);
    img.setPixel(0, 1, qRgb(10, 20, 30));  // bottom-left
    img.setPixel(4, 0, qRgb(1, 2, 3));     // top-right
    CDIB d;
    d.Clone(img, true);
    std::span<uint8_t> v;
    d.MapArray(v);
    EXPECT_EQ(v[0], 30);  // blue of the bottom-left pixel comes first
    EXPECT_EQ(v[1], 20);
    EXPECT_EQ(v[2], 10);
    EXPECT_EQ(v[16 + 12], 3);
    EXPECT_EQ(v[16 + 14], 1);
    EXPECT_EQ(d.toImage().pixel(4, 0), qRgb(1, 2, 3));
}

TEST(CDIB, OversizedOrEmptySurfaceIsRefusedWith825)
{
    const QSize sizes[] = {{100000, 100000}, {0, 10}, {-3, 4}, {INT32_MAX, 2}};
    for (QSize s : sizes) {
        CDIB d;
        try {
            d.Create(s.width(), s.height());
            FAIL() << s.width() << "x" << s.height();
        } catch (const DibError& e) {
            EXPECT_EQ(e.code(), 825);
            EXPECT_TRUE(e.description().startsWith("DIB failed to create"));
        }
        EXPECT_FALSE(d.hasPixels());
        std::span<uint8_t> v;
        EXPECT_EQ(d.MapArray(v), 0);
        EXPECT_TRUE(v.empty());
        d.InvertColors();  // a surface without pixels is left alone
    }
}

TEST(CDIB, RecreateGivesABlackSurfaceAndCloneNeedsOne)
{
    CDIB d;
    QImage white(3, 3, QImage::Format_RGB32);
    white.fill(Qt::white);
    try {
        d.Clone(white, false);
        FAIL();
    } catch (const DibError& e) {
        EXPECT_EQ(e.code(), -1);
        EXPECT_EQ(e.description(), "DIB has to be created first");
    }
    d.Clone(white, true);
    d.Create(2, 2);
    EXPECT_EQ(d.toImage().pixel(1, 1), qRgb(0, 0, 0));
    // Without FitSize the picture is stretched to the surface.
    d.Create(100, 100);
    QImage wide(200, 50, QImage::Format_RGB32);
    wide.fill(Qt::red);
    d.Clone(wide, false);
    EXPECT_EQ(d.Width(), 100);
    EXPECT_EQ(d.toImage().pixel(99, 99), qRgb(255, 0, 0));
}

TEST(CDIB, PaintZoomScalesBetweenEvenRoundedSizes)
{
    CDIB d;
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    d.Clone(img, true);
    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(Qt::black);
    d.PaintZoom(target, 0, 0, 200);
    EXPECT_EQ(target.pixel(5, 3), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(6, 3), qRgb(0, 0, 0));
    EXPECT_EQ(target.pixel(5, 4), qRgb(0, 0, 0));
}
