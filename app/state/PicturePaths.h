#pragma once

#include <QString>

// The picture-name test every adder of the picture list uses: the last three
// characters, lower-cased, are "jpg", "bmp", "gif" or "png", or the last four
// are "tiff". The dot is not tested, and "jpeg" and "tif" do not count.
bool isPictureName(const QString& name);

// A folder and a file name joined with one "/" between them; a folder that
// already ends in "/" (the root) takes none.
QString joinPath(const QString& folder, const QString& name);
