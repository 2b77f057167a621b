#include "processing/RenderCost.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/JpegDecoder.h"
#include "platform/imaging/PictureReader.h"
#include "processing/PictureDrawing.h"
#include "processing/RenderSettings.h"

namespace {

int64_t pixels(QSize s)
{
    return s.isValid() ? int64_t(s.width()) * s.height() : 0;
}

// Bytes a pixel takes as the reader hands it over and, when that is not
// 32 bits, again once converted.
int64_t decodeBytesPerPixel(const QString& path, const QByteArray& format)
{
    if (format == "jpeg")
        return 4;
    QImageReader r(path);
    const int depth = QImage::toPixelFormat(r.imageFormat()).bitsPerPixel();
    return depth == 32 ? 4 : std::max(depth, 8) / 8 + 4;
}

} // namespace

RenderCost estimateRenderCost(const QString& path, const RenderSettings& s, const RenderAssets& a)
{
    if (!QFileInfo(path).isFile())  // a FIFO would block the probe; the render reports it
        return {};
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (!probe.ok())
        return {};
    const float W = sizeFromText(s.panel.txtW);
    const float H = sizeFromText(s.panel.txtH);
    const DrawSettings d{s.ps.iSizeMode, s.ps.bPicJQ, s.ps.iXCutMode, s.ps.iYCutMode, s.pic.sngXp, s.pic.sngYp};
    // The turn the EXIF orientation asks for is not read here: the larger
    // of the two ways round stands for it.
    // A progressive JPEG keeps the coefficients of the whole picture
    // whatever size it is decoded at: 3 bytes a pixel for a colour photo,
    // 8 for CMYK without subsampling. Every JPEG counts at least the 3.
    // The decoder reads a JPEG file whole into memory first, to walk its markers.
    const int64_t jpegBuffers =
        probe.format == "jpeg"
            ? std::max(pixels(probe.size) * 3, imaging::jpegCoefficientBytes(path)) + QFileInfo(path).size()
            : 0;
    RenderCost cost;
    for (const QSize source : {probe.size, probe.size.transposed()}) {
        const DrawGeometry g = computeDrawGeometry(source, W, H, d, a.border.size());
        const int64_t canvas = pixels(canvasSize(g));
        const DrawRects r = roundRects(g);
        const double shrink = r.dw > 0 && r.dh > 0 ? std::min(double(r.sw) / r.dw, double(r.sh) / r.dh) : 1.0;
        int64_t decode = pixels(imaging::reducedDecodeSize(probe, std::max(shrink, 1e-9))) *
                         decodeBytesPerPixel(path, probe.format);
        decode += jpegBuffers;
        // The canvas, the copies the effect and the conversion make, the result.
        const int64_t work = canvas * 4 * 3;
        cost.peak = std::max(cost.peak, decode + work);
        cost.result = std::max(cost.result, canvas * 3);
    }
    return cost;
}

int64_t defaultMemoryBudget()
{
    // The same share libjpeg's buffers are held to: one picture may take the whole budget.
    return imaging::freeMemoryShare();
}
