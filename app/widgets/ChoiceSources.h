#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "state/MainWindowState.h"

// The tables behind the size and border choices hold this many rows at most;
// the border choice counts its "no border" entry among them.
inline constexpr int kMaxChoiceRows = 501;

// The sizes file: one size a line, label, width and height separated by ";"
// (split at the first two only, so the height keeps any further ";"). Lines
// without a label are skipped. A missing file gives no rows.
std::vector<SizeEntry> readSizeFile(const QString& path);

// The border pictures of a folder: every file with a border name (see
// isBorderName), by name, as full paths.
QStringList borderFiles(const QString& folder);

// A border's name in the choice: the file name without its last four characters.
QString borderLabel(const QString& path);
