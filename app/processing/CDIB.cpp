#include "processing/CDIB.h"

#include <QPainter>
#include <cmath>
#include <cstring>
#include <new>

namespace {

DibError createFailed()
{
    return DibError(825, QStringLiteral("DIB failed to create\r\nPlease restart your system and try again"));
}

} // namespace

void CDIB::release()
{
    bits_.reset();
    size_ = stride_ = 0;
    width_ = height_ = 0;
}

void CDIB::Create(int32_t W, int32_t H)
{
    release();
    if (W <= 0 || H <= 0)
        throw createFailed();
    // Sizes in size_t: a 32-bit product overflows long before memory runs out.
    const size_t stride = (size_t(W) * 3 + 3) & ~size_t(3);
    if (stride > kMaxBytes / size_t(H))
        throw createFailed();
    const size_t size = stride * size_t(H);
    bits_.reset(new (std::nothrow) uint8_t[size]);
    if (!bits_)
        throw createFailed();
    size_ = size;
    stride_ = stride;
    width_ = W;
    height_ = H;
    Cls();
}

void CDIB::Cls()
{
    if (bits_)
        std::memset(bits_.get(), 0, size_);
}

int32_t CDIB::MapArray(std::span<uint8_t>& a)
{
    if (!bits_) {
        a = {};
        return 0;
    }
    a = std::span<uint8_t>(bits_.get(), size_);
    return int32_t(stride_);
}

void CDIB::Clone(const QImage& pic, bool FitSize)
{
    if (FitSize) {
        try {
            Create(pic.width(), pic.height());
        } catch (const DibError&) {
            // Reported below as the missing surface, as callers expect.
        }
    }
    if (!bits_)
        throw DibError(-1, QStringLiteral("DIB has to be created first"));
    QImage src = pic.size() == QSize(width_, height_)
                     ? pic
                     : pic.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    src.convertTo(QImage::Format_BGR888);
    const size_t rowBytes = size_t(width_) * 3;
    for (int32_t y = 0; y < height_; ++y)
        std::memcpy(bits_.get() + offsetOf(0, y), src.constScanLine(y), rowBytes);
}

void CDIB::CloneHDC(const CDIB& from, int32_t X, int32_t Y)
{
    if (!bits_ || !from.bits_)
        return;
    for (int32_t y = 0; y < height_; ++y) {
        const int32_t sy = y + Y;
        if (sy < 0 || sy >= from.height_)
            continue;
        for (int32_t x = 0; x < width_; ++x) {
            const int32_t sx = x + X;
            if (sx < 0 || sx >= from.width_)
                continue;
            std::memcpy(bits_.get() + offsetOf(x, y), from.bits_.get() + from.offsetOf(sx, sy), 3);
        }
    }
}

QImage CDIB::toImage() const
{
    if (!bits_)
        return {};
    QImage out(width_, height_, QImage::Format_BGR888);
    const size_t rowBytes = size_t(width_) * 3;
    for (int32_t y = 0; y < height_; ++y)
        std::memcpy(out.scanLine(y), bits_.get() + offsetOf(0, y), rowBytes);
    out.convertTo(QImage::Format_RGB888);
    return out;
}

void CDIB::PaintTo(QImage& toImage, int32_t atX, int32_t atY) const
{
    if (!bits_ || toImage.isNull())
        return;
    QPainter p(&toImage);
    p.drawImage(QPoint(atX, atY), this->toImage());
}

void CDIB::PaintZoom(QImage& toImage, int32_t atX, int32_t atY, int32_t Ratio) const
{
    if (!bits_ || toImage.isNull())
        return;
    const double f = Ratio * 0.01;
    const int w = int(std::nearbyint(f * width_));
    const int h = int(std::nearbyint(f * height_));
    QPainter p(&toImage);
    p.drawImage(QRect(atX, atY, w, h), this->toImage());
}

void CDIB::PrintTxt(const QString& theText, int32_t X, int32_t Y)
{
    if (!bits_)
        return;
    QImage img = toImage();
    {
        QPainter p(&img);
        const QRect box(X, Y, 16 * int(theText.size()), 50);
        p.setClipRect(box);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop, theText);
    }
    Clone(img, false);
}
