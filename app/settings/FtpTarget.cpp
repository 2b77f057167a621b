#include "settings/FtpTarget.h"

#include <QFile>
#include <QSettings>

#include "state/ModuleState.h"
#include "store/SettingsStore.h"

namespace {

const char* const kKeys[] = {"sFtpServer", "sFtpUser", "sFtpRoot", "sFtpDir", "sWebURL"};
const QString kPassKey = QStringLiteral("sFtpPass");

QString* field(UploadModuleState& ftp, int i)
{
    QString* const fields[] = {&ftp.sFtpServer, &ftp.sFtpUser, &ftp.sFtpRoot, &ftp.sFtpDir, &ftp.sWebURL};
    return fields[i];
}

// The store's own file: the same organisation, application and format.
QSettings sameFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vimo"), QStringLiteral("Vimo"));
}

} // namespace

bool loadFtpTarget(UploadModuleState& ftp, const SettingsStore& store)
{
    for (int i = 0; i < 5; ++i) {
        const QString key = QString::fromLatin1(kKeys[i]);
        if (store.contains(key))
            *field(ftp, i) = store.text(key);
    }
    if (!store.contains(kPassKey))
        return false;
    ftp.sFtpPass = store.text(kPassKey);
    return true;
}

bool saveFtpTarget(SettingsStore& store, const UploadModuleState& ftp, bool rememberPassword)
{
    UploadModuleState copy = ftp;
    for (int i = 0; i < 5; ++i)
        store.writeText(QString::fromLatin1(kKeys[i]), *field(copy, i));
    if (rememberPassword)
        store.writeText(kPassKey, ftp.sFtpPass);
    else
        sameFile().remove(QStringLiteral("Options/") + kPassKey);
    if (!store.sync())
        return false;
    if (!rememberPassword)
        return true;
    return QFile::setPermissions(sameFile().fileName(), QFile::ReadOwner | QFile::WriteOwner);
}

QString checkedFtpServer(const QString& typed, QString& problem)
{
    QString s = typed.trimmed();
    if (s.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive))
        s = s.mid(6);
    while (s.endsWith(u'/'))
        s.chop(1);
    QString host = s;
    if (const int colon = s.lastIndexOf(u':'); colon >= 0 && colon > s.lastIndexOf(u']')) {
        host = s.left(colon);
        bool ok = false;
        const int port = s.mid(colon + 1).toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            problem = QStringLiteral("端口号应为1到65535之间的数字！");
            return {};
        }
    }
    if (host.isEmpty()) {
        problem = QStringLiteral("请输入FTP服务器地址！");
        return {};
    }
    for (const QChar c : host)
        if (c.isSpace() || c == u'/' || c == u'\\' || c == u'@' || c.unicode() < 0x20) {
            problem = QStringLiteral("FTP服务器地址不正确！");
            return {};
        }
    problem.clear();
    return s;
}
