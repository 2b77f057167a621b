#include "mainwindow/preview/ViewPicture.h"

#include "mainwindow/preview/PreviewFit.h"
#include "platform/imaging/PictureReader.h"

ViewPicture loadViewPicture(const QString& path, QSize box)
{
    ViewPicture out;
    if (path.isEmpty())
        return out;
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (!probe.ok())
        return out;
    const QSize fitted = box.isValid() ? fitPicture(probe.size, box).size() : probe.size;
    QImage image = imaging::loadPictureAt(path, probe, fitted.isEmpty() ? probe.size : fitted);
    if (image.isNull())
        return out;
    out.natural = probe.size;
    out.image = std::move(image);
    return out;
}
