#include "viewer/CropFrameGeometry.h"

#include <algorithm>

namespace cropframe {

QPointF handleTopLeft(int index, const QRectF& frame, QSizeF handle)
{
    const double l = frame.left(), t = frame.top(), w = frame.width(), h = frame.height();
    const double hw = handle.width() / 2, hh = handle.height() / 2;
    switch (index) {
    case TopLeft: return {l - hw, t - hh};
    case Top: return {l + w / 2 - hw, t - hh};
    case TopRight: return {l + w - hw, t - hh};
    case Left: return {l - hw, t + h / 2 - hh};
    case BottomLeft: return {l - hw, t + h - hh};
    case Bottom: return {l + w / 2 - hw, t + h - hh};
    case BottomRight: return {l + w - hw, t + h - hh};
    case Right: return {l + w - hw, t + h / 2 - hh};
    default: return {};
    }
}

std::array<QPointF, kHandles> handlePositions(const QRectF& frame, QSizeF handle)
{
    std::array<QPointF, kHandles> out;
    for (int i = 0; i < kHandles; ++i)
        out[size_t(i)] = handleTopLeft(i, frame, handle);
    return out;
}

Qt::CursorShape handleCursor(int index)
{
    switch (index) {
    case TopLeft:
    case BottomRight: return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft: return Qt::SizeBDiagCursor;
    case Top:
    case Bottom: return Qt::SizeVerCursor;
    default: return Qt::SizeHorCursor;
    }
}

namespace {

bool movesLeft(int i) { return i == TopLeft || i == Left || i == BottomLeft; }
bool movesRight(int i) { return i == TopRight || i == Right || i == BottomRight; }
bool movesTop(int i) { return i == TopLeft || i == Top || i == TopRight; }
bool movesBottom(int i) { return i == BottomLeft || i == Bottom || i == BottomRight; }

} // namespace

QRectF reshape(int index, const QRectF& start, QPointF delta, const QRectF& bounds)
{
    double l = start.left(), t = start.top(), r = start.right(), b = start.bottom();
    if (movesLeft(index))
        l += delta.x();
    if (movesRight(index))
        r += delta.x();
    if (movesTop(index))
        t += delta.y();
    if (movesBottom(index))
        b += delta.y();
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    l = std::clamp(l, bounds.left(), bounds.right());
    r = std::clamp(r, bounds.left(), bounds.right());
    t = std::clamp(t, bounds.top(), bounds.bottom());
    b = std::clamp(b, bounds.top(), bounds.bottom());
    return QRectF(QPointF(l, t), QPointF(r, b));
}

QRectF moveInside(const QRectF& start, QPointF delta, const QRectF& bounds)
{
    QRectF r = start.translated(delta);
    if (r.right() > bounds.right())
        r.moveRight(bounds.right());
    if (r.bottom() > bounds.bottom())
        r.moveBottom(bounds.bottom());
    if (r.left() < bounds.left())
        r.moveLeft(bounds.left());
    if (r.top() < bounds.top())
        r.moveTop(bounds.top());
    return r;
}

QRectF rubberBand(QPointF anchor, QPointF point, QSizeF picture)
{
    const auto hold = [](QPointF p, QSizeF s) {
        return QPointF(std::clamp(p.x(), 0.0, s.width()), std::clamp(p.y(), 0.0, s.height()));
    };
    const QPointF a = hold(anchor, picture), p = hold(point, picture);
    return QRectF(QPointF(std::min(a.x(), p.x()), std::min(a.y(), p.y())),
                  QPointF(std::max(a.x(), p.x()), std::max(a.y(), p.y())));
}

bool inside(const QRectF& frame, QPointF point)
{
    return point.x() > frame.left() && point.x() < frame.right() && point.y() > frame.top() &&
           point.y() < frame.bottom();
}

} // namespace cropframe
