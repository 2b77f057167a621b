#include "processing/SourceFile.h"

#include <QFileInfo>

QString unreadableSource(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (path.contains(QChar::ReplacementCharacter))
            return QStringLiteral("文件名无法读取(不是有效的 UTF-8 编码)");
        return {};
    }
    if (!info.isFile())
        return QStringLiteral("不是普通文件");
    return {};
}
