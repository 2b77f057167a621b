#include "services/ShellHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/shell/Shell.h"
#include "platform/wallpaper/Wallpaper.h"
#include "state/AppState.h"
#include "state/PicturePaths.h"

#include <dirent.h>

void ShowTip(AppState& app, const QString& text)
{
    app.status.show(text);
}

void OpenURL(Shell& shell, const QString& target)
{
    if (!shell.open(target))
        shell.failed(target);
}

void RunWinApp(Shell& shell, const QString& program, const QString& argument)
{
    QString name = program.section(QRegularExpression(QStringLiteral("[\\\\/]")), -1).toLower();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    if (name == QLatin1String("explorer") || name == QLatin1String("notepad")) {
        OpenURL(shell, argument);
        return;
    }
    if (!shell.start(program, argument.isEmpty() ? QStringList() : QStringList{argument}))
        shell.failed(program);
}

bool SetWallpaper(Wallpaper& wallpaper, const QString& path, int style)
{
    switch (style) {
    case 0: return wallpaper.set(path, WallpaperStyle::Tiled);
    case 1: return wallpaper.set(path, WallpaperStyle::Stretched);
    case 2: return wallpaper.set(path, WallpaperStyle::Centred);
    default: return false;
    }
}

namespace {

// Tried rather than judged by permission bits: a folder can vanish during a
// scan, and for root the bits say nothing.
bool canList(const QString& folder)
{
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    closedir(dir);
    return true;
}

void scanFolder(AppState& app, const QString& folder, const std::function<void()>& yield, FolderScan& scan)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : files) {
        if (yield)
            yield();
        if (isPictureName(name) && app.list.add(joinPath(folder, name)))
            ++scan.added;
    }
    // Without QDir::Hidden hidden folders stay out; NoSymLinks keeps link loops out.
    const QStringList subFolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : subFolders) {
        const QString sub = joinPath(folder, name);
        if (!canList(sub)) {
            scan.skipped.append(sub);
            continue;
        }
        scanFolder(app, sub, yield, scan);
    }
}

} // namespace

FolderScan AddFolderPics(AppState& app, const QString& folder, const std::function<void()>& yield)
{
    FolderScan scan;
    const QFileInfo top(folder);
    if (app.win.bScanning || !top.isDir() || !canList(folder))
        return scan;
    app.win.bScanning = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{app.win.bScanning};
    scan.ran = true;
    scanFolder(app, folder, yield, scan);
    return scan;
}
