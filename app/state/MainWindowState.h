#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/imaging/ColorMatrix.h"
#include "state/PictureList.h"

// One line of the sizes file.
struct SizeEntry {
    QString label, width, height;
};

// One news line: caption, link and colour word.
struct NewsLine {
    QString caption, link, color;
};

// An entry removed from the picture list, with the index it had when it was
// removed, so that an undo puts it back where it was.
struct RemovedEntry {
    PictureEntry entry;
    int position = 0;
};

// The main window's own variables that outlive a single handler.
struct MainWindowState {
    bool bPreviewOff = false;  // the live preview is switched off
    bool bMovePic = false;     // drags and arrows move the picture itself, not a watermark
    bool bScanning = false;    // a folder scan is adding pictures: no second scan, clear or run meanwhile
    ColorMatrix cmBackup = ColorMatrix::identity();  // copy of cmPic taken when the colour panel opens
    std::vector<RemovedEntry> sDelList;  // removals since the last undo, oldest first
    QStringList sBkFiles;      // border file of each border-choice entry
    std::vector<SizeEntry> sSizeList;
    std::vector<NewsLine> sNews;
};
