#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "processing/EncodedResult.h"
#include "processing/RenderSettings.h"

struct AppState;
class SourceCache;

// What one list entry becomes: the finished 24-bit picture (null when it
// could not be made), the lines it adds to the run's error log, and where its
// watermarks went. A run encodes the picture where it was rendered and keeps
// only the encoded file.
struct RenderResult {
    QImage picture;
    QStringList errors;
    MarkPositions marks;
    EncodedResult encoded;
    // What the status line says of the files read in part or not at all (the
    // picture, the border, the watermark), in troubleText's words.
    QStringList tips;
};

// The per-picture pipeline shared by the live preview and the batch run:
// turn (the fixed rotation or the EXIF orientation), draw at the output size
// through the colour matrix, colour effect, border, picture watermark, text
// watermark, in this fixed order. Reads only
// its arguments, so render threads may call it at the same time. `sources`,
// when given, is where the source picture is decoded or found already
// decoded (the live preview's); a run decodes each picture itself.
RenderResult renderPicture(const QString& path, const RenderSettings& s, const RenderAssets& a,
                           SourceCache* sources = nullptr);

// One picture with the settings as they stand (the live preview): prepares
// from the state, renders, and stores the watermark positions back.
// The caller decides whether to render at all (the preview's on/off switch).
RenderResult renderPicture(const QString& path, AppState& st, SourceCache* sources = nullptr);
