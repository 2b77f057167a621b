#include "platform/imaging/ColorMatrixFilter.h"

#include <algorithm>
#include <cmath>

namespace imaging {

void applyColorMatrix(QImage& image, const ColorMatrix& cm)
{
    if (image.isNull() || cm.isIdentity())
        return;
    image.convertTo(QImage::Format_ARGB32);
    const auto& m = cm.m;
    // Scale the weights once so that the pixel loop works on 0..255 values.
    float w[5][4];
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            w[i][j] = i == 4 ? m[i][j] * 255.0f : m[i][j];
    for (int y = 0; y < image.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const float in[4] = {float(qRed(px[x])), float(qGreen(px[x])), float(qBlue(px[x])),
                                 float(qAlpha(px[x]))};
            int out[4];
            for (int j = 0; j < 4; ++j) {
                const float v = in[0] * w[0][j] + in[1] * w[1][j] + in[2] * w[2][j] + in[3] * w[3][j] + w[4][j];
                out[j] = std::clamp(int(std::lround(v)), 0, 255);
            }
            px[x] = qRgba(out[0], out[1], out[2], out[3]);
        }
    }
}

} // namespace imaging
