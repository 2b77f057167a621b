#include "processing/PictureDrawing.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/imaging/ColorMatrixFilter.h"
#include "platform/imaging/PictureReader.h"
#include "platform/imaging/Resample.h"
#include "processing/CDIB.h"
#include "processing/ErrorLines.h"
#include "processing/LoadTrouble.h"
#include "processing/RenderSettings.h"
#include "processing/Rotation.h"
#include "processing/SourceCache.h"
#include "state/AppState.h"
#include "state/NumberText.h"

namespace {

int roundEven(double v) { return roundPixel(v); }

// The start point shifts the picture on the canvas; beyond the largest
// canvas side it only moves the picture further out of sight, so it is held
// there, and the sums with it stay finite.
double startPoint(float v)
{
    constexpr double kLimit = double(kMaxCanvasPixels);
    return std::isfinite(v) ? std::clamp(double(v), -kLimit, kLimit) : 0.0;
}

void cropOrPad(DrawGeometry& g, double iw, double ih, const DrawSettings& s)
{
    const double W = g.W, H = g.H;
    const bool wide = iw / ih >= W / H;
    if (s.bPicJQ == 1) {
        if (wide) {
            g.sw = ih * W / H;
            g.sx = s.iXCutMode == 1 ? (iw - g.sw) / 2 : s.iXCutMode == 2 ? iw - g.sw : 0;
        } else {
            g.sh = iw * H / W;
            g.sy = s.iYCutMode == 1 ? (ih - g.sh) / 2 : s.iYCutMode == 2 ? ih - g.sh : 0;
        }
    } else if (wide) {
        g.dx = 0;
        g.dy = startPoint(s.sngYp) + (H - W * ih / iw) / 2;
        g.dh = H - 2 * g.dy;
    } else {
        g.dy = 0;
        g.dx = startPoint(s.sngXp) + (W - H * iw / ih) / 2;
        g.dw = W - 2 * g.dx;
    }
}

} // namespace

float sizeFromText(const QString& text)
{
    return float(numtext::leadingNumberIn(text, -1e9, 1e9));
}

