#include "mainwindow/preview/MarkScene.h"

#include <QDateTime>

#include "platform/imaging/TextPainter.h"
#include "processing/FrameAndMarks.h"
#include "state/AppState.h"

MarkScene makeMarkScene(const AppState& st, QRectF image, QSizeF picture, QSizeF textExtent)
{
    MarkScene s;
    s.image = image;
    s.picture = picture;
    s.text = textExtent;
    s.pictureMark = QSizeF(st.ps.sngSyW, st.ps.sngSyH);
    s.textOn = st.panel.chkInfoTxt == 1 && !st.ps.sText.isEmpty();
    s.pictureOn = st.panel.chkInfoImg == 1 && !st.ps.sSyFile.isEmpty();
    return s;
}

QSizeF measureMarkText(const ProgramState& ps, const QString& path)
{
    if (ps.sText.isEmpty())
        return {};
    // The zone follows the text as printed, placeholders expanded.
    const QString text = expandMarkText(ps.sText, path, QDateTime::currentDateTime());
    const QFont font = imaging::makeFont({ps.sFont, ps.iSize, ps.sBold, ps.sUnderline, ps.sItalic});
    return imaging::measureText(text, font);
}

namespace {

bool between(double low, double v, double high) { return low < v && v < high; }

bool inTextZone(const MarkScene& s, const ProgramState& ps, QPointF p)
{
    const double x = s.image.width() * ps.iuTSyX, y = s.image.height() * ps.iuTSyY;
    const double tw = s.text.width(), th = s.text.height();
    return between(x - tw / 4, p.x(), x + tw) && between(y - th, p.y(), y + 2 * th);
}

bool inPictureZone(const MarkScene& s, const ProgramState& ps, QPointF p)
{
    const double x = s.image.width() * ps.iuISyX, y = s.image.height() * ps.iuISyY;
    const double hw = s.pictureMark.width() / 2, hh = s.pictureMark.height() / 2;
    return between(x - hw, p.x(), x + hw) && between(y - hh, p.y(), y + hh);
}

} // namespace

MarkHit hitWatermark(const MarkScene& scene, const ProgramState& ps, QPointF p)
{
    if (scene.textOn && inTextZone(scene, ps, p))
        return MarkHit::Text;
    if (scene.pictureOn && inPictureZone(scene, ps, p))
        return MarkHit::Picture;
    return MarkHit::None;
}

QRectF markerUnder(MarkHit which, const MarkScene& s, const ProgramState& ps)
{
    const QPointF origin = s.image.topLeft();
    const double W = s.image.width(), H = s.image.height();
    if (which == MarkHit::Picture) {
        const double width = s.pictureMark.width() * s.scaleX();
        return {origin.x() + W * ps.iuISyX - width / 2,
                origin.y() + H * ps.iuISyY + s.pictureMark.height() * s.scaleY() / 2, width,
                kMarkerThickness};
    }
    if (which == MarkHit::Text) {
        return {origin.x() + W * ps.iuTSyX, origin.y() + H * ps.iuTSyY + s.text.height() / 2 * s.scaleX(),
                s.text.width() * s.scaleX(), kMarkerThickness};
    }
    return {};
}
