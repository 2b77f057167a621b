#include <gtest/gtest.h>

#include "viewer/CaptureFileName.h"
#include "viewer/SlideShow.h"
#include "viewer/ViewBackColor.h"
#include "viewer/ViewerLayout.h"
#include "viewer/WallpaperFile.h"

using namespace viewerlayout;

TEST(ViewerLayout, FitToScreen)
{
    struct Case {
        const char* what;
        QSizeF picture, screen;
        QRectF expected;
        bool fitted;
    };
    const QSizeF twipsScreen(15360, 11520);
    const Case cases[] = {
        {"wide, twips", {20000, 10000}, twipsScreen, {0, 1920, 15360, 7680}, true},
        {"tall, twips", {6000, 20000}, twipsScreen, {5952, 0, 3456, 11520}, true},
        {"smaller, twips: centred at its own size", {3000, 2000}, twipsScreen, {6180, 4760, 3000, 2000}, false},
        {"2000 x 1000 on 1024 x 768", {2000, 1000}, {1024, 768}, {0, 128, 1024, 512}, true},
        {"200 x 134 on 1024 x 768", {200, 134}, {1024, 768}, {412, 317, 200, 134}, false},
        {"exactly as wide as the screen: not scaled", {1024, 300}, {1024, 768}, {0, 234, 1024, 300}, false},
        {"exactly the screen: not scaled", {1024, 768}, {1024, 768}, {0, 0, 1024, 768}, false},
        {"same proportion, larger: the width rule", {2048, 1536}, {1024, 768}, {0, 0, 1024, 768}, true},
        {"a picture without area is not divided by", {0, 0}, {1024, 768}, {512, 384, 0, 0}, false},
    };
    for (const Case& c : cases) {
        const Fit f = fitToScreen(c.picture, c.screen);
        EXPECT_EQ(f.rect, c.expected) << c.what;
        EXPECT_EQ(f.fitted, c.fitted) << c.what;
    }
}

