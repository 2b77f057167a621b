#include "platform/imaging/PictureWriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {

namespace {

EncodeResult encodeWithQt(const QImage& picture, const char* format, int quality)
{
    EncodeResult r;
    QBuffer buffer(&r.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, format);
    if (quality >= 0)
        w.setQuality(quality);
    if (!w.write(picture))
        return {{}, w.errorString()};
    return r;
}

} // namespace

WriteResult writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int e = n < 0 ? errno : ENOSPC;
            return {false, QString::fromLocal8Bit(std::strerror(e)), e};
        }
        data += n;
        left -= n;
    }
    return {true, {}, 0};
}

Encoder encoderFor(const QString& format)
{
    const QString f = format.toLower();
    if (f == u"jpg" || f == u"jpeg" || f == u"jpe") return Encoder::Jpeg;
    if (f == u"png") return Encoder::Png;
    if (f == u"gif") return Encoder::Gif;
    if (f == u"tiff" || f == u"tif") return Encoder::Tiff;
    if (f == u"bmp") return Encoder::Bmp;
    return Encoder::None;
}

EncodeResult encodePicture(const QImage& picture, Encoder encoder, int jpegQuality)
{
    if (picture.isNull())
        return {{}, QStringLiteral("empty picture")};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    switch (encoder) {
    case Encoder::Jpeg: return encodeWithQt(rgb, "jpeg", jpegQuality);
    case Encoder::Png: return encodeWithQt(rgb, "png", -1);
    // Qt writes 32-bit pictures as 24-bit bitmaps.
    case Encoder::Bmp: return encodeWithQt(rgb.convertToFormat(QImage::Format_RGB32), "bmp", -1);
    case Encoder::Tiff: return encodeTiff(rgb);
    case Encoder::Gif: return encodeGif(rgb);
    case Encoder::None: break;
    }
    return {{}, QStringLiteral("no encoder for this format")};
}

WriteResult writeBytes(const QByteArray& bytes, const QString& path)
{
    // A short hidden name of its own beside the target (a long target name
    // still leaves room for it), created anew so it is never an existing
    // file; removed unless it becomes the target.
    QTemporaryFile temp(QFileInfo(path).absolutePath() + QStringLiteral("/.vimo-XXXXXX"));
    if (!temp.open())
        return {false, QStringLiteral("cannot create a file beside ") + path + QStringLiteral(": ") + temp.errorString()};
    // The usual permissions of a new file (the umask's), not a temporary's private ones.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temp.handle(), 0666 & ~mask);
    // Qt's files do not give the reason of a write the disk cuts short (a full
    // disk reads as an unknown error): the bytes go through the handle.
    WriteResult r = writeAll(temp.handle(), bytes);
    temp.close();
    if (r.ok && temp.error() != QFileDevice::NoError)
        r = {false, temp.errorString()};
    if (r.ok && std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        r = {false, QStringLiteral("cannot replace ") + path, errno};
    if (r.ok)
        temp.setAutoRemove(false);
    return r;
}

WriteResult writePicture(const QImage& picture, const QString& path, Encoder encoder, int jpegQuality)
{
    if (encoder == Encoder::None)
        return {false, QStringLiteral("no encoder for this format")};
    const EncodeResult encoded = encodePicture(picture, encoder, jpegQuality);
    if (!encoded.ok())
        return {false, encoded.error};
    return writeBytes(encoded.bytes, path);
}

} // namespace imaging
