#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

namespace imaging {

// Text is laid out at a fixed 96 dots per inch, so a point size gives the same
// pixels on every machine whatever its screen.
constexpr int kTextDpi = 96;

struct TextStyle {
    QString family;
    int pointSize = 10;
    bool bold = false, underline = false, italic = false;
};

QFont makeFont(const TextStyle& style);
// Width and height in pixels of one line of text printed with this font.
QSize measureText(const QString& text, const QFont& font);
// Prints one line with its top left corner at `topLeft`.
void drawText(QImage& image, const QPointF& topLeft, const QString& text, const QFont& font,
              const QColor& color);

} // namespace imaging
