#include "viewer/WallpaperFile.h"

#include <QStandardPaths>

WallpaperFile chooseWallpaperFile(int picSource, const QString& picFile, const QString& copyPath)
{
    if (picSource == 0 && picFile.endsWith(QLatin1String(".bmp")))
        return {picFile, false};
    return {copyPath, true};
}

QString wallpaperCopyPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Vimo/SWPIC.bmp");
}
