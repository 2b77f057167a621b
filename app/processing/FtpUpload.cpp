#include "processing/FtpUpload.h"

#include <QUrl>

#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"

namespace {

QStringList segments(const QString& path)
{
    return path.split(u'/', Qt::SkipEmptyParts);
}

} // namespace

QString uploadStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyMMddHHmmss")) + u'_';
}

QStringList remoteFolders(const UploadTarget& target)
{
    return segments(target.root) + segments(target.folder);
}

QString webAddress(const UploadTarget& target, const QString& stampedName)
{
    QString address = target.webAddress.trimmed();
    // Trailing slashes go, but never those of the scheme ("http://").
    const qsizetype scheme = address.indexOf(QLatin1String("://"));
    const qsizetype keep = scheme < 0 ? 0 : scheme + 3;
    while (address.size() > keep && address.endsWith(u'/'))
        address.chop(1);
    for (const QString& folder : segments(target.folder))
        address += u'/' + QString::fromLatin1(QUrl::toPercentEncoding(folder));
    return address + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(stampedName));
}

QString uploadErrorLine(FtpStatus status)
{
    return QStringLiteral("在传输文件时发生错误:(错误代码:%1)。\r\n").arg(errorCode(status));
}

bool FtpUpload(const UploadTarget& target, Uploader& uploader, const QString& localPath,
               const QString& remoteName, const QString& description, RunOutcome& outcome,
               const QDateTime& when)
{
    const QString stamped = uploadStamp(when) + remoteName;
    FtpPut put;
    put.server = target.server;
    put.user = target.user;
    put.password = target.password;
    put.folders = remoteFolders(target);
    put.remoteName = stamped;
    put.localPath = localPath;
    const FtpStatus status = uploader.put(put);
    if (status != FtpStatus::Done) {
        outcome.log(uploadErrorLine(status));
        return false;
    }
    outcome.uploaded.push_back({webAddress(target, stamped), description});
    return true;
}
