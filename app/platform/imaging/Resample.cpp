#include "platform/imaging/Resample.h"

#include <cmath>

namespace imaging {

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
    const QImage part = r == src.rect() ? src : src.copy(r);
    if (part.size() == size)
        return part;
    return part.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace imaging
