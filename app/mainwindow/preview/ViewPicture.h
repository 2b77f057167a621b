#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The light loader of the preview's thumbnails and of the measuring step: it
// reads every kind the picture list takes (by its content). It never turns a
// picture by its EXIF orientation.
struct ViewPicture {
    QImage image;   // null when the file cannot be decoded
    QSize natural;  // the picture's own size in pixels; empty with a null image
};

// Decodes a picture; with a valid `box` it is decoded already shrunk to fit
// into the box (never enlarged), which keeps thumbnails of big photos cheap.
ViewPicture loadViewPicture(const QString& path, QSize box = {});

// The size of the thumbnail of a picture of `natural` size in `box`: fitted,
// never enlarged; the picture's own size without a box.
QSize thumbnailSize(QSize natural, QSize box);

// The thumbnail made from pixels already decoded, at any size, of a picture
// of `natural` size: resampled to thumbnailSize. Null for a null picture.
QImage thumbnailFrom(const QImage& decoded, QSize natural, QSize box);
