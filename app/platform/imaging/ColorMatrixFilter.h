#pragma once

#include <QImage>

#include "platform/imaging/ColorMatrix.h"

namespace imaging {

// Passes every pixel through a 5 x 5 colour matrix the way GDI+ image
// attributes do: output component j = sum over i of input i x m[i][j], with
// components in 0..1 (red, green, blue, alpha, the constant 1), clamped.
// The picture becomes Format_ARGB32 (not premultiplied).
void applyColorMatrix(QImage& image, const ColorMatrix& cm);

} // namespace imaging
