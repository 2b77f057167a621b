#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace imaging {

// How a decode went.
enum class JpegStatus {
    Decoded,       // whole and sound
    Damaged,       // the data is cut or corrupt: what decoded is there, the rest grey
    TooManyScans,  // a progressive file of more scans than any real picture has: refused
    TooLittleData, // the header claims more blocks than the data after it could code: refused
    Cut,           // the shared rule calls it cut from its header and markers alone: refused undecoded
    TooLarge,      // its scans would keep more coefficients than the largest picture may take: refused
    NoMemory,      // the picture or the decoder's buffers could not be had
    Refused,       // no JPEG this decoder takes (a colour model it has no conversion for, broken headers)
};

struct JpegDecode {
    QImage image;  // null unless Decoded or Damaged
    JpegStatus status = JpegStatus::Refused;
    bool cut = false;  // Damaged as data is missing, rather than corrupt
    int64_t coefficientBytes = 0;  // TooLarge: what the coefficients would take
};

// Real progressive files have a few tens of scans at most; a file of many
// tiny scans would make the decoder walk the whole picture once a scan, for
// minutes. Files of more scans are refused.
constexpr int kMaxJpegScans = 100;

// Decodes a JPEG file with libjpeg at 1/`denominator` of its size (1, 2, 4
// or 8), straight into opaque pixels in kPictureFormat, with the accurate
// integer DCT and smooth chroma upsampling: a reduced decode good enough to
// filter from. Grey, YCbCr, RGB, CMYK and YCCK files are taken, so that every
// JPEG meets the same scan cap, damage check and data check. Before any scan
// is decoded, the markers are walked to where the data end: a file the
// shared rule calls cut from that and its header alone is refused, and so is
// one whose coefficients would take more than kMaxPictureBytes. libjpeg's own
// buffers are held to decoderMemoryLimit().
JpegDecode decodeJpegScaled(const QString& path, int denominator);

// The bytes libjpeg keeps for the coefficients of the whole picture while
// the scans of a progressive (or otherwise multi-scan) file come in,
// whatever size it is decoded at; 0 for a file decoded in one pass or one
// whose header cannot be read. Reads the headers only.
int64_t jpegCoefficientBytes(const QString& path);

} // namespace imaging
