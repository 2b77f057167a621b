#include "viewer/ViewerLayout.h"

#include <algorithm>
#include <cmath>

namespace viewerlayout {

namespace {

constexpr int kGapTwips = 35;
constexpr int kRowGapTwips = 30;
constexpr int kColumnsWanted = 8;

} // namespace

Fit fitToScreen(QSizeF picture, QSizeF screen)
{
    const double w = picture.width(), h = picture.height();
    const double sw = screen.width(), sh = screen.height();
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return {QRectF(naturalPlacement(picture, screen), picture), false};
    if (w / h >= sw / sh) {
        if (w > sw) {
            const double height = h * sw / w;
            return {QRectF(0, (sh - height) / 2, sw, height), true};
        }
    } else if (h > sh) {
        const double width = w * sh / h;
        return {QRectF((sw - width) / 2, 0, width, sh), true};
    }
    return {QRectF((sw - w) / 2, (sh - h) / 2, w, h), false};
}

QPointF naturalPlacement(QSizeF picture, QSizeF screen)
{
    const double left = picture.width() < screen.width() ? (screen.width() - picture.width()) / 2 : 0;
    const double top = picture.height() < screen.height() ? (screen.height() - picture.height()) / 2 : 0;
    return {left, top};
}

int thumbnailColumns(int screenWidthTwips)
{
    int columns = 1;
    // A cell fits while its right edge stays short of the screen's.
    while (columns < kColumnsWanted &&
           kGapTwips + columns * (kThumbWidthTwips + kGapTwips) + kThumbWidthTwips < screenWidthTwips)
        ++columns;
    return columns;
}

QRect thumbnailCellTwips(int indexOnPage, int screenWidthTwips)
{
    const int columns = thumbnailColumns(screenWidthTwips);
    const int row = indexOnPage / columns, column = indexOnPage % columns;
    return QRect(kGapTwips + column * (kThumbWidthTwips + kGapTwips),
                 kRowGapTwips * (row + 1) + row * kThumbHeightTwips, kThumbWidthTwips, kThumbHeightTwips);
}

QRect thumbnailCell(int indexOnPage, int screenWidthTwips)
{
    const QRect t = thumbnailCellTwips(indexOnPage, screenWidthTwips);
    const auto px = [](int v) { return int(std::lround(v / kTwipsPerPixel)); };
    return QRect(px(t.left()), px(t.top()), px(t.width()), px(t.height()));
}

ThumbPage thumbPage(int page, int count)
{
    ThumbPage p;
    p.first = page * kThumbsPerPage;
    p.last = std::min(count - 1, p.first + kThumbsPerPage - 1);
    if (p.last < p.first)
        p.last = p.first - 1;
    p.previous = page > 0;
    p.next = p.first + kThumbsPerPage < count;
    return p;
}

int lastPage(int count)
{
    return count > 0 ? (count - 1) / kThumbsPerPage : 0;
}

QPointF buttonBarPlace(QSizeF bar, QSizeF screen)
{
    return {(screen.width() - bar.width()) / 2, screen.height() - twips(550)};
}

QPointF toolbarPlace(const QRectF& selection, QSizeF toolbar, QSizeF screen)
{
    constexpr double gap = 8;
    double left = selection.right() - toolbar.width();
    double top = selection.bottom() + gap;
    if (top + toolbar.height() > screen.height())
        top = selection.top() - gap - toolbar.height();
    if (top < 0)
        top = std::max(0.0, screen.height() - toolbar.height());
    left = std::clamp(left, 0.0, std::max(0.0, screen.width() - toolbar.width()));
    return {left, top};
}

QPointF confirmBoxPlace(QSizeF box, const QRectF& picture, QSizeF screen)
{
    const double left = (screen.width() - box.width()) / 2;
    double top = picture.bottom() + twips(100);
    const double lowest = screen.height() - box.height() - twips(200);
    if (top > lowest)
        top = lowest;
    return {left, top};
}

QRect cropRegion(const QRectF& selection, const QRectF& shown, QSize real)
{
    if (shown.width() <= 0 || shown.height() <= 0 || real.isEmpty())
        return {};
    const double rx = real.width() / shown.width(), ry = real.height() / shown.height();
    const auto at = [](double v, double r, int limit) { return std::clamp(int(std::lround(v * r)), 0, limit); };
    const int x0 = at(selection.left() - shown.left(), rx, real.width());
    const int x1 = at(selection.right() - shown.left(), rx, real.width());
    const int y0 = at(selection.top() - shown.top(), ry, real.height());
    const int y1 = at(selection.bottom() - shown.top(), ry, real.height());
    return QRect(QPoint(x0, y0), QSize(x1 - x0, y1 - y0));
}

} // namespace viewerlayout
