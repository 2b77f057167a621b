#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "state/ColorMatrix.h"

// One line of the sizes file.
struct SizeEntry {
    QString label, width, height;
};

// One news line: caption, link and colour word.
struct NewsLine {
    QString caption, link, color;
};

// The main window's own variables that outlive a single handler.
struct MainWindowState {
    bool bStopRun = false;     // the user asked to stop the run
    bool bPreviewOff = false;  // the live preview is switched off
    bool bMovePic = false;     // drags and arrows move the picture itself, not a watermark
    ColorMatrix cmBackup = ColorMatrix::identity();  // copy of cmPic taken when the colour panel opens
    QStringList sBkFiles;      // border file of each border-choice entry
    std::vector<SizeEntry> sSizeList;
    std::vector<NewsLine> sNews;
};
