#include "RedPicture.h"

#include <QBuffer>

QByteArray redPng()
{
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int redPixels(const QImage& shot)
{
    int count = 0;
    const QImage rgb = shot.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            count += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
        }
    return count;
}
