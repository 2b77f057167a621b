#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

// Saves a picture dropped on the window as a BMP file in the user folder,
// named "tempWL" and the time as ddHHmmss; a name that exists already gets
// "_1", "_2", ... so no earlier drop is overwritten. Returns the file's path,
// or "" when the picture is empty or could not be saved.
QString saveDroppedPicture(const QImage& picture, const QString& userDir,
                           const QDateTime& now = QDateTime::currentDateTime());
