#include <gtest/gtest.h>

#include <vector>

#include "mainwindow/preview/MarkerBlink.h"
#include "mainwindow/preview/WatermarkMarker.h"
#include "processing/FrameAndMarks.h"
#include "state/AppState.h"

#include "BothWatermarks.h"

namespace {

// The preview of bothWatermarksOn(): 400 x 300 at (10, 20) showing an 800 x 600
// picture; text at (100, 150), picture watermark centred at (300, 150).
struct Preview {
    AppState st = bothWatermarksOn();
    WatermarkMarker marker{st};
    std::vector<MarkHit> chosen;

    MarkScene scene() const
    {
        return makeMarkScene(st, QRectF(10, 20, 400, 300), QSizeF(800, 600), QSizeF(80, 20));
    }
    // What the window's answer to a hit does: the position list goes to its
    // free position, whose handler hands the marker that watermark.
    PressAction press(Qt::MouseButton button, QPointF p)
    {
        return marker.mousePress(button, p, scene(), [this](MarkHit hit) {
            chosen.push_back(hit);
            (hit == MarkHit::Text ? st.panel.cmbPos : st.panel.cmbPosImg) = posFree;
            marker.markFreePosition(hit, scene());
        });
    }
};

} // namespace

TEST(WatermarkMarker, DraggingThePictureWatermarkToTheCentre)
{
    Preview v;
    EXPECT_EQ(v.press(Qt::LeftButton, {300, 150}), PressAction::None);
    EXPECT_EQ(v.chosen, std::vector<MarkHit>{MarkHit::Picture});
    EXPECT_TRUE(v.marker.pinnedImg());
    EXPECT_TRUE(v.marker.visible());
    EXPECT_TRUE(v.marker.dragPointer());
    EXPECT_EQ(v.marker.rect(), QRectF(285, 182.5, 50, kMarkerThickness));
    EXPECT_TRUE(v.st.status.text().contains(QString::fromUtf8("拖动蓝色条块")));

    v.marker.mouseMove(Qt::LeftButton, {250, 160}, v.scene());
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.625) << "the position follows the pointer live";
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyY, 160.0 / 300);
    EXPECT_EQ(v.marker.rect().topLeft(), QPointF(10 + 250 - 25, 20 + 160));

    const ReleaseAction up = v.marker.mouseRelease(Qt::LeftButton, {200, 150}, v.scene());
    EXPECT_EQ(up.kind, ReleaseAction::Redraw);
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.5);
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyY, 0.5);
    EXPECT_FALSE(v.marker.visible());
    EXPECT_FALSE(v.marker.blinking()) << "the blink of the free-position choice ended with the press";
}

TEST(WatermarkMarker, DraggingTheTextKeepsTheMarkersLeftEdgeAsTheTexts)
{
    Preview v;
    v.press(Qt::LeftButton, {110, 155});
    EXPECT_EQ(v.chosen, std::vector<MarkHit>{MarkHit::Text});
    EXPECT_FALSE(v.marker.pinnedImg());
    EXPECT_EQ(v.marker.rect(), QRectF(110, 175, 40, kMarkerThickness));
    EXPECT_EQ(v.marker.mouseRelease(Qt::LeftButton, {200, 150}, v.scene()).kind, ReleaseAction::Redraw);
    EXPECT_DOUBLE_EQ(v.st.ps.iuTSyX, (200.0 - 20) / 400);
    EXPECT_DOUBLE_EQ(v.st.ps.iuTSyY, 0.5);
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.75) << "the picture watermark stays";
}

TEST(WatermarkMarker, DragOutsideThePreviewStopsAtItsEdge)
{
    Preview v;
    v.press(Qt::LeftButton, {300, 150});
    v.marker.mouseRelease(Qt::LeftButton, {900, -40}, v.scene());
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 1.0);
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyY, 0.0);
}

TEST(WatermarkMarker, MoveModeStoresTheOffsetFromTheCentre)
{
    struct Case { QPointF release; float x, y; const char* xText; const char* yText; };
    const Case cases[] = {
        {{200, 150}, 0, 0, "0", "0"},
        {{400, 150}, 200, 0, "200", "0"},
        {{0, 300}, -200, 150, "-200", "150"},
        {{212.5, 140}, 12.5f, -10, "12.5", "-10"},
        {{450, 400}, 200, 150, "200", "150"},
    };
    for (const Case& c : cases) {
        Preview v;
        v.marker.enterMoveMode(QSizeF(420, 340));
        EXPECT_TRUE(v.st.win.bMovePic);
        EXPECT_EQ(v.marker.rect(), QRectF(210, 170, kMoveMarkerSide, kMoveMarkerSide));
        v.press(Qt::LeftButton, {50, 60});
        EXPECT_TRUE(v.chosen.empty()) << "no hit test in the move mode";
        EXPECT_EQ(v.marker.rect().topLeft(), QPointF(10 + 50 - 8, 20 + 60));
        const ReleaseAction up = v.marker.mouseRelease(Qt::LeftButton, c.release, v.scene());
        EXPECT_EQ(up.kind, ReleaseAction::StartPoint);
        EXPECT_FLOAT_EQ(v.st.pic.sngXp, c.x);
        EXPECT_FLOAT_EQ(v.st.pic.sngYp, c.y);
        EXPECT_EQ(up.xText, c.xText);
        EXPECT_EQ(up.yText, c.yText);
        EXPECT_FALSE(v.marker.visible());
        EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.75) << "watermarks stay where they were";
    }
}

