#include "platform/imaging/PictureWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <cstdio>

namespace imaging {

namespace {

WriteResult writeWithQt(const QImage& picture, const QString& path, const char* format, int quality)
{
    QImageWriter w(path, format);
    if (quality >= 0)
        w.setQuality(quality);
    if (!w.write(picture))
        return {false, w.errorString()};
    return {true, {}};
}

WriteResult encode(const QImage& rgb, const QString& path, Encoder encoder, int quality)
{
    switch (encoder) {
    case Encoder::Jpeg: return writeWithQt(rgb, path, "jpeg", quality);
    case Encoder::Png: return writeWithQt(rgb, path, "png", -1);
    // Qt writes 32-bit pictures as 24-bit bitmaps.
    case Encoder::Bmp: return writeWithQt(rgb.convertToFormat(QImage::Format_RGB32), path, "bmp", -1);
    case Encoder::Tiff: return writeTiff(rgb, path);
    case Encoder::Gif: return writeGif(rgb, path);
    case Encoder::None: break;
    }
    return {false, QStringLiteral("no encoder")};
}

} // namespace

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
    // A hidden name beside the target, made with the user's usual permissions.
    const QFileInfo target(path);
    const QString temp = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".part");
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    WriteResult r = encode(rgb, temp, encoder, jpegQuality);
    if (r.ok && std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0)
        r = {false, QStringLiteral("cannot replace ") + path};
    if (!r.ok)
        QFile::remove(temp);
    return r;
}

} // namespace imaging
