#include "processing/ErrorLines.h"

#include <cerrno>
#include <cstring>

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

QString loggedName(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x2028 || u == 0x2029)
            out += QStringLiteral("\\x%1").arg(int(u), u < 0x100 ? 2 : 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString systemErrorText(int errnum)
{
    switch (errnum) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("磁盘已满");
    case EFBIG: return QStringLiteral("文件超出了系统允许的大小");
    case EACCES:
    case EPERM: return QStringLiteral("没有写入的权限");
    case EROFS: return QStringLiteral("磁盘是只读的");
    case ENOENT:
    case ENOTDIR: return errorDescription(RunError::PathNotFound);
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case EIO: return QStringLiteral("读写磁盘时出错");
    default: return QString::fromLocal8Bit(std::strerror(errnum));
    }
}

QString errorLine(const QString& path, const QString& head, RunError e, const QString& detail)
{
    QString description = errorDescription(e);
    if (!detail.isEmpty())
        description += (description.isEmpty() ? QString() : QStringLiteral(": ")) + detail;
    return loggedName(path + head + QString::number(errorNumber(e)) + u')' + description) + QStringLiteral("。\r\n");
}

QString tooLargeText(int64_t width, int64_t height, int64_t maxPixels)
{
    return QStringLiteral("图片太大: %1 x %2, 上限 %3 像素").arg(width).arg(height).arg(maxPixels);
}

QString tooLargeToDecodeText(int64_t width, int64_t height, int64_t bytes, int64_t maxBytes)
{
    constexpr int64_t kMiB = int64_t(1) << 20;
    return QStringLiteral("图片太大: %1 x %2, 解码需要 %3 MB, 上限 %4 MB")
        .arg(width)
        .arg(height)
        .arg((bytes + kMiB - 1) / kMiB)
        .arg(maxBytes / kMiB);
}
