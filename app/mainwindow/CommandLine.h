#pragma once

#include <QString>
#include <QStringList>

// The pictures named on the command line: each argument is one path, made
// absolute against the start folder; only picture names are taken (the file
// need not exist), each path once, in the order given.
QStringList commandLinePictures(const QStringList& args, const QString& startDir);
