#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

namespace imaging {

// The part `region` of `src` (source pixels, fractions allowed, clipped to the
// picture) resampled to `size` with a Lanczos-3 filter, widened by the
// reduction factor when reducing, so fine patterns do not alias into moire.
// Only pixels of the region rounded outwards are read. 32-bit opaque and
// premultiplied pictures keep their format; others become premultiplied.
QImage resampleRegion(const QImage& src, const QRectF& region, const QSize& size);

} // namespace imaging
