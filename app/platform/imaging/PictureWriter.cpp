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

// Qt's writers do not report a failed flush or close, and a write that the
// disk cuts short after a part leaves Qt without the reason (a full disk
// reads as an unknown error). So the picture is encoded in memory and its
// bytes written here, each refusal with its reason.
WriteResult writeWithQt(const QImage& picture, QFileDevice& file, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, format);
    if (quality >= 0)
        w.setQuality(quality);
    if (!w.write(picture))
        return {false, w.errorString()};
    return writeAll(file.handle(), bytes);
}

WriteResult encode(const QImage& rgb, QFileDevice& file, Encoder encoder, int quality)
{
    switch (encoder) {
    case Encoder::Jpeg: return writeWithQt(rgb, file, "jpeg", quality);
    case Encoder::Png: return writeWithQt(rgb, file, "png", -1);
    // Qt writes 32-bit pictures as 24-bit bitmaps.
    case Encoder::Bmp: return writeWithQt(rgb.convertToFormat(QImage::Format_RGB32), file, "bmp", -1);
    // These libraries open the file by name and report their own write errors.
    case Encoder::Tiff: return writeTiff(rgb, file.fileName());
    case Encoder::Gif: return writeGif(rgb, file.fileName());
    case Encoder::None: break;
    }
    return {false, QStringLiteral("no encoder")};
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

WriteResult writePicture(const QImage& picture, const QString& path, Encoder encoder, int jpegQuality)
{
    if (picture.isNull())
        return {false, QStringLiteral("empty picture")};
    if (encoder == Encoder::None)
        return {false, QStringLiteral("no encoder for this format")};
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
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    WriteResult r = encode(rgb, temp, encoder, jpegQuality);
    temp.close();
    if (r.ok && temp.error() != QFileDevice::NoError)
        r = {false, temp.errorString()};
    if (r.ok && std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        r = {false, QStringLiteral("cannot replace ") + path, errno};
    if (r.ok)
        temp.setAutoRemove(false);
    return r;
}

} // namespace imaging
