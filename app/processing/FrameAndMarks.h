#pragma once

#include <QDateTime>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

struct AppState;
struct RenderSettings;
struct RenderAssets;
struct MarkPositions;

// What the error log puts between a file's path and the error's number when
// the border or the picture watermark goes wrong.
extern const QString kBorderErrorHead;
extern const QString kMarkErrorHead;

// Position choices of both watermarks.
enum MarkPosition { posBottomRight = 0, posBottomLeft, posTopLeft, posTopRight, posCentre, posFree };

struct MarkPlacement {
    QPointF topLeft;     // where the mark is drawn, pixels
    QPointF fraction;    // what is stored back (unchanged for the free position)
};

// Picture watermark w x h on a cw x ch canvas: its top left corner and its
// centre as fractions; `stored` is the current centre fraction (free position).
MarkPlacement placePictureMark(int pos, double cw, double ch, double w, double h, QPointF stored);
// Text watermark tw x th: its top left corner and that corner as fractions.
MarkPlacement placeTextMark(int pos, double cw, double ch, double tw, double th, QPointF stored);

// The printed text of the text watermark: the four keywords expand to the
// date, the time, the photo's shot time and the source file's name.
QString expandMarkText(const QString& sText, const QString& path, const QDateTime& now);

// Size in pixels of the text watermark as it is printed for this source, in
// the font it is printed with (what the preview's marker shows).
QSize textMarkSize(const AppState& st, const QString& path);

// Border, picture watermark and text watermark, in that order, with what the
// run prepared; where the watermarks went is reported in `placed`.
void AddFrameAndMarks(QImage& canvas, const QString& path, int posTxt, int posImg, const RenderSettings& s,
                      const RenderAssets& a, MarkPositions& placed, QStringList& errors);
// The same for one picture of the preview: prepares from the state and writes
// the watermark fractions and drawn watermark size back into it.
void AddFrameAndMarks(QImage& canvas, const QString& path, int posTxt, int posImg, AppState& st,
                      QStringList& errors);
