#include "mainwindow/preview/ViewPicture.h"

#include "mainwindow/preview/PreviewFit.h"
#include "platform/imaging/PictureReader.h"
#include "platform/imaging/Resample.h"

QSize thumbnailSize(QSize natural, QSize box)
{
    const QSize fitted = box.isValid() ? fitPicture(natural, box).size() : natural;
    return fitted.isEmpty() ? natural : fitted;
}

QImage thumbnailFrom(const QImage& decoded, QSize natural, QSize box)
{
    if (decoded.isNull())
        return {};
    return imaging::thumbnailOf(decoded, thumbnailSize(natural, box));
}

ViewPicture loadViewPicture(const QString& path, QSize box)
{
    ViewPicture out;
    if (path.isEmpty())
        return out;
    const imaging::PictureProbe probe = imaging::probePicture(path);
    if (!probe.ok())
        return out;
    QImage image = imaging::loadPictureAt(path, probe, thumbnailSize(probe.size, box));
    if (image.isNull())
        return out;
    out.natural = probe.size;
    out.image = std::move(image);
    return out;
}
