#include "processing/FtpUpload.h"

#include <QUrl>

#include "state/AppState.h"

namespace {

QStringList segments(const QString& path)
{
    return path.split(u'/', Qt::SkipEmptyParts);
}

QString descriptionOf(const PictureList& list, const QString& resultPath)
{
    for (const PictureEntry& e : list.entries())
        if (!resultPath.isEmpty() && e.resultPath == resultPath)
            return e.description;
    return {};
}

} // namespace

QString uploadStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyMMddHHmmss")) + u'_';
}

QStringList remoteFolders(const UploadModuleState& ftp)
{
    return segments(ftp.sFtpRoot) + segments(ftp.sFtpDir);
}

QString webAddress(const UploadModuleState& ftp, const QString& stampedName)
{
    QString address = ftp.sWebURL.trimmed();
    // Trailing slashes go, but never those of the scheme ("http://").
    const qsizetype scheme = address.indexOf(QLatin1String("://"));
    const qsizetype keep = scheme < 0 ? 0 : scheme + 3;
    while (address.size() > keep && address.endsWith(u'/'))
        address.chop(1);
    for (const QString& folder : segments(ftp.sFtpDir))
        address += u'/' + QString::fromLatin1(QUrl::toPercentEncoding(folder));
    return address + u'/' + QString::fromLatin1(QUrl::toPercentEncoding(stampedName));
}

QString uploadErrorLine(FtpStatus status)
{
    return QStringLiteral("在传输文件时发生错误:(错误代码:%1)。\r\n").arg(int(status));
}

bool FtpUpload(AppState& st, Uploader& uploader, const QString& localPath, const QString& remoteName,
               const QDateTime& when)
{
    const QString stamped = uploadStamp(when) + remoteName;
    FtpPut put;
    put.server = st.ftp.sFtpServer;
    put.user = st.ftp.sFtpUser;
    put.password = st.ftp.sFtpPass;
    put.folders = remoteFolders(st.ftp);
    put.remoteName = stamped;
    put.localPath = localPath;
    const FtpStatus status = uploader.put(put);
    if (status != FtpStatus::Done) {
        st.ps.bHasErr = true;
        st.ps.sErrLog += uploadErrorLine(status);
        return false;
    }
    st.ftp.sUpURL.push_back({webAddress(st.ftp, stamped), descriptionOf(st.list, localPath)});
    return true;
}
