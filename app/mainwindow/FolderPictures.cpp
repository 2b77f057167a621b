#include "mainwindow/FolderPictures.h"

#include <QDir>
#include <QFileInfo>

#include "state/PicturePaths.h"

QStringList folderPictures(const QString& folder)
{
    QStringList paths;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) {
        if (isPictureName(f.fileName()))
            paths << joinPath(folder, f.fileName());
    }
    return paths;
}
