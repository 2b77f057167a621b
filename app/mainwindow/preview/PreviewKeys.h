#pragma once

#include <QSizeF>
#include <optional>

struct AppState;

// What the window does after a key on the preview area.
struct KeyAction {
    enum Kind {
        None,        // a key the preview does not use
        OpenViewer,  // Enter: the processed preview opens in the viewer
        Redraw,      // a position was nudged: hide the marker and redraw
        Select,      // select list entry `index` (its selection redraws)
        Beep,        // already at the first or the last entry
    };
    Kind kind = None;
    int index = -1;
};

// True while a free position is being edited: a watermark that is on sits at
// its free position, or the picture-move mode is on. The arrow keys then
// nudge instead of stepping through the list.
bool freePositionMode(const AppState& st);

// The preview's keys (Qt::Key values). In the free-position mode an arrow
// moves the start point by one output pixel, or the marked watermark by one
// pixel of the shown preview (`image` is its size); otherwise Right and Down
// step to the next entry and Left and Up to the previous one, with a beep at
// the ends of the list (no wrap-around).
KeyAction previewKeyDown(int key, AppState& st, QSizeF image, int index, int count);

// The neighbour thumbnails step through the list; nothing at the ends.
std::optional<int> previousEntry(int index, int count);
std::optional<int> nextEntry(int index, int count);
