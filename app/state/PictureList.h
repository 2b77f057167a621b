#pragma once

#include <QString>
#include <vector>

// One entry of the picture list. The description lives with the entry so
// that it follows it through removal, undo and clear.
struct PictureEntry {
    QString path;         // full path of the picture
    QString description;  // the user's description (PDF page text, upload page)
};

// The pictures of the next batch run, in the order they were added.
class PictureList {
public:
    int count() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const PictureEntry& at(int i) const { return entries_.at(size_t(i)); }
    PictureEntry& at(int i) { return entries_.at(size_t(i)); }
    const std::vector<PictureEntry>& entries() const { return entries_; }

    // Appends a path unless an entry equals it exactly; returns whether it was added.
    bool add(const QString& path);
    // Appends even when the path is already there (dropped bitmaps).
    void append(const QString& path);
    bool contains(const QString& path) const;

    // Removes entry i and hands it back, description included.
    PictureEntry takeAt(int i);
    // Puts an entry back at index i (0..count); false when i lies beyond the end.
    bool insertAt(int i, PictureEntry entry);
    void clear() { entries_.clear(); }

private:
    std::vector<PictureEntry> entries_;
};
