#include "platform/shell/DesktopShell.h"

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
    const QUrl url = targetUrl(target);
    // The opener takes a local path as it is and an address as its text.
    const QString argument = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
    // No parent: a child still running when the program ends (a browser the
    // opener waits for) must not be killed with it.
    auto* opener = new QProcess;
    opener->setProgram(opener_);
    opener->setArguments({argument});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    const auto report = onFailure;
    QObject::connect(opener, &QProcess::finished, opener, [opener, report, target](int code, QProcess::ExitStatus how) {
        if ((how != QProcess::NormalExit || code != 0) && report)
            report(target);
        opener->deleteLater();
    });
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    return true;
}

bool DesktopShell::start(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}
