#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

struct AppState;

// What one list entry becomes: the finished 24-bit picture (null when it
// could not be made) and the lines it adds to the run's error log.
struct RenderResult {
    QImage picture;
    QStringList errors;
};

// The per-picture pipeline shared by the live preview and the batch run:
// draw at the output size through the colour matrix, rotate, colour effect,
// border, picture watermark, text watermark, in this fixed order. Reads the
// settings from the state and writes back the watermark positions.
// The caller decides whether to render at all (the preview's on/off switch).
RenderResult renderPicture(const QString& path, AppState& st);

