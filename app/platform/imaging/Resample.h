#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

namespace imaging {

// The part `region` of `src` (source pixels, clipped to the picture) resampled
// to `size`. Reductions average every source pixel that falls into a target
// pixel (no aliasing); enlargements interpolate.
QImage resampleRegion(const QImage& src, const QRectF& region, const QSize& size);

} // namespace imaging
