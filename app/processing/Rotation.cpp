#include "processing/Rotation.h"

#include <QTransform>

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

void RotatePicture(QImage& picture, int mode, const QString& path)
{
    if (picture.isNull())
        return;
    if (mode == rmAuto) {
        ExifReader reader;
        reader.Load(path);
        mode = modeForOrientation(reader.Tag(274).toString());
    }
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
