#pragma once

#include <QString>

// Why a listed picture cannot be opened at all, before any reader touches it:
// a name the system's encoding cannot give back (bytes that are not UTF-8
// arrive as replacement characters, so no file of that name exists), or
// something that is not a regular file (a FIFO would block the open forever,
// a device would never end). Empty when the file may be read, or when it is
// simply missing (the reader reports that).
QString unreadableSource(const QString& path);
