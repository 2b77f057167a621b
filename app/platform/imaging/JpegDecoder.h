#pragma once

#include <QImage>
#include <QString>

namespace imaging {

// How a decode went.
enum class JpegStatus {
    Decoded,       // whole and sound
    Damaged,       // the data ends early or is corrupt: what decoded is there, the rest grey
    TooManyScans,  // a progressive file of more scans than any real picture has: refused
    NoMemory,      // the picture could not be allocated
    Refused,       // no JPEG this decoder takes (CMYK, broken headers): another reader may try
};

struct JpegDecode {
    QImage image;  // null unless Decoded or Damaged
    JpegStatus status = JpegStatus::Refused;
};

// Real progressive files have a few tens of scans at most; a file of many
// tiny scans would make the decoder walk the whole picture once a scan, for
// minutes. Files of more scans are refused.
constexpr int kMaxJpegScans = 100;

// Decodes a JPEG file with libjpeg at 1/`denominator` of its size (1, 2, 4
// or 8), straight into 32-bit opaque pixels, with the accurate integer DCT
// and smooth chroma upsampling: a reduced decode good enough to filter from.
JpegDecode decodeJpegScaled(const QString& path, int denominator);

} // namespace imaging
