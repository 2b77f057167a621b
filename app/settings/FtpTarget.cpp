#include "settings/FtpTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Makes the settings file, created if need be, readable by its owner alone.
// Done before the password is written: the store replaces the file by a new
// one that takes the permissions of the file it replaces, so the password
// never lies in a file others may read, not even for a moment.
bool makePrivate(const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && ((st.st_mode & 0777) == 0600 || ::fchmod(fd, 0600) == 0);
    ::close(fd);
    return ok;
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
    if (rememberPassword && !makePrivate(sameFile().fileName()))
        return false;
    UploadModuleState copy = ftp;
    for (int i = 0; i < 5; ++i)
        store.writeText(QString::fromLatin1(kKeys[i]), *field(copy, i));
    if (rememberPassword)
        store.writeText(kPassKey, ftp.sFtpPass);
    else
        sameFile().remove(QStringLiteral("Options/") + kPassKey);
    return store.sync();
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
