#include "mainwindow/NewsTicker.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

uint32_t newsColor(const QString& word)
{
    const QString w = word.trimmed().toLower();
    if (w == u"red")
        return 0x0000FF;
    if (w == u"blue")
        return 0xFF0000;
    if (w == u"green")
        return 0x00FF00;
    if (w == u"yellow")
        return 0x00FFFF;
    return 0;
}

std::vector<NewsLine> readNewsFile(const QString& path)
{
    std::vector<NewsLine> lines;
    // Only a regular file: opening a named pipe or a device would wait for a
    // writer on the window's thread and freeze the program.
    if (!QFileInfo(path).isFile())
        return lines;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    // The items fit in far less; a huge or endless file is not read whole.
    const QList<QByteArray> rows = f.read(kMaxNewsBytes).split('\n');
    for (const QByteArray& row : rows) {
        if (int(lines.size()) == kMaxNewsLines)
            break;
        const QString text = QString::fromUtf8(row).remove(u'\r');
        if (text.trimmed().isEmpty())
            continue;
        const QStringList fields = text.split(u'|');
        lines.push_back({fields.value(0), fields.value(1).trimmed(), fields.value(2)});
    }
    return lines;
}

std::optional<NewsTicker::Shown> NewsTicker::tick(const QString& newsFile)
{
    if (!loaded_) {
        lines_ = readNewsFile(newsFile);
        loaded_ = !lines_.empty();
        next_ = 0;
    }
    if (!loaded_)
        return std::nullopt;
    const NewsLine& line = lines_[next_];
    next_ = (next_ + 1) % lines_.size();
    return Shown{line.caption, newsColor(line.color)};
}

QString NewsTicker::linkFor(const QString& caption) const
{
    for (const NewsLine& line : lines_) {
        if (line.caption != caption || line.link.isEmpty())
            continue;
        const QString scheme = QUrl(line.link).scheme().toLower();
        return scheme == u"http" || scheme == u"https" ? line.link : QString();
    }
    return {};
}
