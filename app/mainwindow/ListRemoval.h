#pragma once

#include <vector>

#include "state/MainWindowState.h"
#include "state/PictureList.h"

// Removes the given entries from the highest index down and records each with
// the index it had, so that an undo restores the list exactly. Returns the
// removed indices in the order of removal.
std::vector<int> removeEntries(PictureList& list, std::vector<RemovedEntry>& undo,
                               std::vector<int> indices);

// Puts the recorded entries back, newest first, each at its recorded index
// (the end of the list when that lies beyond it), and forgets them. Returns
// the indices inserted, in order.
std::vector<int> undoRemovals(PictureList& list, std::vector<RemovedEntry>& undo);
