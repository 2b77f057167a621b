#include "platform/imaging/PictureReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <atomic>

#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/GifDecoder.h"
#include "platform/imaging/JpegDecoder.h"
#include "platform/imaging/Resample.h"

namespace imaging {

namespace {

std::atomic<DecodeWatch> decodeWatch{nullptr};

void noteDecode(const QString& path)
{
    if (const DecodeWatch watch = decodeWatch.load(std::memory_order_relaxed))
        watch(path);
}

// Only regular files are opened: a FIFO would block the open forever.
bool readable(const QString& path)
{
    return QFileInfo(path).isFile();
}

// Qt's decoders refuse by their own byte limit (256 MiB by default, a
// 64-megapixel photo); ours is the pixel cap, at the widest layout a decoder
// may produce (16 bits per channel and alpha).
constexpr int kDecoderLimitMiB = int(kMaxPicturePixels * 8 / (1024 * 1024));

void prepare(QImageReader& r)
{
    // Qt's limit is one setting for the whole program: set once, so that
    // readers on several threads never write it at the same time.
    static const bool limitSet = [] {
        QImageReader::setAllocationLimit(kDecoderLimitMiB);
        return true;
    }();
    (void)limitSet;
    r.setAutoTransform(false);
    r.setDecideFormatFromContent(true);
}

bool withinLimit(QSize s)
{
    return int64_t(s.width()) * int64_t(s.height()) <= kMaxPicturePixels;
}

// Every decoded picture leaves here in kPictureFormat. A full-size decode
// goes into the memory the thread keeps for decoding (when it keeps any);
// 32-bit pictures are brought to the format where they lie.
QImage decode(QImageReader& r, bool intoKeptMemory)
{
    QImage image;
    if (intoKeptMemory && r.scaledSize().isEmpty())
        image = decodeTarget(r.size(), r.imageFormat());
    if (!r.read(&image))
        return {};
    if (image.format() == QImage::Format_ARGB32) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qPremultiply(line[x]);
        }
        image.reinterpretAsFormat(kPictureFormat);
    } else if (image.format() == QImage::Format_RGB32) {
        image.reinterpretAsFormat(kPictureFormat);  // 0xffRRGGBB is an opaque premultiplied pixel
    }
    image.convertTo(kPictureFormat);
    return image;
}

// A GIF is painted on a canvas of its logical screen's size, but Qt's probe
// reports the first frame's size when the screen is more than ten times
// larger: the screen is what gets allocated. A side of 0 falls back to the
// frame, as in the reader.
QSize gifScreen(const QString& path, QSize frames)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return frames;
    const QByteArray head = f.read(10);
    if (head.size() < 10)
        return frames;
    const auto le16 = [&](int at) { return int(uchar(head[at])) | int(uchar(head[at + 1])) << 8; };
    return QSize(le16(6) > 0 ? le16(6) : frames.width(), le16(8) > 0 ? le16(8) : frames.height());
}

} // namespace

PictureProbe probePicture(const QString& path)
{
    QImageReader r(path);
    prepare(r);
    PictureProbe p;
    if (!readable(path) || !r.canRead())
        return p;
    p.size = r.size();
    p.format = r.format();
    if (p.format == "gif" && p.ok())
        p.size = gifScreen(path, p.size);
    return p;
}

QImage loadPicture(const QString& path)
{
    if (!readable(path))
        return {};
    const PictureProbe probe = probePicture(path);
    if (probe.ok() && !withinLimit(probe.size))
        return {};
    noteDecode(path);
    // Every JPEG goes through the decoder that holds the scan cap and the data check.
    if (probe.format == "jpeg")
        return decodeJpegScaled(path, 1).image;
    if (probe.format == "gif")
        return decodeGifFirstFrame(path).image;
    QImageReader r(path);
    prepare(r);
    return decode(r, false);
}

namespace {

// The DCT scale loadPictureReduced decodes at: the smallest that still leaves
// at least twice the pixels needed, so the resampler's filter has real detail
// to work on instead of the decoder's own cruder reduction.
int jpegDenominator(const PictureProbe& probe, double shrink)
{
    int p = 1;
    if (probe.format == "jpeg" && probe.ok())
        while (p < 8 && shrink >= 4.0 * p)
            p *= 2;
    return p;
}

// Whether a picture of this size could be allocated at all just now: tells a
// reader that failed for want of memory from one that failed on the data.
bool allocatable(QSize size)
{
    return !QImage(size, kPictureFormat).isNull();
}

} // namespace

QSize reducedDecodeSize(const PictureProbe& probe, double shrink)
{
    const int p = jpegDenominator(probe, shrink);
    // libjpeg rounds a reduced size up.
    return QSize((probe.size.width() + p - 1) / p, (probe.size.height() + p - 1) / p);
}

LoadedPicture loadPictureReduced(const QString& path, const PictureProbe& probe, double shrink)
{
    if (!readable(path))
        return {};
    LoadedPicture out;
    const int p = jpegDenominator(probe, shrink);
    out.decodedSize = reducedDecodeSize(probe, shrink);
    if (!withinLimit(out.decodedSize)) {
        out.tooLarge = true;
        return out;
    }
    noteDecode(path);
    if (probe.format == "jpeg") {
        // Every JPEG is decoded here, whatever its colour model: another
        // reader would have neither the scan cap nor the checks on the data.
        JpegDecode decoded = decodeJpegScaled(path, p);
        out.image = std::move(decoded.image);
        out.damaged = decoded.status == JpegStatus::Damaged;
        out.tooManyScans = decoded.status == JpegStatus::TooManyScans;
        out.tooLittleData = decoded.status == JpegStatus::TooLittleData;
        out.noMemory = decoded.status == JpegStatus::NoMemory;
        out.cutUndecoded = decoded.status == JpegStatus::Cut;
        out.tooLarge = decoded.status == JpegStatus::TooLarge;
        out.bufferBytes = decoded.coefficientBytes;
        return out;
    }
    if (probe.format == "gif") {
        // Every GIF is read by the one reader that knows where its data ends.
        GifDecode decoded = decodeGifFirstFrame(path);
        out.image = std::move(decoded.image);
        out.noMemory = decoded.noMemory;
        out.damaged = decoded.damaged;
        return out;
    }
    QImageReader r(path);
    prepare(r);
    out.image = decode(r, true);
    if (out.image.isNull() && probe.ok() && !allocatable(out.decodedSize))
        out.noMemory = true;
    return out;
}

QImage loadPictureAt(const QString& path, const PictureProbe& probe, QSize size)
{
    if (!probe.ok() || size.isEmpty())
        return {};
    const double shrink = std::min(double(probe.size.width()) / size.width(),
                                   double(probe.size.height()) / size.height());
    const LoadedPicture loaded = loadPictureReduced(path, probe, shrink);
    return thumbnailOf(loaded.image, size);
}

void setDecodeWatch(DecodeWatch watch)
{
    decodeWatch.store(watch, std::memory_order_relaxed);
}

} // namespace imaging
