#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The light loader of the preview's thumbnails and of the measuring step: it
// reads BMP, JPEG and GIF files only (by their content), so PNG and TIFF
// entries show no thumbnail and are not measured. It never turns a picture by
// its EXIF orientation.
struct ViewPicture {
    QImage image;   // null when the file is not one of the three or cannot be decoded
    QSize natural;  // the picture's own size in pixels; empty with a null image
};

// Decodes a picture; with a valid `box` it is decoded already shrunk to fit
// into the box (never enlarged), which keeps thumbnails of big photos cheap.
ViewPicture loadViewPicture(const QString& path, QSize box = {});
