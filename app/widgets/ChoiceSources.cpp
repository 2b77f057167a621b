#include "widgets/ChoiceSources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "state/PicturePaths.h"

std::vector<SizeEntry> readSizeFile(const QString& path)
{
    std::vector<SizeEntry> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    while (!file.atEnd() && int(rows.size()) < kMaxChoiceRows) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        const int first = line.indexOf(u';');
        const int second = first < 0 ? -1 : line.indexOf(u';', first + 1);
        SizeEntry row;
        row.label = first < 0 ? line : line.left(first);
        if (first >= 0)
            row.width = second < 0 ? line.mid(first + 1) : line.mid(first + 1, second - first - 1);
        if (second >= 0)
            row.height = line.mid(second + 1);
        if (!row.label.isEmpty())
            rows.push_back(row);
    }
    return rows;
}

QStringList borderFiles(const QString& folder)
{
    QStringList paths;
    // Listed by hand so that upper-case endings count on a case-sensitive file system.
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& f : files) {
        if (isBorderName(f.fileName()))
            paths << f.absoluteFilePath();
        if (paths.size() >= kMaxChoiceRows - 1)
            break;
    }
    return paths;
}

QString borderLabel(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.left(qMax(0, name.size() - 4));
}
