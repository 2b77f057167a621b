#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Rotation modes of the rotation menu.
enum RotateMode {
    rmNone = 0,
    rmAuto = 2,      // upright by the EXIF orientation of the source
    rmRight = 3,     // quarter turn clockwise
    rmLeft = 4,      // quarter turn counter-clockwise
    rmHalf = 5,      // half turn
    rmFlipVert = 6,  // top and bottom change places
    rmFlipHorz = 7,  // left and right change places
};

// The mode that an EXIF Orientation text asks for in automatic mode; 0 when
// the picture is left as it is (1, 5, 7, anything else, or no tag).
int modeForOrientation(const QString& orientation);

// Turns or mirrors the picture exactly (lossless quarter turns and mirrors),
// in memory. Mode 2 reads the orientation of the source file `path`.
void RotatePicture(QImage& picture, int mode, const QString& path);

// Where the preview image goes after a turn: a picture larger than the
// preview area is scaled down to fit it and centred on the other axis; a
// smaller one is centred and keeps the size the preview image had (`current`).
// Positions and sizes are rounded half to even.
QRect fitPreview(QSize picture, QSize area, QSize current);
