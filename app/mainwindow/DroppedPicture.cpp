#include "mainwindow/DroppedPicture.h"

#include <QDir>
#include <QFile>

#include "state/PicturePaths.h"

namespace {

QString freeName(const QString& userDir, const QString& stem)
{
    QString path = joinPath(userDir, stem + QStringLiteral(".bmp"));
    for (int n = 1; QFile::exists(path); ++n)
        path = joinPath(userDir, QStringLiteral("%1_%2.bmp").arg(stem).arg(n));
    return path;
}

} // namespace

QString saveDroppedPicture(const QImage& picture, const QString& userDir, const QDateTime& now)
{
    if (picture.isNull() || !QDir().mkpath(userDir))
        return {};
    const QString path =
        freeName(userDir, QStringLiteral("tempWL") + now.toString(QStringLiteral("ddHHmmss")));
    // The list takes 24-bit bitmaps; transparency has no place in them.
    if (!picture.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        QFile::remove(path);
        return {};
    }
    return path;
}
