#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The window-free rules of the screen grab: the dimmed copy, where its
// toolbar goes, which presses grab the selection and which pixels it cuts.
// Window coordinates are the screen's, as the grab covers it from (0, 0).
namespace screengrab {

// The screen photograph darkened and tinted blue: every pixel ANDed with
// RGB(192, 192, 255), so red and green keep their two highest bits.
QImage dimmed(const QImage& screen);

// The toolbar's top-left: its right edge on the frame's right edge, 4 pixels
// below the frame, or 4 pixels inside the frame's bottom when below would
// leave the screen; never left of the screen.
QPointF toolbarPlace(const QRectF& frame, QSizeF toolbar, double screenHeight);

// Whether a press at `point` grabs the selection: the point to the nearest
// pixel lies in the frame, its left and top edges included, the right and
// bottom ones not.
bool grabsSelection(const QRectF& frame, QPointF point);

// The photograph's pixels under `frame`, for a photograph with `ratio`
// device pixels per window coordinate: rounded and held to the picture;
// empty when nothing is framed.
QRect photoRegion(const QRectF& frame, double ratio, QSize photo);

// The size label: "320x240".
QString sizeCaption(QSize size);

} // namespace screengrab
