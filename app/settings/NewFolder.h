#pragma once

#include <QString>

// Creates a new folder in dir named "新建文件夹", or "新建文件夹( 2)",
// "新建文件夹( 3)", ... when the earlier names are taken. Returns its path, or
// "" when none could be created.
QString makeNewFolder(const QString& dir);