TEST(WatermarkMarker, ReleasesThatStoreNothing)
{
    Preview v;
    v.press(Qt::LeftButton, {300, 150});
    EXPECT_EQ(v.marker.mouseRelease(Qt::RightButton, {200, 150}, v.scene()).kind, ReleaseAction::None);
    EXPECT_FALSE(v.marker.visible());
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.75);

    // Nothing to scale by: a preview without area keeps the position.
    v.press(Qt::LeftButton, {300, 150});
    MarkScene flat = v.scene();
    flat.image.setSize({0, 0});
    EXPECT_EQ(v.marker.mouseRelease(Qt::LeftButton, {200, 150}, flat).kind, ReleaseAction::None);
    EXPECT_DOUBLE_EQ(v.st.ps.iuISyX, 0.75);
}

TEST(WatermarkMarker, ClicksThatHitNothingAndTheRightButton)
{
    Preview v;
    v.press(Qt::LeftButton, {300, 150});
    v.press(Qt::LeftButton, {20, 20});
    EXPECT_FALSE(v.marker.visible());
    EXPECT_FALSE(v.marker.dragPointer());
    EXPECT_EQ(v.chosen.size(), 1u);
    EXPECT_EQ(v.press(Qt::RightButton, {20, 20}), PressAction::OpenMenu);

    v.marker.enterMoveMode(QSizeF(420, 340));
    v.marker.mouseMove(Qt::NoButton, {5, 5}, v.scene());
    EXPECT_TRUE(v.marker.dragPointer()) << "the move mode keeps the drag pointer";
    EXPECT_EQ(v.press(Qt::RightButton, {20, 20}), PressAction::MoveModeEnded);
    EXPECT_FALSE(v.st.win.bMovePic);
    EXPECT_FALSE(v.marker.dragPointer());
    v.marker.mouseMove(Qt::LeftButton, {100, 100}, v.scene());
    EXPECT_FLOAT_EQ(v.st.pic.sngXp, 0) << "no drag without the drag pointer";
}

TEST(MarkerBlink, BlinksFiveTimesAndANewBlinkCancelsTheOld)
{
    std::vector<bool> first, second;
    MarkerBlink blink;
    blink.start([&](bool on) { first.push_back(on); });
    EXPECT_TRUE(blink.running()) << "the blink is paced by its timer";
    blink.advance();
    blink.start([&](bool on) { second.push_back(on); });
    for (int tick = 0; tick < 10; ++tick)
        blink.advance();
    EXPECT_FALSE(blink.running());
    EXPECT_EQ(first, (std::vector<bool>{true, false})) << "the cancelled blink is never called again";
    EXPECT_EQ(second, (std::vector<bool>{true, false, true, false, true}));
}

TEST(WatermarkMarker, PositionChoicesHandTheMarkerOver)
{
    Preview v;
    v.st.win.bMovePic = true;
    v.marker.markFreePosition(MarkHit::Picture, v.scene());
    EXPECT_TRUE(v.st.ps.bMarkIsImg);
    EXPECT_FALSE(v.st.win.bMovePic);
    EXPECT_EQ(v.marker.rect(), QRectF(285, 182.5, 50, kMarkerThickness));
    EXPECT_TRUE(v.marker.visible());
    for (int tick = 0; tick < 10 && v.marker.blinking(); ++tick)
        v.marker.advanceBlink();
    EXPECT_FALSE(v.marker.blinking());
    EXPECT_TRUE(v.marker.visible()) << "a blink ends shown";

    v.marker.markPresetPosition(MarkHit::Text, v.scene());
    EXPECT_EQ(v.marker.rect(), QRectF(110, 175, 40, kMarkerThickness));
    EXPECT_FALSE(v.marker.visible());

    // A watermark never placed (both fractions 0) leaves the marker where it was.
    v.st.ps.iuTSyX = v.st.ps.iuTSyY = 0;
    v.marker.markFreePosition(MarkHit::Text, v.scene());
    EXPECT_FALSE(v.st.ps.bMarkIsImg);
    EXPECT_EQ(v.marker.rect(), QRectF(110, 175, 40, kMarkerThickness));
    EXPECT_TRUE(v.st.status.text().contains(QString::fromUtf8("红色圆块")));
}
