#pragma once

#include <QImage>
#include <QString>

namespace imaging {

// Decodes a JPEG file with libjpeg at 1/`denominator` of its size (1, 2, 4
// or 8), straight into 32-bit opaque pixels, with the accurate integer DCT
// and smooth chroma upsampling: a reduced decode good enough to filter from.
// Null when the file is no JPEG libjpeg decodes this way (CMYK, broken
// headers, corrupt data): the caller then falls back to its general reader.
QImage decodeJpegScaled(const QString& path, int denominator);

} // namespace imaging
