#include "settings/menus/AboutText.h"

#include <QVersionNumber>

QString aboutText(const QString& version, const QString& releaseDate)
{
    const QVersionNumber v = QVersionNumber::fromString(version);
    return QStringLiteral("Vimo图片批处理%1.%2.%3     \n\n发布日期:%4   ")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion())
        .arg(releaseDate);
}
