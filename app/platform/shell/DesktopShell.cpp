#include "platform/shell/DesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

QUrl DesktopShell::targetUrl(const QString& target)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch() && !target.startsWith(QLatin1Char('/')))
        return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

bool DesktopShell::open(const QString& target)
{
    if (target.isEmpty())
        return false;
    return QDesktopServices::openUrl(targetUrl(target));
}

bool DesktopShell::start(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}
