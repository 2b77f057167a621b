#include "ZonePlate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

QImage zonePlate(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    const double cx = width / 2.0, cy = height / 2.0;
    // Phase k r^2 has the local frequency k r / pi cycles a pixel: 0.5 at r = cx.
    const double k = std::numbers::pi / (2 * cx);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double dy = y + 0.5 - cy;
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - cx;
            const int v = int(std::lround(127.5 + 127.5 * std::cos(k * (dx * dx + dy * dy))));
            line[x] = qRgb(v, v, v);
        }
    }
    return img;
}

double psnr(const QImage& a, const QImage& b)
{
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c) {
            const double dr = qRed(p[c]) - qRed(q[c]), dg = qGreen(p[c]) - qGreen(q[c]), db = qBlue(p[c]) - qBlue(q[c]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

double bandMoire(const QImage& reduced, QSize source, double lo, double hi)
{
    if (reduced.isNull())
        return -1;
    const double cx = source.width() / 2.0, cy = source.height() / 2.0;
    const double sx = double(source.width()) / reduced.width(), sy = double(source.height()) / reduced.height();
    double sum = 0, sum2 = 0;
    long n = 0;
    for (int y = 0; y < reduced.height(); ++y) {
        for (int x = 0; x < reduced.width(); ++x) {
            const double dx = (x + 0.5) * sx - cx, dy = (y + 0.5) * sy - cy;
            // The plate's phase pi r^2 / (2 cx) has r / (2 cx) cycles a pixel at radius r.
            const double f = std::sqrt(dx * dx + dy * dy) / (2 * cx);
            if (f < lo || f > hi)
                continue;
            const double v = qGray(reduced.pixel(x, y));
            sum += v;
            sum2 += v * v;
            ++n;
        }
    }
    if (n == 0)
        return -1;
    const double mean = sum / n;
    return std::sqrt(std::max(0.0, sum2 / n - mean * mean));
}
