#include "state/PicturePaths.h"

bool isPictureName(const QString& name)
{
    const QString last3 = name.right(3).toLower();
    return last3 == QLatin1String("jpg") || last3 == QLatin1String("bmp")
        || last3 == QLatin1String("gif") || last3 == QLatin1String("png")
        || name.right(4).toLower() == QLatin1String("tiff");
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
