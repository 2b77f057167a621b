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
    entries_.push_back(PictureEntry{path, {}, {}});
}
