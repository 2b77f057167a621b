#include <gtest/gtest.h>

#include "mainwindow/MainWindowLayout.h"

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

TEST(MainWindowLayout, NormalWindowEndsThePreviewWithTheStepRow)
{
    const LayoutResult r = layoutMainWindow(design(), {15000, 10500, WindowShape::Normal, true, true});
    const MainLayout& l = r.layout;
    EXPECT_FALSE(l.niceContainr6Visible);
    EXPECT_FALSE(l.webVisible);
    EXPECT_FALSE(r.navigateNews);
    EXPECT_TRUE(l.lblNewVisible);
    EXPECT_EQ(l.frame2.right(), l.niceContainr5.right());
    EXPECT_EQ(l.frame1.height, 10500 - 2640 - 300 - 1000);
    EXPECT_EQ(l.frame2.height, l.frame1.height);
    EXPECT_EQ(l.lInfo.top, 10500 - 300 - 900);
    EXPECT_EQ(l.lblNew.top, l.lInfo.top);
    EXPECT_EQ(l.lblNew.right(), l.frame2.right());
    EXPECT_EQ(l.lInfo.width, 15000 - 2400 - 180);
    EXPECT_EQ(l.lstFile.height, l.frame1.height - 1350 - 300);
    EXPECT_EQ(l.picSmall.top, l.lstFile.height + 240);
    EXPECT_EQ(l.picImg.height, l.lstFile.height + 1350 + 90);
    EXPECT_EQ(l.picImg.width, l.frame2.width - 200);
    EXPECT_EQ(l.frame3.top, -90);
    EXPECT_EQ(l.frame4.top, -90);
    EXPECT_EQ(l.frame3.left, l.picImg.width - 960 - 15);
    EXPECT_EQ(l.frame3.height, l.picImg.height + 65);
    EXPECT_EQ(l.frame4.left, (l.picImg.width - 5400) / 2);
    EXPECT_EQ(l.txtPicTxt, (TwipRect{200, l.picImg.height - 600, l.picImg.width - 400, 360}));
    EXPECT_EQ(l.frmTZ.left, (l.picImg.width - 3600) / 2);
    EXPECT_EQ(l.frmTZ.top, 600 + 30);
}

TEST(MainWindowLayout, MaximisedShowsTheExtraContainerAndTheNewsOnlyWhenWanted)
{
    struct Case {
        bool showToday, listEmpty, news;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Case& c : cases) {
        const LayoutResult r = layoutMainWindow(design(), {24000, 14000, WindowShape::Maximised, c.showToday, c.listEmpty});
        EXPECT_TRUE(r.layout.niceContainr6Visible);
        EXPECT_EQ(r.layout.niceContainr6.width, 24000 - 14340 - 150);
        EXPECT_EQ(r.layout.niceContainr6.right(), 24000 - 150);
        EXPECT_EQ(r.layout.frame2.right(), r.layout.niceContainr6.right());
        EXPECT_EQ(r.navigateNews, c.news);
        EXPECT_EQ(r.layout.webVisible, c.news);
        EXPECT_EQ(r.layout.lblNewVisible, c.showToday);
    }
}

TEST(MainWindowLayout, RestoringHidesTheExtraContainerAgain)
{
    const MainLayout maximised = layoutMainWindow(design(), {24000, 14000, WindowShape::Maximised, true, true}).layout;
    const MainLayout normal = layoutMainWindow(maximised, {15000, 10500, WindowShape::Normal, true, true}).layout;
    EXPECT_FALSE(normal.niceContainr6Visible);
    EXPECT_FALSE(normal.webVisible);
    EXPECT_EQ(normal.frame2.right(), normal.niceContainr5.right());
}

TEST(MainWindowLayout, GrowingTheWindowGrowsListAndPreviewByTheSameHeight)
{
    const MainLayout small = layoutMainWindow(design(), {15000, 10500, WindowShape::Normal, false, true}).layout;
    const MainLayout tall = layoutMainWindow(small, {15000, 12000, WindowShape::Normal, false, true}).layout;
    for (auto member : {&MainLayout::frame1, &MainLayout::frame2, &MainLayout::lstFile, &MainLayout::picImg})
        EXPECT_EQ((tall.*member).height - (small.*member).height, 1500);
    EXPECT_EQ(tall.picSmall.top - small.picSmall.top, 1500);
    EXPECT_EQ(tall.lInfo.top + tall.lInfo.height, 12000 - 900);
}

TEST(MainWindowLayout, NegativeSizesAreNotApplied)
{
    // A minimised window reports a tiny size: heights would go negative.
    const MainLayout before = design();
    const MainLayout l = layoutMainWindow(before, {2000, 600, WindowShape::Minimised, false, true}).layout;
    EXPECT_EQ(l.frame1.height, before.frame1.height);
    EXPECT_EQ(l.lInfo.width, before.lInfo.width);
    EXPECT_GE(l.lstFile.height, 0);
    EXPECT_GE(l.picImg.height, 0);
    EXPECT_EQ(l.lInfo.top, 600 - 300 - 900);  // a position may be negative
}

} // namespace
