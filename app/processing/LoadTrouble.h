#pragma once

#include <QSize>
#include <QString>

#include "processing/ErrorLines.h"

namespace imaging {
struct LoadedPicture;
}

// What went wrong reading a picture file, wherever the file is read (the
// source, the border, the picture watermark, the viewer): one wording for
// the error log and the status line.
struct LoadTrouble {
    RunError kind = RunError::None;
    QString detail;        // what the error log adds after the error's description
    bool damaged = false;  // the file was read in part: the picture is there, its missing part grey
    bool any() const { return kind != RunError::None || !detail.isEmpty(); }
};

// The trouble of a load; none when the picture was read whole. `declared`
// is the size the file's header claims.
LoadTrouble loadTrouble(const imaging::LoadedPicture& loaded, QSize declared);

// The trouble in the status line's words, without its prefix: `part` names
// what the file is for ("" the picture itself, "边框", "水印"), the file's
// name ends it. A file that gave no picture is said not to be drawn.
QString troubleText(const QString& part, const QString& path, const LoadTrouble& trouble);
