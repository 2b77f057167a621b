#include "mainwindow/CommandLine.h"

#include <QDir>

#include "state/PicturePaths.h"

QStringList commandLinePictures(const QStringList& args, const QString& startDir)
{
    QStringList paths;
    const QDir start(startDir);
    for (const QString& arg : args) {
        if (arg.isEmpty() || !isPictureName(arg))
            continue;
        const QString path = QDir::cleanPath(start.absoluteFilePath(arg));
        if (!paths.contains(path))
            paths << path;
    }
    return paths;
}
