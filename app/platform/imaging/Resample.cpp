#include "platform/imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace imaging {

namespace {

constexpr double kLobes = 3;  // Lanczos-3

double lanczos(double x)
{
    x = std::abs(x);
    if (x < 1e-9)
        return 1;
    if (x >= kLobes)
        return 0;
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// For every target position along one axis: the first source index and the
// weights of the consecutive source pixels that make it. Taps that fall off
// the source are folded onto its edge pixel, so every window lies inside it.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;  // `stride` per target position
    int stride = 0;
};

Taps makeTaps(int srcLength, double start, double extent, int dstLength)
{
    const double scale = extent / dstLength;
    const double stretch = std::max(1.0, scale);  // reductions widen the filter
    const double support = kLobes * stretch;
    Taps t;
    t.stride = int(std::ceil(support)) * 2 + 2;
    t.first.resize(size_t(dstLength));
    t.count.resize(size_t(dstLength));
    t.weights.assign(size_t(dstLength) * size_t(t.stride), 0.0f);
    std::vector<double> w(size_t(t.stride));
    for (int o = 0; o < dstLength; ++o) {
        const double centre = start + (o + 0.5) * scale - 0.5;
        const int lo = int(std::ceil(centre - support)), hi = int(std::floor(centre + support));
        const int a = std::clamp(lo, 0, srcLength - 1), b = std::clamp(hi, 0, srcLength - 1);
        const int n = std::min(b - a + 1, t.stride);
        std::fill(w.begin(), w.end(), 0.0);
        double sum = 0;
        for (int i = lo; i <= hi; ++i) {
            const double v = lanczos((i - centre) / stretch);
            const int at = std::clamp(std::clamp(i, 0, srcLength - 1) - a, 0, n - 1);
            w[size_t(at)] += v;
            sum += v;
        }
        if (std::abs(sum) < 1e-12) {  // cannot happen for a sane filter; keep the nearest pixel
            w.assign(w.size(), 0.0);
            w[size_t(std::clamp(int(std::lround(centre)) - a, 0, n - 1))] = 1;
            sum = 1;
        }
        t.first[size_t(o)] = a;
        t.count[size_t(o)] = n;
        for (int k = 0; k < n; ++k)
            t.weights[size_t(o) * size_t(t.stride) + size_t(k)] = float(w[size_t(k)] / sum);
    }
    return t;
}

uchar toByte(float v)
{
    return uchar(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

// One tap of the pass down the columns: acc += w x line, over a whole row.
void accumulate(float* __restrict acc, const uchar* __restrict line, float w, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        acc[i] += w * float(line[i]);
}

// `src` is 32 bits a pixel, channels in any order with alpha at byte `alphaAt`
// (premultiplied or opaque); the filter runs on each byte channel alike:
// first down the columns into one row of floats, then along that row.
QImage lanczosResample(const QImage& src, const QRectF& region, const QSize& size, QImage::Format format)
{
    const Taps tx = makeTaps(src.width(), region.x(), region.width(), size.width());
    const Taps ty = makeTaps(src.height(), region.y(), region.height(), size.height());
    QImage out(size, format);
    if (out.isNull())
        return out;
    const int c0 = tx.first.front();
    const int c1 = tx.first.back() + tx.count.back();
    const size_t span = size_t(c1 - c0) * 4;
    std::vector<float> row(span);
    const int alphaAt = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 3 : 0;
    for (int y = 0; y < size.height(); ++y) {
        std::fill(row.begin(), row.end(), 0.0f);
        const float* wy = &ty.weights[size_t(y) * size_t(ty.stride)];
        for (int k = 0; k < ty.count[size_t(y)]; ++k) {
            const uchar* line = src.constScanLine(ty.first[size_t(y)] + k) + size_t(c0) * 4;
            accumulate(row.data(), line, wy[k], span);
        }
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const float* wx = &tx.weights[size_t(x) * size_t(tx.stride)];
            const float* p = &row[size_t(tx.first[size_t(x)] - c0) * 4];
            float s[4] = {0, 0, 0, 0};
            for (int k = 0; k < tx.count[size_t(x)]; ++k, p += 4)
                for (int c = 0; c < 4; ++c)
                    s[c] += wx[k] * p[c];
            const uchar alpha = toByte(s[alphaAt]);
            for (int c = 0; c < 4; ++c) {
                const uchar v = toByte(s[c]);
                // The filter's negative lobes may push a colour past its alpha,
                // which a premultiplied pixel cannot hold.
                dst[size_t(x) * 4 + size_t(c)] = c == alphaAt ? alpha : std::min(v, alpha);
            }
        }
    }
    return out;
}

} // namespace

QImage resampleRegion(const QImage& src, const QRectF& region, const QSize& size)
{
    if (src.isNull() || size.isEmpty())
        return {};
    QRect r(int(std::floor(region.left())), int(std::floor(region.top())), 0, 0);
    r.setRight(int(std::ceil(region.right())) - 1);
    r.setBottom(int(std::ceil(region.bottom())) - 1);
    r = r.intersected(src.rect());
    if (r.isEmpty())
        return {};
    const QRectF wanted = region.intersected(QRectF(src.rect()));
    if (wanted == QRectF(r) && r.size() == size)
        return r == src.rect() ? src : src.copy(r);
    // Opaque and premultiplied 32-bit pictures are filtered as they are;
    // anything else is brought to premultiplied first.
    QImage work = src;
    if (work.format() != QImage::Format_RGB32 && work.format() != QImage::Format_ARGB32_Premultiplied)
        work = work.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Only the pixels of the rounded-out region are read, so a part of a
    // picture gives what the same part copied out would give.
    const uchar* first = work.constScanLine(r.top()) + size_t(r.left()) * 4;
    const QImage view(first, r.width(), r.height(), work.bytesPerLine(), work.format());
    const QRectF local = wanted.translated(-r.left(), -r.top());
    return lanczosResample(view, local, size, work.format());
}

QImage thumbnailOf(const QImage& src, const QSize& size)
{
    if (src.isNull() || size.isEmpty())
        return {};
    const QSize between = size * kThumbnailPrepass;
    if (src.width() <= between.width() || src.height() <= between.height())
        return resampleRegion(src, QRectF(src.rect()), size);
    const QImage averaged = src.scaled(between, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return resampleRegion(averaged, QRectF(averaged.rect()), size);
}

} // namespace imaging
