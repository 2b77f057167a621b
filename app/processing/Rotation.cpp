#include "processing/Rotation.h"

#include <QTransform>
#include <cmath>

#include "processing/ExifReader.h"

int modeForOrientation(const QString& orientation)
{
    if (orientation == u"2") return rmFlipHorz;
    if (orientation == u"3") return rmHalf;
    if (orientation == u"4") return rmFlipVert;
    if (orientation == u"6") return rmRight;
    if (orientation == u"8") return rmLeft;
    return rmNone;
}

int resolveTurn(int mode, const QString& path)
{
    if (mode == rmAuto) {
        ExifReader reader;
        reader.Load(path);
        return modeForOrientation(reader.Tag(274).toString());
    }
    return mode > 1 ? mode : rmNone;
}

QSize turnedSize(QSize size, int turn)
{
    return turn == rmRight || turn == rmLeft ? size.transposed() : size;
}

QRectF unturnedRegion(const QRectF& r, QSize source, int turn)
{
    const double w = source.width(), h = source.height();
    switch (turn) {
    case rmRight:  // turned x runs down the source from its bottom, turned y along it
        return QRectF(r.top(), h - r.right(), r.height(), r.width());
    case rmLeft:
        return QRectF(w - r.bottom(), r.left(), r.height(), r.width());
    case rmHalf:
        return QRectF(w - r.right(), h - r.bottom(), r.width(), r.height());
    case rmFlipVert:
        return QRectF(r.left(), h - r.bottom(), r.width(), r.height());
    case rmFlipHorz:
        return QRectF(w - r.right(), r.top(), r.width(), r.height());
    default:
        return r;
    }
}

void RotatePicture(QImage& picture, int mode, const QString& path)
{
    if (picture.isNull())
        return;
    mode = resolveTurn(mode, path);
    switch (mode) {
    case rmRight:
        picture = picture.transformed(QTransform().rotate(90));
        break;
    case rmLeft:
        picture = picture.transformed(QTransform().rotate(-90));
        break;
    case rmHalf:
        picture = picture.mirrored(true, true);
        break;
    case rmFlipVert:
        picture = picture.mirrored(false, true);
        break;
    case rmFlipHorz:
        picture = picture.mirrored(true, false);
        break;
    default:
        break;
    }
}

QRect fitPreview(QSize picture, QSize area, QSize current)
{
    const double W2 = picture.width(), H2 = picture.height(), PW = area.width(), PH = area.height();
    if (W2 <= 0 || H2 <= 0 || PW <= 0 || PH <= 0)
        return QRect(QPoint(0, 0), current);
    const auto r = [](double v) { return int(std::nearbyint(v)); };
    if (W2 / H2 >= PW / PH) {
        if (W2 > PW) {
            const double h = H2 * PW / W2;
            return QRect(0, r((PH - h) / 2), r(PW), r(h));
        }
    } else if (H2 > PH) {
        const double w = W2 * PH / H2;
        return QRect(r((PW - w) / 2), 0, r(w), r(PH));
    }
    return QRect(r((PW - W2) / 2), r((PH - H2) / 2), current.width(), current.height());
}
