#include <gtest/gtest.h>

#include <ostream>

#include "mainwindow/MainWindowLayout.h"

void PrintTo(const TwipRect& r, std::ostream* os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

// A window as designed, in twips.
MainLayout design()
{
    MainLayout l;
    l.niceContainr5 = {11550, 60, 2790, 2520};
    l.niceContainr6 = {14340, 60, 1500, 2520};
    l.frame1 = {60, 2640, 3000, 6300};
    l.frame2 = {3120, 2640, 11220, 6300};
    l.lstFile = {90, 300, 2820, 4350};
    l.picSmall = {750, 4800, 1500, 1350};
    l.picImg = {90, 300, 11040, 5910};
    l.frame3 = {10080, -90, 960, 5970};
    l.frame4 = {2820, -90, 5400, 600};
    l.txtPicTxt = {195, 5310, 10650, 360};
    l.frmTZ = {3720, 540, 3600, 960};
    l.lInfo = {60, 9240, 11700, 300};
    l.lblNew = {11940, 9240, 2400, 300};
    return l;
}

// The expected geometry below is worked out by hand from the design above.

TEST(MainWindowLayout, NormalWindowEndsThePreviewWithTheStepRow)
{
    const LayoutResult r = layoutMainWindow(design(), {15000, 10500, WindowShape::Normal, true, true});
    const MainLayout& l = r.layout;
    EXPECT_FALSE(l.niceContainr6Visible);
    EXPECT_FALSE(l.webVisible);
    EXPECT_FALSE(r.navigateNews);
    EXPECT_TRUE(l.lblNewVisible);
    EXPECT_EQ(l.niceContainr5, (TwipRect{11550, 60, 2790, 2520}));
    EXPECT_EQ(l.niceContainr6, (TwipRect{14340, 60, 1500, 2520}));
    EXPECT_EQ(l.frame1, (TwipRect{60, 2640, 3000, 6560}));
    EXPECT_EQ(l.frame2, (TwipRect{3120, 2640, 11220, 6560}));
    EXPECT_EQ(l.lInfo, (TwipRect{60, 9300, 12420, 300}));
    EXPECT_EQ(l.lblNew, (TwipRect{11940, 9300, 2400, 300}));
    EXPECT_EQ(l.lstFile, (TwipRect{90, 300, 2820, 4910}));
    EXPECT_EQ(l.picSmall, (TwipRect{750, 5150, 1500, 1350}));
    EXPECT_EQ(l.picImg, (TwipRect{90, 300, 11020, 6350}));
    EXPECT_EQ(l.frame3, (TwipRect{10045, -90, 960, 6415}));
    EXPECT_EQ(l.frame4, (TwipRect{2810, -90, 5400, 600}));
    EXPECT_EQ(l.txtPicTxt, (TwipRect{200, 5750, 10620, 360}));
    EXPECT_EQ(l.frmTZ, (TwipRect{3710, 630, 3600, 960}));
}

TEST(MainWindowLayout, MaximisedShowsTheExtraContainerAndTheNewsOnlyWhenWanted)
{
    struct Case {
        bool showToday, listEmpty, news;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Case& c : cases) {
        const LayoutResult r = layoutMainWindow(design(), {24000, 14000, WindowShape::Maximised, c.showToday, c.listEmpty});
        const MainLayout& l = r.layout;
        EXPECT_TRUE(l.niceContainr6Visible);
        EXPECT_EQ(r.navigateNews, c.news);
        EXPECT_EQ(l.webVisible, c.news);
        EXPECT_EQ(l.lblNewVisible, c.showToday);
        // The extra container ends 150 twips short of the window's right edge
        // (23850), and the preview frame ends with it.
        EXPECT_EQ(l.niceContainr6, (TwipRect{14340, 60, 9510, 2520}));
        EXPECT_EQ(l.frame1, (TwipRect{60, 2640, 3000, 10060}));
        EXPECT_EQ(l.frame2, (TwipRect{3120, 2640, 20730, 10060}));
        EXPECT_EQ(l.lInfo, (TwipRect{60, 12800, 21420, 300}));
        EXPECT_EQ(l.lblNew, (TwipRect{21450, 12800, 2400, 300}));
        EXPECT_EQ(l.lstFile, (TwipRect{90, 300, 2820, 8410}));
        EXPECT_EQ(l.picSmall, (TwipRect{750, 8650, 1500, 1350}));
        EXPECT_EQ(l.picImg, (TwipRect{90, 300, 20530, 9850}));
        EXPECT_EQ(l.frame3, (TwipRect{19555, -90, 960, 9915}));
        EXPECT_EQ(l.frame4, (TwipRect{7565, -90, 5400, 600}));
        EXPECT_EQ(l.txtPicTxt, (TwipRect{200, 9250, 20130, 360}));
        EXPECT_EQ(l.frmTZ, (TwipRect{8465, 630, 3600, 960}));
    }
}

TEST(MainWindowLayout, RestoringHidesTheExtraContainerAgain)
{
    const MainLayout maximised = layoutMainWindow(design(), {24000, 14000, WindowShape::Maximised, true, true}).layout;
    const MainLayout normal = layoutMainWindow(maximised, {15000, 10500, WindowShape::Normal, true, true}).layout;
    EXPECT_FALSE(normal.niceContainr6Visible);
    EXPECT_FALSE(normal.webVisible);
    EXPECT_EQ(normal.frame2, (TwipRect{3120, 2640, 11220, 6560}));
    EXPECT_EQ(normal.picImg, (TwipRect{90, 300, 11020, 6350}));
    EXPECT_EQ(normal.lblNew, (TwipRect{11940, 9300, 2400, 300}));
}

TEST(MainWindowLayout, GrowingTheWindowGrowsListAndPreviewByTheSameHeight)
{
    const MainLayout small = layoutMainWindow(design(), {15000, 10500, WindowShape::Normal, false, true}).layout;
    const MainLayout tall = layoutMainWindow(small, {15000, 12000, WindowShape::Normal, false, true}).layout;
    for (auto member : {&MainLayout::frame1, &MainLayout::frame2, &MainLayout::lstFile, &MainLayout::picImg})
        EXPECT_EQ((tall.*member).height - (small.*member).height, 1500);
    EXPECT_EQ(tall.frame1.height, 8060);
    EXPECT_EQ(tall.lstFile.height, 6410);
    EXPECT_EQ(tall.picImg.height, 7850);
    EXPECT_EQ(tall.picSmall.top, 6650);
    EXPECT_EQ(tall.lInfo.top, 10800);  // 900 twips above the outer bottom edge
    EXPECT_FALSE(tall.lblNewVisible);
}

TEST(MainWindowLayout, NegativeSizesAreNotApplied)
{
    // A minimised window reports a tiny size: the container's width, the frames'
    // heights and the status line's width would go negative and keep their
    // values; the rules that follow still run on what is there.
    const LayoutResult r = layoutMainWindow(design(), {2000, 600, WindowShape::Minimised, false, true});
    const MainLayout& l = r.layout;
    EXPECT_TRUE(l.niceContainr6Visible);
    EXPECT_FALSE(l.webVisible);
    EXPECT_FALSE(r.navigateNews);
    EXPECT_EQ(l.niceContainr6, (TwipRect{14340, 60, 1500, 2520}));
    EXPECT_EQ(l.frame1, (TwipRect{60, 2640, 3000, 6300}));
    EXPECT_EQ(l.frame2, (TwipRect{3120, 2640, 12720, 6300}));
    EXPECT_EQ(l.lInfo, (TwipRect{60, -600, 11700, 300}));  // a position may be negative
    EXPECT_EQ(l.lblNew, (TwipRect{13440, -600, 2400, 300}));
    EXPECT_EQ(l.lstFile, (TwipRect{90, 300, 2820, 4650}));
    EXPECT_EQ(l.picSmall, (TwipRect{750, 4890, 1500, 1350}));
    EXPECT_EQ(l.picImg, (TwipRect{90, 300, 12520, 6090}));
}

} // namespace
