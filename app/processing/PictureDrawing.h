#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstddef>

struct AppState;
struct RenderSettings;
struct LoadTrouble;
class SourceCache;

// Where the first stage draws: the output size and the source and destination
// rectangles, before and after rounding to whole pixels.
struct DrawGeometry {
    double W = 0, H = 0;                   // output size as worked out
    double sx = 0, sy = 0, sw = 0, sh = 0; // source rectangle
    double dx = 0, dy = 0, dw = 0, dh = 0; // destination rectangle
};

struct DrawRects {
    int sx, sy, sw, sh, dx, dy, dw, dh;
    bool operator==(const DrawRects&) const = default;
};

struct DrawSettings {
    int iSizeMode = 0;   // 0 limit width, 1 border size, 2 source size, 3.. fixed size
    int bPicJQ = 0;      // 1 crop, else pad
    int iXCutMode = 0, iYCutMode = 0;
    float sngXp = 0, sngYp = 0;
};

// Largest canvas we draw on: 256 megapixels (16384 x 16384).
constexpr size_t kMaxCanvasPixels = size_t(1) << 28;

// The output size and the rectangles for a source of `src` pixels. `border`
// is the border picture's size in fit-the-border mode (empty when none).
DrawGeometry computeDrawGeometry(QSize src, float W, float H, const DrawSettings& s, QSize border);
// All eight values rounded to whole pixels, halves to the even neighbour.
DrawRects roundRects(const DrawGeometry& g);
// The canvas size in whole pixels; empty when it cannot be made.
QSize canvasSize(const DrawGeometry& g);

// Draws the picture file at the output size through the picture colour
// matrix onto a fresh white canvas. A picture that cannot be read or a canvas
// that cannot be made gives a null picture and that picture's error line.
// `turn` (a fixed rotation mode) turns the picture before the size rules
// see it, so the size typed is the size of the upright result.
// `sourceTrouble`, when given, gets what went wrong reading the picture.
// `sources`, when given, decodes the picture or hands back the one it kept.
QImage DrawPicFile(const QString& path, float W, float H, const RenderSettings& st, QStringList& errors,
                   int turn = 0, LoadTrouble* sourceTrouble = nullptr, SourceCache* sources = nullptr);
QImage DrawPicFile(const QString& path, float W, float H, const AppState& st, QStringList& errors);

// The output width or height a size text asks for: its leading number, held
// within ±1e9 (no canvas is made that large), so a typed or stored text of
// any length still fits a float.
float sizeFromText(const QString& text);

// A position or length in whole pixels, halves to the even neighbour, held
// within ±2^30: a start point, a scale or a position from a hand-edited
// settings or job file can be any number, and one beyond that lies far off
// any canvas there is.
int roundPixel(double v);

// The settings a border-size choice reads: the border file when one is chosen.
bool hasBorder(const QString& sBkFile);
