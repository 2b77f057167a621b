#pragma once

#include <QString>

// Which file the viewer hands to the desktop as its wallpaper.
struct WallpaperFile {
    QString path;
    // The shown picture must first be written to `path` (a persistent copy
    // in the user's data folder); the wallpaper is set only when that worked.
    bool writeCopy = false;
};

// A source that is a bitmap file is used itself. The processed preview's
// work file is deleted when the viewer closes, and other formats may not be
// taken by every desktop, so both are copied to `copyPath`.
WallpaperFile chooseWallpaperFile(int picSource, const QString& picFile, const QString& copyPath);

// Where the copy lives: "SWPIC.bmp" in the user's data folder.
QString wallpaperCopyPath();  // ~/.local/share/Vimo/SWPIC.bmp
