#include "state/PicturePaths.h"

#include <QFile>

bool isPictureName(const QString& name)
{
    static const QLatin1String kEndings[] = {
        QLatin1String("jpg"), QLatin1String("jpeg"), QLatin1String("jpe"), QLatin1String("bmp"),
        QLatin1String("gif"), QLatin1String("png"),  QLatin1String("tif"), QLatin1String("tiff"),
    };
    for (const QLatin1String& ending : kEndings)
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    return false;
}

QString pictureNamePatterns()
{
    return QStringLiteral("*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.bmp;*.tif;*.tiff");
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool isBorderName(const QString& name)
{
    return name.size() > 4 && name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
}

QString fittedName(QString stem, const QString& tail)
{
    while (!stem.isEmpty() && QFile::encodeName(stem + tail).size() > kMaxNameBytes) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return stem + tail;
}
