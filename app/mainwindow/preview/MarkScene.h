#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

struct AppState;
struct ProgramState;

// Which watermark a click on the preview found.
enum class MarkHit { None, Text, Picture };

// The marker is a thin bar under a watermark (45 twips at 15 twips a pixel)
// and a small square in the picture-move mode (240 twips).
constexpr double kMarkerThickness = 3;
constexpr double kMoveMarkerSide = 16;

// What the marker logic knows of the preview after a redraw. Positions are in
// pixels of the preview area; the watermark sizes are full-size picture pixels.
struct MarkScene {
    QRectF image;        // the shown preview inside the preview area
    QSizeF picture;      // the processed picture at full size
    QSizeF text;         // printed extent of the text watermark at full size
    QSizeF pictureMark;  // the picture watermark as last drawn
    bool textOn = false;     // the text watermark is switched on and has a text
    bool pictureOn = false;  // the picture watermark is switched on and has a file

    // Preview pixels per picture pixel; 0 while there is no picture.
    double scaleX() const { return picture.width() > 0 ? image.width() / picture.width() : 0; }
    double scaleY() const { return picture.height() > 0 ? image.height() / picture.height() : 0; }
};

// The scene of the current settings: which watermarks are on, and the
// picture watermark's drawn size from the state.
MarkScene makeMarkScene(const AppState& st, QRectF image, QSizeF picture, QSizeF textExtent);

// The printed extent of the text watermark for a picture, in the font it is
// printed with; empty when there is no text.
QSizeF measureMarkText(const ProgramState& ps, const QString& path);

// Hit test of a click at `p` (relative to the shown preview's top left). The
// text zone is tried first: from a quarter of the text width left of the
// text's left edge to its right edge, and from one text height above its top
// to two below. The picture zone is the watermark's drawn size around its
// centre. The zones use the full-size extents, not scaled to the preview, and
// every bound is exclusive. Only watermarks that are switched on can be hit:
// a switched-off watermark still has the size of its last drawing.
MarkHit hitWatermark(const MarkScene& scene, const ProgramState& ps, QPointF p);

// The marker laid under a watermark, in preview-area pixels: as wide as the
// watermark is shown, kMarkerThickness high, below the picture watermark's
// bottom edge or half a text height below the text's top.
QRectF markerUnder(MarkHit which, const MarkScene& scene, const ProgramState& ps);
