#pragma once

#include <QString>
#include <QStringList>

// The pictures of one folder, sub-folders not included: ordinary files that
// are not hidden and pass the picture-name test in any letter case, by name,
// as full paths.
QStringList folderPictures(const QString& folder);
