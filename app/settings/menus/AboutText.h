#pragma once

#include <QString>

// The about box's text: the program's name and version ("5.9.0"), five
// blanks, an empty line and the release date.
QString aboutText(const QString& version, const QString& releaseDate);
