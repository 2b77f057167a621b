#pragma once

#include <QStringList>
#include <functional>

#include "platform/wallpaper/Wallpaper.h"

// Sets the wallpaper with the tool of the running desktop: gsettings on GNOME
// and its relatives, xfconf-query on Xfce, plasma-apply-wallpaperimage on KDE
// Plasma, else feh on a plain X session. Does nothing when none is there.
class DesktopWallpaper : public Wallpaper {
public:
    struct Result {
        int exitCode = -1;  // -1 when the tool could not be run
        QString out;
    };
    using Runner = std::function<Result(const QString& program, const QStringList& arguments)>;
    using ToolFinder = std::function<bool(const QString& program)>;

    // The session's desktop (XDG_CURRENT_DESKTOP), tools on PATH, QProcess.
    DesktopWallpaper();
    DesktopWallpaper(QString desktop, ToolFinder haveTool, Runner run);

    bool set(const QString& path, WallpaperStyle style) override;

private:
    bool setGnome(const QString& uri, WallpaperStyle style);
    bool setXfce(const QString& path, WallpaperStyle style);

    QString desktop_;
    ToolFinder haveTool_;
    Runner run_;
};
