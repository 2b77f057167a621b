#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <vector>

// Where the viewer puts things on the screen. Sizes the design gives in
// twips are converted at 15 twips to a pixel; the functions work in
// device-independent pixels unless their name says twips.
namespace viewerlayout {

constexpr double kTwipsPerPixel = 15.0;
constexpr double twips(double t) { return t / kTwipsPerPixel; }

// The picture laid out on the screen: fitted (scaled down to the screen,
// keeping its proportions, centred on the other axis) when it is larger than
// the screen in its limiting direction, else at its own size and centred.
// A picture at least as wide in proportion as the screen is limited by the
// width. The comparisons are strict: a picture exactly as wide as the screen
// is not scaled.
struct Fit {
    QRectF rect;
    bool fitted = false;  // "适合屏幕" checked; else "原始大小"
};
Fit fitToScreen(QSizeF picture, QSizeF screen);

// The picture at its own size: centred in each direction where it is
// smaller than the screen, else at the screen's edge (0).
QPointF naturalPlacement(QSizeF picture, QSizeF screen);

// Thumbnail grid, in twips: cells of 1875 x 1530, 35 between columns and at
// the left, 30 between rows and at the top. A row holds eight cells, or as
// many as the screen's width takes when that is fewer (at least one).
constexpr int kThumbWidthTwips = 1875;
constexpr int kThumbHeightTwips = 1530;
constexpr int kThumbsPerPage = 56;
int thumbnailColumns(int screenWidthTwips);
QRect thumbnailCellTwips(int indexOnPage, int screenWidthTwips);
// The same cell in pixels.
QRect thumbnailCell(int indexOnPage, int screenWidthTwips);

// One page of the grid over a list of `count` entries.
struct ThumbPage {
    int first = 0;           // list index of the first thumbnail
    int last = -1;           // list index of the last one; first - 1 when the page is empty
    bool previous = false;   // "<" enabled
    bool next = false;       // ">" enabled
};
ThumbPage thumbPage(int page, int count);
// The last page that still shows an entry (0 for an empty list).
int lastPage(int count);

// The grid's button bar: centred, its top 550 twips above the screen's bottom.
QPointF buttonBarPlace(QSizeF bar, QSizeF screen);

// The crop toolbar: right-aligned with the selection, 8 pixels below it;
// above the selection when it would leave the screen at the bottom, and
// never off the screen's left or top.
QPointF toolbarPlace(const QRectF& selection, QSizeF toolbar, QSizeF screen);

// The confirmation box: centred across, 100 twips below the picture, but
// at least 200 twips above the screen's bottom.
QPointF confirmBoxPlace(QSizeF box, const QRectF& picture, QSizeF screen);

// The part of the real picture that `selection` frames on the screen, where
// the picture is shown in `shown` and is `real` pixels large: exactly the
// framed region, scaled, rounded to whole pixels and held to the picture.
QRect cropRegion(const QRectF& selection, const QRectF& shown, QSize real);

} // namespace viewerlayout
