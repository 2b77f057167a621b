#include "processing/FrameAndMarks.h"

#include <QColor>
#include <QFileInfo>
#include <QPainter>
#include <cmath>

#include "platform/imaging/ColorMatrixFilter.h"
#include "platform/imaging/PictureReader.h"
#include "platform/imaging/TextPainter.h"
#include "processing/ErrorLines.h"
#include "processing/ExifReader.h"
#include "processing/PictureDrawing.h"
#include "processing/RenderSettings.h"
#include "state/AppState.h"

namespace {

constexpr double kMargin = 5;

int roundEven(double v) { return roundPixel(v); }

QColor fromColorRef(int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void drawBorder(QImage& canvas, const QImage& border)
{
    if (border.isNull())
        return;  // none chosen, or one that cannot be read: drawn as nothing
    QPainter p(&canvas);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), canvas.size()),
                border.scaled(canvas.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void drawPictureMark(QImage& canvas, const QString& path, int posImg, const RenderSettings& s,
                     const RenderAssets& a, MarkPositions& placed, QStringList& errors)
{
    const ProgramState& ps = s.ps;
    const QString& head = kMarkErrorHead;
    if (a.mark.isNull()) {
        const LoadTrouble& t = a.markTrouble;
        errors << errorLine(path, head, t.any() ? t.kind : RunError::InvalidPicture, t.detail);
        return;
    }
    const double scale = ps.sngSyScale;
    if (!(scale > 0) || !std::isfinite(scale)) {
        errors << errorLine(path, head, RunError::DivisionByZero, QString());
        return;
    }
    const double w = a.markNatural.width() * scale, h = a.markNatural.height() * scale;
    const double cw = canvas.width(), ch = canvas.height();
    // A mark that would cover the canvas many times over is refused before
    // any of its sizes is turned into pixels; one that leaves no pixel is
    // no lack of memory either: both lines name the size.
    const auto refused = [&](const QString& what) {
        errors << errorLine(path, head, RunError::None,
                            QStringLiteral("%1(宽 %2, 高 %3)").arg(what, QString::number(w, 'g', 6), QString::number(h, 'g', 6)));
    };
    if (w > 4 * cw + 64 || h > 4 * ch + 64) {
        refused(QStringLiteral("水印图片太大"));
        return;
    }
    const MarkPlacement m = placePictureMark(posImg, cw, ch, w, h, QPointF(ps.iuISyX, ps.iuISyY));
    placed.picture = true;
    placed.pictureSize = QSizeF(w, h);
    placed.pictureFraction = m.fraction;
    const QRect dest(roundEven(m.topLeft.x()), roundEven(m.topLeft.y()), roundEven(w), roundEven(h));
    if (dest.width() <= 0 || dest.height() <= 0) {
        refused(QStringLiteral("水印图片尺寸无效"));
        return;
    }
    QPainter p(&canvas);
    if (a.mark.size() == dest.size())
        p.drawImage(dest.topLeft(), a.mark);
    else
        p.drawImage(dest.topLeft(), a.mark.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QFont markFont(const ProgramState& ps)
{
    return imaging::makeFont({ps.sFont, ps.iSize, ps.sBold, ps.sUnderline, ps.sItalic});
}

void drawTextMark(QImage& canvas, const QString& path, int posTxt, const RenderSettings& s, const QFont& font,
                  MarkPositions& placed)
{
    const ProgramState& ps = s.ps;
    const QString text = expandMarkText(ps.sText, path, QDateTime::currentDateTime());
    // Placed by the text actually printed, measured with the font it is printed in.
    const QSize size = imaging::measureText(text, font);
    const MarkPlacement m = placeTextMark(posTxt, canvas.width(), canvas.height(), size.width(),
                                          size.height(), QPointF(ps.iuTSyX, ps.iuTSyY));
    placed.text = true;
    placed.textFraction = m.fraction;
    // A stored free position far off the canvas prints nothing; the painter
    // is not handed coordinates beyond what it can hold.
    const QRectF box(m.topLeft, QSizeF(size));
    if (!box.intersects(QRectF(canvas.rect())))
        return;
    imaging::drawText(canvas, m.topLeft, text, font, fromColorRef(ps.lColor));
}

} // namespace

const QString kBorderErrorHead = QStringLiteral("在添加边框时发生错误:(错误代码:");
const QString kMarkErrorHead = QStringLiteral("在添加图片水印时发生错误:(错误代码:");

QSize textMarkSize(const AppState& st, const QString& path)
{
    return imaging::measureText(expandMarkText(st.ps.sText, path, QDateTime::currentDateTime()), markFont(st.ps));
}

MarkPlacement placePictureMark(int pos, double cw, double ch, double w, double h, QPointF stored)
{
    const double m = kMargin;
    switch (pos) {
    case posBottomRight: {
        const double x = cw - w - m, y = ch - h - m;
        return {{x, y}, {(x + w / 2) / cw, (y + h / 2) / ch}};
    }
    case posBottomLeft: {
        const double y = ch - h - m;
        return {{m, y}, {(m + w / 2) / cw, (y + h / 2) / ch}};
    }
    case posTopLeft:
        return {{m, m}, {(m + w / 2) / cw, (m + h / 2) / ch}};
    case posTopRight: {
        const double x = cw - w - m;
        return {{x, m}, {(x + w / 2) / cw, (m + h / 2) / ch}};
    }
    case posCentre:
        return {{(cw - w) / 2, (ch - h) / 2}, {0.5, 0.5}};
    default:
        return {{stored.x() * cw - w / 2, stored.y() * ch - h / 2}, stored};
    }
}

MarkPlacement placeTextMark(int pos, double cw, double ch, double tw, double th, QPointF stored)
{
    const double m = kMargin;
    switch (pos) {
    case posBottomRight: {
        const double x = cw - tw - m, y = ch - th - m;
        return {{x, y}, {x / cw, y / ch}};
    }
    case posBottomLeft: {
        const double y = ch - th - m;
        return {{m, y}, {m / cw, y / ch}};
    }
    case posTopLeft:
        return {{m, m}, {m / cw, m / ch}};
    case posTopRight: {
        const double x = cw - tw - m;
        return {{x, m}, {x / cw, m / ch}};
    }
    case posCentre:
        return {{(cw - tw) / 2, (ch - th) / 2}, {(cw - tw) / cw / 2, (ch - th) / ch / 2}};
    default:
        return {{stored.x() * cw, stored.y() * ch}, stored};
    }
}

QString expandMarkText(const QString& sText, const QString& path, const QDateTime& now)
{
    if (sText == u"#当前日期#")
        return now.toString(QStringLiteral("yyyy年MM月dd日"));
    if (sText == u"#当前时间#")
        return now.toString(QStringLiteral("yyyy年MM月dd日 HH:mm"));
    if (sText == u"#JPG照片拍摄时间#") {
        ExifReader reader;
        reader.Load(path);
        return reader.Tag(36867).toString();
    }
    if (sText == u"#图片原文件名#")
        return QFileInfo(path).completeBaseName();
    return sText;
}

void AddFrameAndMarks(QImage& canvas, const QString& path, int posTxt, int posImg, const RenderSettings& s,
                      const RenderAssets& a, MarkPositions& placed, QStringList& errors)
{
    if (canvas.isNull())
        return;
    drawBorder(canvas, a.border);
    if (s.panel.chkInfoImg == 1 && !s.ps.sSyFile.isEmpty())
        drawPictureMark(canvas, path, posImg, s, a, placed, errors);
    if (!s.ps.sText.isEmpty() && s.panel.chkInfoTxt == 1)
        drawTextMark(canvas, path, posTxt, s, imaging::makeFont(a.fontStyle), placed);
}

void AddFrameAndMarks(QImage& canvas, const QString& path, int posTxt, int posImg, AppState& st,
                      QStringList& errors)
{
    const RenderSettings s = snapshotSettings(st);
    MarkPositions placed;
    AddFrameAndMarks(canvas, path, posTxt, posImg, s, prepareAssets(s), placed, errors);
    storeMarkPositions(placed, st);
}
