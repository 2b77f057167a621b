#pragma once

#include <QString>
#include <cstdint>

// What tells one state of a file on disk from another without reading it:
// which file the path leads to (device and inode: a file replaced by a rename
// is another one), its length, and the times of its last write and of its last
// change to the nanosecond (a tool may set the first back, never the second).
// Equal stamps of a path mean its content is what it was.
struct FileStamp {
    bool exists = false;
    uint64_t device = 0, inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now; one that does not exist when the path is
// empty or cannot be looked up.
FileStamp fileStamp(const QString& path);
