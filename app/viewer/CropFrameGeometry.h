#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <Qt>
#include <array>

// Where the eight handles of a selection frame sit and how dragging one of
// them reshapes the frame. Shared by every window that lets the user pick a
// rectangle, so all of them behave alike. Units are whatever the caller uses
// (device-independent pixels in the windows).
namespace cropframe {

constexpr int kHandles = 8;

// Handle indices: corners and side middles, clockwise pairs as the windows
// rely on them (0 top-left, 1 top, 2 top-right, 3 left, 4 bottom-left,
// 5 bottom, 6 bottom-right, 7 right).
enum Handle { TopLeft, Top, TopRight, Left, BottomLeft, Bottom, BottomRight, Right };

// Top-left corner of handle `index`, so that the handle is centred on its
// point of `frame`.
QPointF handleTopLeft(int index, const QRectF& frame, QSizeF handle);
std::array<QPointF, kHandles> handlePositions(const QRectF& frame, QSizeF handle);

// The sizing cursor a handle shows.
Qt::CursorShape handleCursor(int index);

// The frame after handle `index` was dragged by `delta` from where the drag
// began (`start`): only the edges that handle owns follow the pointer. An
// edge dragged across the opposite one swaps with it, so the result never
// has a negative size; it is then cut to `bounds` (the picture).
QRectF reshape(int index, const QRectF& start, QPointF delta, const QRectF& bounds);

// The frame moved by `delta` from `start` and pushed back inside `bounds`
// without changing its size (a frame larger than the bounds keeps the
// bounds' top-left).
QRectF moveInside(const QRectF& start, QPointF delta, const QRectF& bounds);

// The rectangle spanned by a press at `anchor` and the pointer at `point`,
// both relative to the picture, with the pointer held to the picture
// (0..size); in the picture's own coordinates.
QRectF rubberBand(QPointF anchor, QPointF point, QSizeF picture);

// Whether `point` lies strictly inside `frame` (the hit test of a press that
// moves the selection).
bool inside(const QRectF& frame, QPointF point);

} // namespace cropframe
