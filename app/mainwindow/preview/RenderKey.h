#pragma once

#include <QString>

#include "processing/FileStamp.h"
#include "processing/RenderSettings.h"

struct AppState;

// Everything the rendered picture of an entry depends on: the entry's file
// as it is on disk, the processing settings, the border and watermark files
// as they are on disk, and the watermark text as it would be printed now (a
// date or a time changes with the clock). Two equal keys give the same picture,
// so the preview draws a redraw with an unchanged key from what it kept.
struct RenderKey {
    QString path;
    FileStamp source, border, mark;
    RenderSettings settings;
    QString markText;
    bool operator==(const RenderKey&) const = default;
};

// The key of rendering `path` with the settings `st` holds now.
RenderKey renderKey(const QString& path, const AppState& st);

// The settings as a key compares them: the fields no picture is drawn with
// (what the window and its dialogs keep, what only the load or a run's
// saving reads, the watermark size a redraw writes back) are cleared, so that
// their changes do not count as a new picture. Any other change does, so a
// field the pipeline comes to read is compared unless it is cleared here.
RenderSettings comparedSettings(const AppState& st);
