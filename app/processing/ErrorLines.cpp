#include "processing/ErrorLines.h"

int errorNumber(RunError e)
{
    return int(e);
}

QString errorDescription(RunError e)
{
    switch (e) {
    case RunError::None: return {};
    case RunError::DivisionByZero: return QStringLiteral("除数为零");
    case RunError::OutOfMemory: return QStringLiteral("内存不足");
    case RunError::FileNotFound: return QStringLiteral("文件未找到");
    case RunError::PathNotFound: return QStringLiteral("路径未找到");
    case RunError::InvalidPicture: return QStringLiteral("无效的图片");
    }
    return {};
}

QString errorLine(const QString& path, const QString& head, RunError e, const QString& detail)
{
    QString description = errorDescription(e);
    if (!detail.isEmpty())
        description += (description.isEmpty() ? QString() : QStringLiteral(": ")) + detail;
    return path + head + QString::number(errorNumber(e)) + u')' + description + QStringLiteral("。\r\n");
}

QString tooLargeText(int64_t width, int64_t height, int64_t maxPixels)
{
    return QStringLiteral("图片太大: %1 x %2, 上限 %3 像素").arg(width).arg(height).arg(maxPixels);
}
