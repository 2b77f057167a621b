#include "mainwindow/ProgramTitle.h"

#include <QVersionNumber>

QString programTitle()
{
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(VIMO_VERSION));
    return QStringLiteral("Vimo图片批处理%1.%2版").arg(v.majorVersion()).arg(v.minorVersion());
}
