#include "platform/imaging/Resample.h"

#include <cmath>

namespace imaging {

namespace {

// The rows and columns `r` of `src` without copying them: a picture of
// hundreds of megapixels is not held twice for a crop. Pictures whose pixels
// do not start on a byte are copied.
QImage viewOf(const QImage& src, const QRect& r)
{
    if (src.depth() % 8 != 0)
        return src.copy(r);
    const uchar* first = src.constScanLine(r.top()) + size_t(r.left()) * size_t(src.depth() / 8);
    QImage view(first, r.width(), r.height(), src.bytesPerLine(), src.format());
    view.setColorTable(src.colorTable());
    return view;
}

} // namespace

QImage resampleRegion(const QImage& src, const QRectF& region, const QSize& size)
{
    if (src.isNull() || size.isEmpty())
        return {};
    QRect r(int(std::floor(region.left())), int(std::floor(region.top())),
            0, 0);
    r.setRight(int(std::ceil(region.right())) - 1);
    r.setBottom(int(std::ceil(region.bottom())) - 1);
    r = r.intersected(src.rect());
    if (r.isEmpty())
        return {};
    if (r == src.rect() && r.size() == size)
        return src;
    // A view shares `src`'s memory, which the caller may release: what goes
    // out is always a picture of its own.
    const QImage part = viewOf(src, r);
    if (part.size() == size)
        return part.copy();
    return part.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace imaging
