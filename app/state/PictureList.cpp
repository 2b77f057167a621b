#include "state/PictureList.h"

#include <algorithm>

bool PictureList::contains(const QString& path) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const PictureEntry& e) { return e.path == path; });
}

bool PictureList::add(const QString& path)
{
    if (contains(path))
        return false;
    append(path);
    return true;
}

void PictureList::append(const QString& path)
{
    entries_.push_back(PictureEntry{path, {}});
}

PictureEntry PictureList::takeAt(int i)
{
    PictureEntry entry = std::move(at(i));
    entries_.erase(entries_.begin() + i);
    return entry;
}

bool PictureList::insertAt(int i, PictureEntry entry)
{
    if (i < 0 || i > count())
        return false;
    entries_.insert(entries_.begin() + i, std::move(entry));
    return true;
}
