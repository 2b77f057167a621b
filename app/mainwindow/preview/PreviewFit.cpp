#include "mainwindow/preview/PreviewFit.h"

#include <cmath>

namespace {

int whole(double v) { return int(std::lround(v)); }

} // namespace

QRect fitPicture(QSizeF picture, QSizeF frame)
{
    const double w = picture.width(), h = picture.height();
    const double W = frame.width(), H = frame.height();
    if (!(w > 0 && h > 0 && W > 0 && H > 0))
        return {};
    // w / h >= W / H without the rounding of two divisions, so a tie stays a tie.
    if (w * H >= W * h) {
        if (w > W) {
            const double height = W * h / w;
            return {0, whole((H - height) / 2), whole(W), whole(height)};
        }
    } else if (h > H) {
        const double width = H * w / h;
        return {whole((W - width) / 2), 0, whole(width), whole(H)};
    }
    return {whole((W - w) / 2), whole((H - h) / 2), whole(w), whole(h)};
}
