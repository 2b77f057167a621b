#include "settings/NewFolder.h"

#include <QDir>
#include <QFileInfo>

#include "state/PicturePaths.h"

QString makeNewFolder(const QString& dir)
{
    // A bound, so a folder that refuses every name cannot keep us here.
    for (int counter = 1; counter <= 10000; ++counter) {
        const QString name = counter == 1 ? QStringLiteral("新建文件夹")
                                          : QStringLiteral("新建文件夹( %1)").arg(counter);
        const QString path = joinPath(dir, name);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        return QDir().mkdir(path) ? path : QString();
    }
    return {};
}
