#pragma once

#include <QByteArray>
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

// A picture encoded in memory; `error` says why when there are no bytes.
struct EncodeResult {
    QByteArray bytes;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Encodes the picture as a 24-bit file's bytes (GIF: at most 256 colours;
// TIFF: three 8-bit samples, uncompressed). Touches no file and no shared
// state, so render threads may encode while the window writes.
EncodeResult encodePicture(const QImage& picture, Encoder encoder, int jpegQuality);

// Writes bytes as the file `path`, whole or not at all: written beside the
// target under a temporary name, every write checked, then renamed over it.
WriteResult writeBytes(const QByteArray& bytes, const QString& path);

// encodePicture, then writeBytes.
WriteResult writePicture(const QImage& picture, const QString& path, Encoder encoder, int jpegQuality);

// Encoders behind encodePicture, from a picture in Format_RGB888.
EncodeResult encodeTiff(const QImage& rgb888);
EncodeResult encodeGif(const QImage& rgb888);

} // namespace imaging
