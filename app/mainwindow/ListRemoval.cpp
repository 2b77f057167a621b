#include "mainwindow/ListRemoval.h"

#include <algorithm>
#include <functional>

std::vector<int> removeEntries(PictureList& list, std::vector<RemovedEntry>& undo,
                               std::vector<int> indices)
{
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::vector<int> done;
    for (int i : indices) {
        if (i < 0 || i >= list.count())
            continue;
        undo.push_back(RemovedEntry{list.takeAt(i), i});
        done.push_back(i);
    }
    return done;
}

std::vector<int> undoRemovals(PictureList& list, std::vector<RemovedEntry>& undo)
{
    std::vector<int> done;
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
        // A file added again since its removal is listed already: it stays
        // where it is now rather than being listed twice.
        if (list.contains(it->entry.path))
            continue;
        const int at = std::min(it->position, list.count());
        if (list.insertAt(at, std::move(it->entry)))
            done.push_back(at);
    }
    undo.clear();
    return done;
}
