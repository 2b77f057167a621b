#include <gtest/gtest.h>

#include "mainwindow/preview/HoverPanels.h"
#include "mainwindow/preview/PreviewKeys.h"
#include "processing/FrameAndMarks.h"
#include "state/AppState.h"

TEST(PreviewKeys, ArrowsStepThroughTheListOutsideTheFreePosition)
{
    struct Case { int key, index, count; KeyAction::Kind kind; int to; };
    const Case cases[] = {
        {Qt::Key_Right, 0, 3, KeyAction::Select, 1}, {Qt::Key_Down, 1, 3, KeyAction::Select, 2},
        {Qt::Key_Right, 2, 3, KeyAction::Beep, -1},  {Qt::Key_Down, 2, 3, KeyAction::Beep, -1},
        {Qt::Key_Left, 2, 3, KeyAction::Select, 1},  {Qt::Key_Up, 1, 3, KeyAction::Select, 0},
        {Qt::Key_Left, 0, 3, KeyAction::Beep, -1},   {Qt::Key_Up, 0, 3, KeyAction::Beep, -1},
        {Qt::Key_Right, -1, 0, KeyAction::Beep, -1}, {Qt::Key_Left, -1, 0, KeyAction::Beep, -1},
        {Qt::Key_Return, 1, 3, KeyAction::OpenViewer, -1}, {Qt::Key_Enter, 1, 3, KeyAction::OpenViewer, -1},
        {Qt::Key_A, 1, 3, KeyAction::None, -1},
    };
    for (const Case& c : cases) {
        AppState st;
        const KeyAction a = previewKeyDown(c.key, st, {400, 300}, c.index, c.count);
        EXPECT_EQ(a.kind, c.kind) << c.key << " at " << c.index;
        EXPECT_EQ(a.index, c.to) << c.key << " at " << c.index;
    }
}

TEST(PreviewKeys, ArrowsNudgeInTheFreePosition)
{
    struct Case {
        const char* what;
        int cmbPos, chkTxt, cmbPosImg, chkImg;
        bool markIsImg, movePic;
        int key;
        double tx, ty, ix, iy;
        float xp, yp;
    };
    const double dx = 1.0 / 400, dy = 1.0 / 300;
    const Case cases[] = {
        {"text right", posFree, 1, 0, 0, false, false, Qt::Key_Right, 0.5 + dx, 0.5, 0.5, 0.5, 0, 0},
        {"text up", posFree, 1, 0, 0, false, false, Qt::Key_Up, 0.5, 0.5 - dy, 0.5, 0.5, 0, 0},
        {"picture left", 0, 0, posFree, 1, true, false, Qt::Key_Left, 0.5, 0.5, 0.5 - dx, 0.5, 0, 0},
        {"picture down", 0, 0, posFree, 1, true, false, Qt::Key_Down, 0.5, 0.5, 0.5, 0.5 + dy, 0, 0},
        {"start point right", 0, 0, 0, 0, false, true, Qt::Key_Right, 0.5, 0.5, 0.5, 0.5, 1, 0},
        {"start point up", posFree, 1, 0, 0, false, true, Qt::Key_Up, 0.5, 0.5, 0.5, 0.5, 0, -1},
        {"the free text position, picture marked", posFree, 1, 0, 0, true, false, Qt::Key_Right, 0.5, 0.5,
         0.5 + dx, 0.5, 0, 0},
    };
    for (const Case& c : cases) {
        AppState st;
        st.panel.cmbPos = c.cmbPos;
        st.panel.chkInfoTxt = c.chkTxt;
        st.panel.cmbPosImg = c.cmbPosImg;
        st.panel.chkInfoImg = c.chkImg;
        st.ps.bMarkIsImg = c.markIsImg;
        st.win.bMovePic = c.movePic;
        st.ps.iuTSyX = st.ps.iuTSyY = st.ps.iuISyX = st.ps.iuISyY = 0.5;
        EXPECT_TRUE(freePositionMode(st)) << c.what;
        const KeyAction a = previewKeyDown(c.key, st, {400, 300}, 2, 3);
        EXPECT_EQ(a.kind, KeyAction::Redraw) << c.what;
        EXPECT_DOUBLE_EQ(st.ps.iuTSyX, c.tx) << c.what;
        EXPECT_DOUBLE_EQ(st.ps.iuTSyY, c.ty) << c.what;
        EXPECT_DOUBLE_EQ(st.ps.iuISyX, c.ix) << c.what;
        EXPECT_DOUBLE_EQ(st.ps.iuISyY, c.iy) << c.what;
        EXPECT_FLOAT_EQ(st.pic.sngXp, c.xp) << c.what;
        EXPECT_FLOAT_EQ(st.pic.sngYp, c.yp) << c.what;
    }
}

TEST(PreviewKeys, FreePositionNeedsTheWatermarkOn)
{
    AppState st;
    st.panel.cmbPos = posFree;
    st.panel.cmbPosImg = posFree;
    EXPECT_FALSE(freePositionMode(st));
    EXPECT_EQ(previewKeyDown(Qt::Key_Right, st, {400, 300}, 0, 2).kind, KeyAction::Select);

    // Without a shown preview the watermark has no pixel to step by.
    st.panel.chkInfoTxt = 1;
    EXPECT_EQ(previewKeyDown(Qt::Key_Right, st, {0, 0}, 0, 2).kind, KeyAction::Redraw);
    EXPECT_DOUBLE_EQ(st.ps.iuTSyX, 0);
}

TEST(PreviewKeys, NeighbourThumbnailsStopAtTheEnds)
{
    EXPECT_EQ(previousEntry(0, 3), std::nullopt);
    EXPECT_EQ(previousEntry(2, 3), 1);
    EXPECT_EQ(nextEntry(2, 3), std::nullopt);
    EXPECT_EQ(nextEntry(0, 3), 1);
    EXPECT_EQ(nextEntry(-1, 0), std::nullopt);
}

TEST(HoverPanels, OpenNearTheirEdges)
{
    const PanelPlaces places{500, 60, QRectF(100, 0, 200, 40)};
    struct Case { QPointF image, pointer; bool right, top; };
    const Case cases[] = {
        {{0, 0}, {450, 200}, true, false},   {{0, 0}, {440, 200}, false, false},
        {{0, 0}, {150, 30}, false, true},    {{0, 0}, {100, 30}, false, false},
        {{0, 0}, {150, 40}, false, false},   {{0, 0}, {460, 10}, true, false},
        {{80, 0}, {450, 200}, false, false}, {{0, 50}, {150, 30}, false, false},
    };
    for (const Case& c : cases) {
        const HoverPanels h = hoverOverImage(c.image, c.pointer, places);
        EXPECT_EQ(h.right, c.right) << c.pointer.x() << "," << c.pointer.y();
        EXPECT_EQ(h.top, c.top) << c.pointer.x() << "," << c.pointer.y();
    }
    const HoverPanels area = hoverOverArea({450, 30}, places);
    EXPECT_TRUE(area.right);
    EXPECT_FALSE(area.top);
}
