#include "platform/imaging/PictureReader.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace imaging {

namespace {

// Only regular files are opened: a FIFO would block the open forever.
bool readable(const QString& path)
{
    return QFileInfo(path).isFile();
}

void prepare(QImageReader& r)
{
    r.setAutoTransform(false);
    r.setDecideFormatFromContent(true);
}

} // namespace

PictureProbe probePicture(const QString& path)
{
    QImageReader r(path);
    prepare(r);
    PictureProbe p;
    if (!readable(path) || !r.canRead())
        return p;
    p.size = r.size();
    p.format = r.format();
    return p;
}

QImage loadPicture(const QString& path)
{
    if (!readable(path))
        return {};
    QImageReader r(path);
    prepare(r);
    return r.read();
}

QImage loadPictureReduced(const QString& path, const PictureProbe& probe, double shrink)
{
    if (!readable(path))
        return {};
    QImageReader r(path);
    prepare(r);
    if (probe.format == "jpeg" && probe.ok()) {
        int p = 1;
        while (p < 8 && shrink >= 2.0 * p)
            p *= 2;
        if (p > 1) {
            // libjpeg scales by 1/p inside the decoder when asked for full/p.
            const QSize reduced(std::max(1, probe.size.width() / p), std::max(1, probe.size.height() / p));
            r.setScaledSize(reduced);
        }
    }
    return r.read();
}

} // namespace imaging
