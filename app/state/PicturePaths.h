#pragma once

#include <QString>

// The picture-name test every adder of the picture list uses: the name ends,
// in any letter case, in "jpg", "jpeg", "jpe", "bmp", "gif", "png", "tif" or
// "tiff" (every ending the run can load and save back in its own format).
// The dot is not tested.
bool isPictureName(const QString& name);
// A border picture's file name: a name of at least one character, then
// ".png" in any letter case ("zpng" and ".png" are none).
bool isBorderName(const QString& name);
// The same endings as file patterns for a file chooser ("*.jpg;*.jpeg;...").
QString pictureNamePatterns();

// A folder and a file name joined with one "/" between them; a folder that
// already ends in "/" (the root) takes none.
QString joinPath(const QString& folder, const QString& name);

// The most bytes a file name may take on the file systems the program writes to.
constexpr qsizetype kMaxNameBytes = 255;

// stem + tail, the stem shortened by whole characters until the name fits
// in kMaxNameBytes bytes as the file system stores it; the tail is kept whole.
QString fittedName(QString stem, const QString& tail);
