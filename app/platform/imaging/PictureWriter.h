#pragma once

#include <QImage>
#include <QString>

namespace imaging {

enum class Encoder { None, Jpeg, Png, Gif, Tiff, Bmp };

// The encoder for a format text, letter case ignored: "jpg", "jpeg", "jpe" JPEG,
// "png", "gif", "tiff" and "tif" TIFF, "bmp"; anything else None.
Encoder encoderFor(const QString& format);

struct WriteResult {
    bool ok = false;
    QString error;  // why the file was not written
    int errnum = 0; // the system's error number (errno) when the system refused, else 0
};

// Writes all of `bytes` to the open file `fd`, going on after short writes;
// a refusal gives the system's error number (a full disk: ENOSPC).
WriteResult writeAll(int fd, const QByteArray& bytes);

// Writes the picture as a 24-bit file (GIF: at most 256 colours; TIFF: three
// 8-bit samples, uncompressed). The file appears whole or not at all: it is
// written beside the target under a temporary name and then renamed over it.
WriteResult writePicture(const QImage& picture, const QString& path, Encoder encoder, int jpegQuality);

// Encoders behind writePicture, each writing `path` directly.
WriteResult writeTiff(const QImage& rgb888, const QString& path);
WriteResult writeGif(const QImage& rgb888, const QString& path);

} // namespace imaging
