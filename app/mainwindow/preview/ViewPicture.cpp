#include "mainwindow/preview/ViewPicture.h"

#include <QImageReader>

#include "mainwindow/preview/PreviewFit.h"

ViewPicture loadViewPicture(const QString& path, QSize box)
{
    ViewPicture out;
    if (path.isEmpty())
        return out;
    QImageReader r(path);
    r.setAutoTransform(false);
    r.setDecideFormatFromContent(true);
    if (!r.canRead())
        return out;
    const QByteArray format = r.format();
    if (format != "bmp" && format != "jpeg" && format != "gif")
        return out;
    const QSize natural = r.size();
    if (box.isValid() && natural.isValid()) {
        const QSize fitted = fitPicture(natural, box).size();
        if (!fitted.isEmpty() && fitted != natural)
            r.setScaledSize(fitted);
    }
    QImage image = r.read();
    if (image.isNull())
        return out;
    out.natural = natural.isValid() ? natural : image.size();
    out.image = std::move(image);
    return out;
}
