#include "mainwindow/preview/PreviewTexts.h"

#include <QVersionNumber>

#include "state/AppState.h"

namespace previewtext {

const QString kEmptyList = QStringLiteral("【提示】列表中还没有图片,请先添加要处理的图片。");
const QString kDescriptionHint = QStringLiteral("在这里填写该图片的说明,回车确认,ESC键隐藏本说明");
const QString kDamagedMark = QStringLiteral("  【图片数据不完整或已损坏】");

namespace {

QString fileNameOf(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

} // namespace

QString infoLine(const QString& path, std::optional<QSize> size, qint64 bytes)
{
    QString line = QStringLiteral("【图片信息】文件名:") + fileNameOf(path);
    if (size)
        line += QStringLiteral("  宽:%1  高:%2").arg(size->width()).arg(size->height());
    line += QStringLiteral("  大小:%1K   双击文件名可全屏浏览。").arg(std::max<qint64>(bytes, 0) / 1024);
    return line;
}

QString unreadableLine(const QString& path, bool exists)
{
    return QStringLiteral("【图片信息】文件名:") + fileNameOf(path) +
           (exists ? QStringLiteral("  无法读取:不是可以读取的图片。") : QStringLiteral("  无法读取:文件不存在。"));
}

QString refusedLine(const QString& path, const QString& error)
{
    // The error log's line starts with the path and ends in "。" and CR LF.
    QString reason = error.startsWith(path) ? error.mid(path.size()) : error;
    while (reason.endsWith(u'\n') || reason.endsWith(u'\r') || reason.endsWith(u'。'))
        reason.chop(1);
    return QStringLiteral("【图片信息】文件名:") + fileNameOf(path) + QStringLiteral("  无法处理:") + reason +
           QStringLiteral("。");
}

QString troubleLine(const QStringList& tips)
{
    return QStringLiteral("【提示】") + tips.join(QStringLiteral("  "));
}

QString windowCaption(const QString& path, bool damaged)
{
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(VIMO_VERSION));
    const QString caption =
        QStringLiteral("Vimo图片批处理%1.%2版 - %3").arg(v.majorVersion()).arg(v.minorVersion()).arg(path);
    return damaged ? caption + kDamagedMark : caption;
}

QString descriptionText(const QString& description)
{
    return description.isEmpty() ? kDescriptionHint : description;
}

bool storeDescription(AppState& st, int index, const QString& text)
{
    if (index < 0 || index >= st.list.count())
        return false;
    st.list.at(index).description = text == kDescriptionHint ? QString() : text;
    return true;
}

} // namespace previewtext
