#include "viewer/PictureDisplay.h"

#include <QPainter>

PictureDisplay::PictureDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureDisplay::setPicture(const QImage& picture)
{
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void PictureDisplay::clear()
{
    setPicture(QImage());
}

void PictureDisplay::paintEvent(QPaintEvent*)
{
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * dpr).toSize();
    // Scaling once per size keeps repaints cheap for large photos.
    if (scaled_.isNull() || scaled_.size() != device) {
        const QImage image = device == picture_.size()
                                 ? picture_
                                 : picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_ = QPixmap::fromImage(image);
        scaled_.setDevicePixelRatio(dpr);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, scaled_);
}
