#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
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

// The fixed turn a picture gets: `mode` itself, or in automatic mode the
// one its EXIF orientation asks for; 0 when it is left as it is.
int resolveTurn(int mode, const QString& path);

// The size of a picture of `size` after `turn` (quarter turns swap the sides).
QSize turnedSize(QSize size, int turn);

// Where a region of the turned picture lies in the picture before `turn`;
// `source` is the size before the turn.
QRectF unturnedRegion(const QRectF& region, QSize source, int turn);

// Turns or mirrors the picture exactly (lossless quarter turns and mirrors),
// in memory. Mode 2 reads the orientation of the source file `path`.
void RotatePicture(QImage& picture, int mode, const QString& path);

// Where the preview image goes after a turn: a picture larger than the
// preview area is scaled down to fit it and centred on the other axis; a
// smaller one is centred and keeps the size the preview image had (`current`).
// Positions and sizes are rounded half to even.
QRect fitPreview(QSize picture, QSize area, QSize current);
