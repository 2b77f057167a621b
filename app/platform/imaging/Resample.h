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

// The whole picture made into a thumbnail of `size`. A picture more than
// kThumbnailPrepass times as large on both sides is first averaged by areas
// down to that many times the size (one read of each pixel), so the filter,
// widened by the whole reduction, does not read a huge picture over and over.
constexpr int kThumbnailPrepass = 4;
QImage thumbnailOf(const QImage& src, const QSize& size);

} // namespace imaging
