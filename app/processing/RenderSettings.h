#pragma once

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QStringList>

#include "platform/imaging/TextPainter.h"
#include "processing/LoadTrouble.h"
#include "state/ModuleState.h"
#include "state/PanelState.h"
#include "state/ProgramState.h"

struct AppState;

// The processing settings a picture is rendered with, copied out of the
// program state: a batch run takes one copy at its start, so a change made
// while it runs applies to the next run, and the pictures can be rendered on
// other threads while the window goes on changing the state.
struct RenderSettings {
    ProgramState ps;
    PictureModuleState pic;
    RotateModuleState rot;
    PanelState panel;
    bool operator==(const RenderSettings&) const = default;
};

RenderSettings snapshotSettings(const AppState& st);

// What is the same for every picture of a run, made once: the border picture,
// the picture watermark through its colour matrix at its drawn size, the
// style of the text watermark. Read-only once made, so render threads share
// it. The font itself is made from the style by each picture: a QFont fills
// its shared engine data lazily and is not safe to share between threads,
// while Qt's font cache keeps the matching done once for each thread.
struct RenderAssets {
    QImage border;        // null when none is chosen or it cannot be read
    QImage mark;          // null when the watermark file cannot be read
    QSize markNatural;    // the watermark file's own size
    bool markScaled = false;  // `mark` already has the size it is drawn at
    LoadTrouble markTrouble;  // why `mark` is null, or that it is damaged
    imaging::TextStyle fontStyle;
    // What is wrong with the border and watermark files themselves: error
    // lines that name the file, for a run to log once (a watermark that
    // cannot be read at all is logged with each picture instead), and the
    // same in the status line's words (troubleText) for the preview.
    QStringList errors;
    QStringList tips;
};

RenderAssets prepareAssets(const RenderSettings& s);

// Where the watermarks of one picture went: what the preview's marker shows
// and the free position starts from. Only the preview stores them back.
struct MarkPositions {
    bool text = false;       // the text watermark was placed
    QPointF textFraction;    // its top left corner, fractions of the picture
    bool picture = false;    // the picture watermark was placed
    QPointF pictureFraction; // its centre, fractions of the picture
    QSizeF pictureSize;      // its drawn size, pixels
};

// Stores the positions into the state, as a redraw of the preview does.
void storeMarkPositions(const MarkPositions& m, AppState& st);
