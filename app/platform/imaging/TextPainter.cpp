#include "platform/imaging/TextPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace imaging {

QFont makeFont(const TextStyle& style)
{
    QFont f(style.family);
    // The em height in pixels that a point size gives at 96 dpi.
    f.setPixelSize(std::max(1, int(std::lround(style.pointSize * double(kTextDpi) / 72.0))));
    f.setBold(style.bold);
    f.setUnderline(style.underline);
    f.setItalic(style.italic);
    return f;
}

QSize measureText(const QString& text, const QFont& font)
{
    const QFontMetricsF fm(font);
    return QSize(int(std::ceil(fm.horizontalAdvance(text))), int(std::ceil(fm.height())));
}

void drawText(QImage& image, const QPointF& topLeft, const QString& text, const QFont& font,
              const QColor& color)
{
    if (image.isNull() || text.isEmpty())
        return;
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(color);
    const QFontMetricsF fm(font);
    p.drawText(QPointF(topLeft.x(), topLeft.y() + fm.ascent()), text);
}

} // namespace imaging
