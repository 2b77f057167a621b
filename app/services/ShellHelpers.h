#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AppState;
class Shell;
class Wallpaper;

// Shows a tip in the main window's status line (see StatusLine for the cut).
void ShowTip(AppState& app, const QString& text);

// Opens an address or a file with the desktop's program for it. A failure
// goes to the shell's onFailure with the target (the window says so); the
// caller has nothing else to do about a missing browser.
void OpenURL(Shell& shell, const QString& target);

// Starts a program with one argument, the argument passed whole (blanks and
// quotes included). The Windows programs the callers name map to the
// desktop: "explorer" opens the folder, "notepad" opens the file in the
// text editor; any other program is started by name. Failures go to the
// shell's onFailure, as with OpenURL.
void RunWinApp(Shell& shell, const QString& program, const QString& argument);

// Style 0 tiled, 1 stretched, 2 centred; any other style does nothing.
// False when nothing was set.
bool SetWallpaper(Wallpaper& wallpaper, const QString& path, int style);

// What a folder scan did.
struct FolderScan {
    bool ran = false;           // false when another scan was running, or the folder cannot be read
    int added = 0;              // pictures appended to the list
    QStringList skipped;        // sub-folders that could not be read
};

// Appends every picture of a folder and of its sub-folders to the picture
// list: the files of a folder (by name) before its sub-folders, a path equal
// to an entry already there is not added again. Hidden sub-folders are
// skipped, as are sub-folders that cannot be read; links to folders are not
// followed, so a link loop cannot trap the scan. `yield` runs once per file
// so the window stays alive; while the scan runs, app.win.bScanning is set
// and no second scan starts.
FolderScan AddFolderPics(AppState& app, const QString& folder, const std::function<void()>& yield = {});
