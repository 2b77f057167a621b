#include <QStringList>
#include <gtest/gtest.h>

#include "viewer/CaptureFileName.h"
#include "viewer/ScreenGrabLayout.h"

using namespace screengrab;

TEST(ScreenGrabLayout, DimmedCopyAndsEveryPixelWithTheMask)
{
    struct Case {
        QRgb screen, dimmed;
    };
    const Case cases[] = {
        {qRgb(255, 128, 64), qRgb(192, 128, 64)},
        {qRgb(255, 255, 255), qRgb(192, 192, 255)},
        {qRgb(63, 127, 200), qRgb(0, 64, 200)},
        {qRgb(0, 0, 0), qRgb(0, 0, 0)},
        {qRgb(193, 65, 1), qRgb(192, 64, 1)},
    };
    QImage screen(int(std::size(cases)), 2, QImage::Format_RGB32);
    for (int x = 0; x < screen.width(); ++x)
        for (int y = 0; y < 2; ++y)
            screen.setPixel(x, y, cases[x].screen);
    const QImage out = dimmed(screen);
    ASSERT_EQ(out.size(), screen.size());
    for (int x = 0; x < out.width(); ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(out.pixel(x, y), cases[x].dimmed) << x << "," << y;
}

TEST(ScreenGrabLayout, ToolbarBelowTheFrameOrInsideNearTheBottom)
{
    struct Case {
        const char* what;
        QRectF frame;
        QPointF expected;
    };
    const QSizeF bar(205, 26);
    const double screen = 768;
    const Case cases[] = {
        {"below, right edges aligned", {100, 100, 320, 240}, {215, 344}},
        {"a plain click: right edge at the click, 4 below", {500, 300, 0, 0}, {295, 304}},
        {"exactly fits below", {100, 400, 320, 338}, {215, 742}},
        {"one pixel too low: inside the bottom", {100, 400, 320, 339}, {215, 739 - 30}},
        {"at the screen's bottom: inside", {300, 600, 400, 168}, {495, 768 - 26 - 4}},
        {"narrower than the bar at the left edge: held at 0", {0, 10, 50, 50}, {0, 64}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toolbarPlace(c.frame, bar, screen), c.expected) << c.what;
}

TEST(ScreenGrabLayout, WhichPressGrabsTheSelection)
{
    struct Case {
        QPointF point;
        bool grabs;
    };
    const QRectF frame(10, 20, 30, 40);  // right 40, bottom 60
    const Case cases[] = {
        {{10, 20}, true},   {{39, 59}, true},   {{40, 30}, false}, {{20, 60}, false},
        {{9.6, 19.6}, true}, {{9.4, 30}, false}, {{39.4, 30}, true}, {{39.6, 30}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grabsSelection(frame, c.point), c.grabs) << c.point.x() << "," << c.point.y();
    EXPECT_FALSE(grabsSelection(QRectF(10, 20, 0, 0), {10, 20})) << "an empty selection holds no point";
}

TEST(ScreenGrabLayout, PhotoRegionInDevicePixels)
{
    struct Case {
        const char* what;
        QRectF frame;
        double ratio;
        QRect expected;
    };
    const QSize photo(2048, 1536);
    const Case cases[] = {
        {"one to one", {100, 50, 320, 240}, 1, {100, 50, 320, 240}},
        {"twice as many device pixels", {100, 50, 320, 240}, 2, {200, 100, 640, 480}},
        {"one and a half, rounded", {11, 11, 11, 11}, 1.5, {17, 17, 16, 16}},
        {"held to the photograph", {1000, 700, 100, 100}, 2, {2000, 1400, 48, 136}},
        {"nothing framed", {100, 50, 0, 240}, 1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(photoRegion(c.frame, c.ratio, photo), c.expected) << c.what;
    EXPECT_EQ(sizeCaption({320, 240}), "320x240");
}

TEST(CaptureFileName, WebcamStillsRepeatMonthlyAndAreNumbered)
{
    const QDateTime when(QDate(2026, 12, 9), QTime(15, 30, 45));
    QStringList existing;
    const auto taken = [&](const QString& p) { return existing.contains(p); };
    EXPECT_EQ(stampedFileName("/u", "Cap", when, "ddHHmmss", ".bmp", taken), "/u/Cap09153045.bmp");
    // A month later the same name comes round again: the earlier still stays.
    existing << "/u/Cap09153045.bmp";
    EXPECT_EQ(stampedFileName("/u", "Cap", when.addMonths(1), "ddHHmmss", ".bmp", taken), "/u/Cap09153045_1.bmp");
    EXPECT_EQ(stampedFileName("/u", "Cap", QDateTime(QDate(2026, 1, 1), QTime(0, 0, 5)), "ddHHmmss", ".bmp", taken),
              "/u/Cap01000005.bmp");
}
