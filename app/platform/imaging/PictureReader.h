#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

// Loading picture files. Pictures are never turned by their EXIF orientation
// here: turning belongs to the rotation step alone.
namespace imaging {

// The one pixel layout every loaded picture is handed on in, whatever the file
// held (palette, 1-bit, grey, 16 bits per channel, alpha or not): 8 bits per
// channel, alpha premultiplied, opaque pictures with alpha 255. Resampling
// and painting average premultiplied pixels correctly, and Qt's smooth scaler
// and painter take this layout without a conversion of their own.
constexpr QImage::Format kPictureFormat = QImage::Format_ARGB32_Premultiplied;

// Largest picture we decode, in pixels: 2 GiB in kPictureFormat. The decoder
// may need up to 8 bytes a pixel on the way (16 bits per channel).
constexpr int64_t kMaxPicturePixels = int64_t(1) << 29;
// What the largest picture takes in kPictureFormat: no decoder's own
// buffers for one picture may take more.
constexpr int64_t kMaxPictureBytes = kMaxPicturePixels * 4;

struct PictureProbe {
    QSize size;          // pixels; empty when the file cannot be read
    QByteArray format;   // "jpeg", "png", ... as Qt names it
    bool ok() const { return size.width() > 0 && size.height() > 0; }
};

// What a load gave: the picture in kPictureFormat, or null and why.
struct LoadedPicture {
    QImage image;
    QSize decodedSize;      // the size the decoder was asked for
    bool tooLarge = false;  // decodedSize holds more than kMaxPicturePixels, or the decoder's buffers
                            // more than kMaxPictureBytes
    int64_t bufferBytes = 0;  // tooLarge for the decoder's buffers: the bytes they would take
    bool noMemory = false;  // the decoded picture could not be allocated
    bool damaged = false;   // the image holds what decoded; the file ends early or is corrupt
    bool tooManyScans = false;  // a progressive JPEG of more than kMaxJpegScans scans
    bool tooLittleData = false; // a JPEG whose data could not code the size its header claims
    bool cutUndecoded = false;  // a JPEG the shared rule calls cut before decoding: no picture
};

// Reads the size and the format without decoding the pixels. The size is
// the one the decoder produces: for a GIF the logical screen its frames are
// painted on, however small the frames.
PictureProbe probePicture(const QString& path);

// Decodes the whole picture; null when it cannot be read or is too large, or
// is a JPEG that loadPictureReduced refuses. A damaged JPEG or GIF gives what decoded.
QImage loadPicture(const QString& path);

// The size loadPictureReduced decodes a picture of `probe` at for `shrink`.
QSize reducedDecodeSize(const PictureProbe& probe, double shrink);

// Decodes a picture whose drawn part is `shrink` times larger than needed at
// a reduced size where the format can do that cheaply (JPEG: DCT scaling by
// 1/2, 1/4 or 1/8), keeping at least twice the pixels needed (full/shrink x 2)
// for the resampler; other formats come back at full size. The size limit holds
// for the reduced size, so a huge JPEG that is shrunk anyway still loads.
LoadedPicture loadPictureReduced(const QString& path, const PictureProbe& probe, double shrink);

// The whole picture, as loadPicture gives it, with what went wrong reading it.
inline LoadedPicture loadWholePicture(const QString& path)
{
    return loadPictureReduced(path, probePicture(path), 1);
}

// The whole picture at exactly `size` (a thumbnail): decoded as small as the
// format allows, then made into a thumbnail (thumbnailOf). Null when it cannot
// be read, is too large, or `size` is empty.
QImage loadPictureAt(const QString& path, const PictureProbe& probe, QSize size);

// Told the path of every picture file about to be decoded, on the decoding
// thread: every decode of this file passes here. Tests count decodes with it;
// none is set in the program.
using DecodeWatch = void (*)(const QString& path);
void setDecodeWatch(DecodeWatch watch);

} // namespace imaging