TEST(ViewerLayout, NaturalPlacement)
{
    struct Case {
        const char* what;
        QSizeF picture;
        QPointF expected;
    };
    const Case cases[] = {
        {"smaller: centred", {200, 134}, {412, 317}},
        {"taller than the screen, narrower: top 0, centred across", {400, 2000}, {312, 0}},
        {"larger both ways: top-left corner", {3000, 2000}, {0, 0}},
        {"wider only", {3000, 100}, {0, 334}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(naturalPlacement(c.picture, {1024, 768}), c.expected) << c.what;
}

TEST(ViewerLayout, ThumbnailCells)
{
    struct Case {
        const char* what;
        int index, screenTwips;
        QRect expected;
    };
    const Case cases[] = {
        {"first", 0, 15360, {35, 30, 1875, 1530}},
        {"second", 1, 15360, {1945, 30, 1875, 1530}},
        {"third", 2, 15360, {3855, 30, 1875, 1530}},
        {"eighth ends the row", 7, 15360, {13405, 30, 1875, 1530}},
        {"ninth starts the second row", 8, 15360, {35, 1590, 1875, 1530}},
        {"last of the page", 55, 15360, {13405, 30 + 6 * 1560, 1875, 1530}},
        {"wider screen: still eight to a row", 8, 30000, {35, 1590, 1875, 1530}},
        {"800 px screen: six fit, no overlap", 6, 12000, {35, 1590, 1875, 1530}},
        {"screen narrower than a cell: one to a row", 1, 1000, {35, 1590, 1875, 1530}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(thumbnailCellTwips(c.index, c.screenTwips), c.expected) << c.what;
    EXPECT_EQ(thumbnailCell(1, 15360), QRect(130, 2, 125, 102));
}

TEST(ViewerLayout, ThumbPaging)
{
    struct Case {
        const char* what;
        int page, count;
        int first, last;
        bool previous, next;
    };
    const Case cases[] = {
        {"empty list", 0, 0, 0, -1, false, false},
        {"3 entries", 0, 3, 0, 2, false, false},
        {"56 entries: one full page", 0, 56, 0, 55, false, false},
        {"57 entries, first page", 0, 57, 0, 55, false, true},
        {"60 entries, first page", 0, 60, 0, 55, false, true},
        {"60 entries, second page", 1, 60, 56, 59, true, false},
        {"112 entries, second page is full and last", 1, 112, 56, 111, true, false},
        {"200 entries, middle page", 2, 200, 112, 167, true, true},
    };
    for (const Case& c : cases) {
        const ThumbPage p = thumbPage(c.page, c.count);
        EXPECT_EQ(p.first, c.first) << c.what;
        EXPECT_EQ(p.last, c.last) << c.what;
        EXPECT_EQ(p.previous, c.previous) << c.what;
        EXPECT_EQ(p.next, c.next) << c.what;
    }
    EXPECT_EQ(lastPage(0), 0);
    EXPECT_EQ(lastPage(56), 0);
    EXPECT_EQ(lastPage(57), 1);
}

TEST(ViewerLayout, ToolbarAndBoxPlaces)
{
    const QSizeF screen(1024, 768), bar(236, 26);
    struct Case {
        const char* what;
        QRectF selection;
        QPointF expected;
    };
    const Case cases[] = {
        {"right-aligned, 8 below", {300, 200, 400, 100}, {464, 308}},
        {"no room below: above the selection", {300, 700, 400, 60}, {464, 666}},
        {"selection over the whole screen: inside at the bottom", {0, 0, 1024, 768}, {788, 742}},
        {"narrow selection at the left: held on screen", {0, 100, 50, 50}, {0, 158}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toolbarPlace(c.selection, bar, screen), c.expected) << c.what;

    const QSizeF box(362, 52);
    EXPECT_EQ(confirmBoxPlace(box, {0, 128, 1024, 512}, screen), QPointF(331, 640 + twips(100)));
    // A picture reaching the bottom: the box stays 200 twips above it.
    EXPECT_EQ(confirmBoxPlace(box, {0, 0, 1024, 768}, screen), QPointF(331, 768 - 52 - twips(200)));
}

TEST(ViewerLayout, CropRegionIsExactlyTheFramedPart)
{
    struct Case {
        const char* what;
        QRectF selection, shown;
        QSize real;
        QRect expected;
    };
    const Case cases[] = {
        {"half size (r = 2): 100 x 50 from 10 inside", {10, 10, 100, 50}, {0, 0, 1024, 768}, {2048, 1536},
         {20, 20, 200, 100}},
        {"picture centred lower on the screen", {110, 138, 100, 50}, {0, 128, 1024, 512}, {2000, 1000},
         {215, 20, 195, 97}},
        {"natural size: one to one", {420, 320, 30, 20}, {412, 317, 200, 134}, {200, 134}, {8, 3, 30, 20}},
        {"the whole picture", {0, 0, 1024, 768}, {0, 0, 1024, 768}, {2048, 1536}, {0, 0, 2048, 1536}},
        {"held to the picture", {-5, -5, 2000, 2000}, {0, 0, 1024, 768}, {2048, 1536}, {0, 0, 2048, 1536}},
        {"no area", {10, 10, 0, 40}, {0, 0, 1024, 768}, {2048, 1536}, {20, 20, 0, 80}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cropRegion(c.selection, c.shown, c.real), c.expected) << c.what;
}

TEST(SlideShow, IntervalAnswers)
{
    struct Case {
        const char* answer;
        std::optional<int> seconds;
    };
    const Case cases[] = {
        {"2", 2},         {"2.7", 2},     {" 5 ", 5},     {"40", 40},        {"1", 1},
        {"0", {}},        {"0.9", {}},    {"-5", {}},     {"abc", {}},       {"", {}},
        {"32767", 32767}, {"32768", {}}, {"1e9", {}},    {"nan", {}},       {"inf", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(slideshow::parseSeconds(QString::fromUtf8(c.answer)), c.seconds) << c.answer;
    // Past 32 seconds the milliseconds still fit.
    EXPECT_EQ(slideshow::intervalMs(40), 40000);
    EXPECT_EQ(slideshow::intervalMs(32767), 32767000);
    EXPECT_EQ(slideshow::intervalMs(0), 1000);
}

TEST(SlideShow, TicksStepThroughTheListAndWrap)
{
    EXPECT_EQ(slideshow::entryForTick(0, 3), 0);
    EXPECT_EQ(slideshow::entryForTick(4, 3), 1);
    EXPECT_EQ(slideshow::entryForTick(32767, 3), 1);
    EXPECT_EQ(slideshow::entryForTick(32768, 3), 2);  // no sticking at a 16-bit maximum
    EXPECT_EQ(slideshow::entryForTick(UINT32_MAX, 3), 0);
    EXPECT_EQ(slideshow::entryForTick(5, 0), -1);
    const uint32_t first = slideshow::takeTick();
    EXPECT_EQ(slideshow::takeTick(), first + 1);
}

TEST(ViewBackColor, TableAndDamagedSettings)
{
    const QColor expected[] = {QColor(0, 0, 0),   QColor(255, 255, 255), QColor(125, 125, 125), QColor(255, 0, 0),
                               QColor(0, 0, 255), QColor(0, 255, 0),     QColor(255, 255, 0)};
    for (int i = 0; i < viewbackcolor::kCount; ++i)
        EXPECT_EQ(viewbackcolor::colour(i), expected[i]) << i;
    EXPECT_EQ(viewbackcolor::caption(3), QStringLiteral("红色"));
    struct Case {
        const char* text;
        int index;
    };
    const Case cases[] = {{"3", 3}, {"6", 6}, {"7", 0}, {"-1", 0}, {"99999", 0}, {"red", 0}, {"", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(viewbackcolor::fromSetting(QString::fromUtf8(c.text)), c.index) << c.text;
    EXPECT_EQ(viewbackcolor::colour(12), QColor(0, 0, 0));
}

TEST(CaptureFileName, TimeStampedWithNumbersOnCollision)
{
    const QDateTime when(QDate(2026, 12, 9), QTime(7, 22, 21));
    QStringList existing;
    const auto taken = [&](const QString& p) { return existing.contains(p); };
    EXPECT_EQ(captureFileName("/u", "user", when, ".bmp", taken), "/u/user20261209072221.bmp");
    existing << "/u/user20261209072221.bmp";
    EXPECT_EQ(captureFileName("/u", "user", when, ".bmp", taken), "/u/user20261209072221_1.bmp");
    existing << "/u/user20261209072221_1.bmp";
    EXPECT_EQ(captureFileName("/u", "user", when, ".bmp", taken), "/u/user20261209072221_2.bmp");
}

TEST(WallpaperFile, WhichFileTheDesktopGets)
{
    struct Case {
        const char* what;
        int source;
        const char* picFile;
        const char* path;
        bool copy;
    };
    const Case cases[] = {
        {"a bitmap is used itself", 0, "/p/a.bmp", "/p/a.bmp", false},
        {"a JPEG is copied", 0, "/p/a.jpg", "/d/SWPIC.bmp", true},
        {"an upper-case suffix is copied", 0, "/p/a.BMP", "/d/SWPIC.bmp", true},
        {"the processed preview is copied: its work file goes away", 1, "/p/a.bmp", "/d/SWPIC.bmp", true},
    };
    for (const Case& c : cases) {
        const WallpaperFile f = chooseWallpaperFile(c.source, QString::fromUtf8(c.picFile), "/d/SWPIC.bmp");
        EXPECT_EQ(f.path, QString::fromUtf8(c.path)) << c.what;
        EXPECT_EQ(f.writeCopy, c.copy) << c.what;
    }
    EXPECT_TRUE(wallpaperCopyPath().endsWith("/Vimo/SWPIC.bmp"));
}
