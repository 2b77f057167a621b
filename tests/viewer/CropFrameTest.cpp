#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include "viewer/CropFrame.h"
#include "viewer/CropFrameGeometry.h"

using namespace cropframe;

TEST(CropFrameGeometry, HandlesSitCentredOnTheirPoints)
{
    struct Case {
        const char* what;
        QRectF frame;
        QSizeF handle;
        std::array<QPointF, kHandles> expected;
    };
    const Case cases[] = {
        {"twips frame with 60-twip handles", {1000, 500, 3000, 2000}, {60, 60},
         {{{970, 470}, {2470, 470}, {3970, 470}, {970, 1470}, {970, 2470}, {2470, 2470}, {3970, 2470}, {3970, 1470}}}},
        {"frame of no width: three columns fall together", {100, 50, 0, 20}, {4, 4},
         {{{98, 48}, {98, 48}, {98, 48}, {98, 58}, {98, 68}, {98, 68}, {98, 68}, {98, 58}}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(handlePositions(c.frame, c.handle), c.expected) << c.what;
}

TEST(CropFrameGeometry, CursorsByHandle)
{
    const Qt::CursorShape expected[kHandles] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor,
                                                Qt::SizeHorCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor,
                                                Qt::SizeFDiagCursor, Qt::SizeHorCursor};
    for (int i = 0; i < kHandles; ++i)
        EXPECT_EQ(handleCursor(i), expected[i]) << i;
}

TEST(CropFrameGeometry, ReshapeMovesOnlyTheHandlesEdges)
{
    const QRectF start(100, 100, 200, 100);
    const QRectF picture(50, 50, 500, 400);
    struct Case {
        const char* what;
        int handle;
        QPointF delta;
        QRectF expected;
    };
    const Case cases[] = {
        {"top-left", TopLeft, {-10, -20}, {90, 80, 210, 120}},
        {"top middle: only top and height", Top, {33, -20}, {100, 80, 200, 120}},
        {"top-right", TopRight, {15, 5}, {100, 105, 215, 95}},
        {"left middle: only left and width", Left, {30, 99}, {130, 100, 170, 100}},
        {"bottom-left", BottomLeft, {-5, 10}, {95, 100, 205, 110}},
        {"bottom middle", Bottom, {7, 30}, {100, 100, 200, 130}},
        {"bottom-right", BottomRight, {10, 10}, {100, 100, 210, 110}},
        {"right middle", Right, {-50, 40}, {100, 100, 150, 100}},
        {"held to the picture's left and top", TopLeft, {-500, -500}, {50, 50, 250, 150}},
        {"held to the picture's right and bottom", BottomRight, {900, 900}, {100, 100, 450, 350}},
        {"dragged across the opposite edge: no negative size", Left, {250, 0}, {300, 100, 50, 100}},
        {"dragged onto the opposite edge: empty, not negative", Top, {0, 100}, {100, 200, 200, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reshape(c.handle, start, c.delta, picture), c.expected) << c.what;
}

TEST(CropFrameGeometry, MovingKeepsSizeAndStaysOnThePicture)
{
    const QRectF picture(0, 128, 1024, 512);
    struct Case {
        const char* what;
        QPointF delta;
        QRectF expected;
    };
    const QRectF start(100, 200, 100, 50);
    const Case cases[] = {
        {"free move", {10, -20}, {110, 180, 100, 50}},
        {"against the right edge", {2000, 0}, {924, 200, 100, 50}},
        {"against the bottom edge", {0, 2000}, {100, 590, 100, 50}},
        {"against the top-left corner", {-500, -500}, {0, 128, 100, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(moveInside(start, c.delta, picture), c.expected) << c.what;
}

TEST(CropFrameGeometry, RubberBandIsHeldToThePictureAndOrdered)
{
    const QSizeF picture(400, 300);
    struct Case {
        const char* what;
        QPointF anchor, point;
        QRectF expected;
    };
    const Case cases[] = {
        {"down and right", {10, 10}, {110, 60}, {10, 10, 100, 50}},
        {"up and left gives the same rectangle", {110, 60}, {10, 10}, {10, 10, 100, 50}},
        {"past the right and bottom edges", {300, 200}, {900, 700}, {300, 200, 100, 100}},
        {"past the left and top edges", {50, 40}, {-30, -9}, {0, 0, 50, 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rubberBand(c.anchor, c.point, picture), c.expected) << c.what;
}

namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(CropFrame, HandlesFollowTheirOwnFrameOnly)
{
    QWidget a, b;
    a.resize(400, 300);
    b.resize(400, 300);
    CropFrame first(&a), second(&b);
    second.setRect({10, 10, 50, 50});
    second.ImageMove();

    first.setRect({100, 50, 200, 100});
    for (QWidget* h : first.Image1)
        EXPECT_TRUE(h->isHidden());
    first.ImageMove();  // shows the handles even while the frame is hidden
    for (QWidget* h : first.Image1)
        EXPECT_FALSE(h->isHidden());
    EXPECT_TRUE(first.Shape1->isHidden());
    EXPECT_EQ(first.Image1[BottomRight]->pos(), QPoint(298, 148));
    EXPECT_EQ(second.Image1[BottomRight]->pos(), QPoint(58, 58));
    EXPECT_EQ(first.Shape1->geometry(), QRect(100, 50, 201, 101));
}

TEST(CropFrame, DraggingAHandleReshapesAndReports)
{
    QWidget parent;
    parent.resize(400, 300);
    CropFrame frame(&parent);
    frame.setBounds({0, 0, 400, 300});
    frame.setRect({100, 50, 200, 100});
    frame.setVisible(true);
    QSignalSpy pressed(&frame, &CropFrame::handlePressed);
    QSignalSpy reshaping(&frame, &CropFrame::reshaping);
    QSignalSpy reshaped(&frame, &CropFrame::reshaped);

    QWidget* h = frame.Image1[Bottom];
    mouse(h, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton);
    mouse(h, QEvent::MouseMove, {12, 32}, Qt::LeftButton);
    mouse(h, QEvent::MouseButtonRelease, {12, 32}, Qt::NoButton);

    EXPECT_EQ(frame.rect(), QRectF(100, 50, 200, 130));
    EXPECT_EQ(h->pos(), QPoint(198, 178));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toInt(), int(Bottom));
    EXPECT_EQ(reshaping.count(), 1);
    EXPECT_EQ(reshaped.count(), 1);

    // A move without the button held is no drag.
    mouse(h, QEvent::MouseMove, {40, 40}, Qt::NoButton);
    EXPECT_EQ(frame.rect(), QRectF(100, 50, 200, 130));
}
