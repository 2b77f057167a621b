#include "viewer/ScreenGrabLayout.h"

#include <cmath>

namespace screengrab {

QImage dimmed(const QImage& screen)
{
    QImage out = screen.convertToFormat(QImage::Format_RGB32);
    // Format_RGB32 stores 0xffRRGGBB.
    constexpr quint32 mask = 0xffc0c0ffu;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] &= mask;
    }
    return out;
}

QPointF toolbarPlace(const QRectF& frame, QSizeF toolbar, double screenHeight)
{
    constexpr double gap = 4;
    double left = frame.left() + frame.width() - toolbar.width();
    const double below = frame.top() + frame.height() + gap;
    const double top = below + toolbar.height() > screenHeight
                           ? frame.top() + frame.height() - toolbar.height() - gap
                           : below;
    if (left < 0)
        left = 0;
    return {left, top};
}

bool grabsSelection(const QRectF& frame, QPointF point)
{
    const long l = std::lround(frame.left()), t = std::lround(frame.top());
    const long r = std::lround(frame.left() + frame.width()), b = std::lround(frame.top() + frame.height());
    const long x = std::lround(point.x()), y = std::lround(point.y());
    return x >= l && x < r && y >= t && y < b;
}

QRect photoRegion(const QRectF& frame, double ratio, QSize photo)
{
    const auto px = [ratio](double v) { return int(std::lround(v * ratio)); };
    const QRect region(QPoint(px(frame.left()), px(frame.top())),
                       QPoint(px(frame.left() + frame.width()) - 1, px(frame.top() + frame.height()) - 1));
    const QRect held = region.intersected(QRect(QPoint(0, 0), photo));
    return held.isEmpty() ? QRect() : held;
}

QString sizeCaption(QSize size)
{
    return QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height());
}

} // namespace screengrab
