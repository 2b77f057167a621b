#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Loading picture files. Pictures are never turned by their EXIF orientation
// here: turning belongs to the rotation step alone.
namespace imaging {

struct PictureProbe {
    QSize size;          // pixels; empty when the file cannot be read
    QByteArray format;   // "jpeg", "png", ... as Qt names it
    bool ok() const { return size.width() > 0 && size.height() > 0; }
};

// Reads the size and the format without decoding the pixels.
PictureProbe probePicture(const QString& path);

// Decodes the whole picture; null when it cannot be read.
QImage loadPicture(const QString& path);

// Decodes a picture whose drawn part is at least `shrink` times larger than
// needed at a reduced size where the format can do that cheaply (JPEG: DCT
// scaling by 1/2, 1/4 or 1/8). The result may be larger than full/shrink but
// never smaller; other formats come back at full size.
QImage loadPictureReduced(const QString& path, const PictureProbe& probe, double shrink);

} // namespace imaging