int roundPixel(double v)
{
    constexpr double kLimit = double(1 << 30);
    if (std::isnan(v))
        return 0;
    return int(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

bool hasBorder(const QString& sBkFile)
{
    return !sBkFile.isEmpty() && sBkFile != QStringLiteral("无边框");
}

DrawGeometry computeDrawGeometry(QSize src, float W, float H, const DrawSettings& s, QSize border)
{
    DrawGeometry g;
    const double iw = src.width(), ih = src.height();
    g.sw = iw;
    g.sh = ih;
    switch (s.iSizeMode) {
    case 0:
        H = float(double(W) * ih / iw);
        break;
    case 1:
        if (border.isValid()) {
            W = float(border.width());
            H = float(border.height());
        }
        break;
    case 2:
        W = float(iw);
        H = float(ih);
        break;
    default:
        break;
    }
    g.W = W;
    g.H = H;
    g.dx = startPoint(s.sngXp);
    g.dy = startPoint(s.sngYp);
    g.dw = W;
    g.dh = H;
    if (s.iSizeMode != 0 && s.iSizeMode != 2)
        cropOrPad(g, iw, ih, s);
    return g;
}

DrawRects roundRects(const DrawGeometry& g)
{
    return {roundEven(g.sx), roundEven(g.sy), roundEven(g.sw), roundEven(g.sh),
            roundEven(g.dx), roundEven(g.dy), roundEven(g.dw), roundEven(g.dh)};
}

QSize canvasSize(const DrawGeometry& g)
{
    if (!std::isfinite(g.W) || !std::isfinite(g.H) || g.W >= INT32_MAX || g.H >= INT32_MAX)
        return {};
    const QSize s(roundEven(g.W), roundEven(g.H));
    if (s.width() <= 0 || s.height() <= 0)
        return {};
    // The same cap as the bitmap surface the effects work on, and no more
    // pixels than a working copy of the picture can hold in a sane amount of memory.
    const size_t stride = (size_t(s.width()) * 3 + 3) & ~size_t(3);
    if (stride > CDIB::kMaxBytes / size_t(s.height()))
        return {};
    if (size_t(s.width()) * size_t(s.height()) > kMaxCanvasPixels)
        return {};
    return s;
}

QImage DrawPicFile(const QString& path, float W, float H, const AppState& st, QStringList& errors)
{
    return DrawPicFile(path, W, H, snapshotSettings(st), errors);
}

QImage DrawPicFile(const QString& path, float W, float H, const RenderSettings& st, QStringList& errors, int turn,
                   LoadTrouble* sourceTrouble, SourceCache* sources)
{
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (!probe.ok()) {
        // A file that is not there is no invalid picture.
        const RunError e = QFileInfo::exists(path) ? RunError::InvalidPicture : RunError::FileNotFound;
        errors << errorLine(path, QStringLiteral("在显示图片时发生错误:("), e, QString());
        return {};
    }
    const ProgramState& ps = st.ps;
    const DrawSettings s{ps.iSizeMode, ps.bPicJQ, ps.iXCutMode, ps.iYCutMode, st.pic.sngXp, st.pic.sngYp};
    QSize border;
    if (s.iSizeMode == 1 && hasBorder(ps.sBkFile))
        border = imaging::probePicture(ps.sBkFile).size;
    const DrawGeometry g = computeDrawGeometry(turnedSize(probe.size, turn), W, H, s, border);
    const QSize size = canvasSize(g);
    QImage canvas;
    if (size.isValid())
        canvas = QImage(size, QImage::Format_RGB32);
    if (canvas.isNull()) {
        // A canvas refused for its size says so; one that memory refused does not.
        const bool oversized = !size.isValid() && std::isfinite(g.W) && std::isfinite(g.H) && g.W >= 0.5 &&
                               g.H >= 0.5 && g.W < 1e15 && g.H < 1e15;
        // A target that leaves no pixel (empty, zero or negative) is no
        // shortage of memory: the line names the size that was asked for.
        const bool empty = !size.isValid() && !(std::isfinite(g.W) && std::isfinite(g.H) && g.W >= 0.5 && g.H >= 0.5);
        if (empty) {
            const auto side = [](double v) { return std::isfinite(v) ? QString::number(std::llround(v)) : QStringLiteral("?"); };
            errors << errorLine(path, QStringLiteral("在缩放图片时发生错误:(错误代码:"), RunError::None,
                                QStringLiteral("输出尺寸无效(宽 %1, 高 %2)").arg(side(g.W), side(g.H)));
            return {};
        }
        const QString detail =
            oversized ? tooLargeText(std::llround(g.W), std::llround(g.H), kMaxCanvasPixels) : QString();
        errors << errorLine(path, QStringLiteral("在缩放图片时发生错误:(错误代码:"), RunError::OutOfMemory, detail);
        return {};
    }
    canvas.fill(Qt::white);

    const DrawRects r = roundRects(g);
    if (r.dw <= 0 || r.dh <= 0 || r.sw <= 0 || r.sh <= 0)
        return canvas;
    // Only the part of the destination that lies on the canvas is resampled.
    const QRect dest(r.dx, r.dy, r.dw, r.dh);
    const QRect visible = dest.intersected(canvas.rect());
    if (visible.isEmpty())
        return canvas;
    const double ax = double(r.sw) / r.dw, ay = double(r.sh) / r.dh;
    const QRectF region = unturnedRegion(QRectF(r.sx + (visible.x() - dest.x()) * ax, r.sy + (visible.y() - dest.y()) * ay,
                                                visible.width() * ax, visible.height() * ay),
                                         probe.size, turn);

    const double shrink = std::min(ax, ay);
    imaging::LoadedPicture fresh;
    if (!sources)
        fresh = imaging::loadPictureReduced(path, probe, shrink);
    const imaging::LoadedPicture& loaded = sources ? sources->load(path, probe, shrink) : fresh;
    const LoadTrouble trouble = loadTrouble(loaded, probe.size);
    if (sourceTrouble)
        *sourceTrouble = trouble;
    // A damaged picture is saved all the same: the part that decoded is often most of a photo.
    if (trouble.any())
        errors << errorLine(path, QStringLiteral("在显示图片时发生错误:("), trouble.kind, trouble.detail);
    const QImage& decoded = loaded.image;
    if (decoded.isNull())
        return {};
    const double fx = double(decoded.width()) / probe.size.width();
    const double fy = double(decoded.height()) / probe.size.height();
    const QRectF scaled(region.x() * fx, region.y() * fy, region.width() * fx, region.height() * fy);
    // Resampled as stored, then turned: the same pixels as turning first,
    // without turning the whole decoded picture.
    QImage part = imaging::resampleRegion(decoded, scaled, turnedSize(visible.size(), turn));
    RotatePicture(part, turn, QString());
    imaging::applyColorMatrix(part, st.pic.cmPic);
    QPainter p(&canvas);
    p.drawImage(visible.topLeft(), part);
    return canvas;
}
