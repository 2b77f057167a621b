#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "platform/ftp/Uploader.h"

struct RunOutcome;
struct UploadTarget;

// The prefix of every remote name: local time as "yyMMddHHmmss_".
QString uploadStamp(const QDateTime& when);
// The remote folders from the server's root: the root's, then the folder's,
// so "/www" and "pics" give www, pics whatever slashes they carry.
QStringList remoteFolders(const UploadTarget& target);
// Where the uploaded file is seen on the web: the web address, the folder
// when there is one and the stamped name, one "/" between each, the folder
// and the name percent-encoded.
QString webAddress(const UploadTarget& target, const QString& stampedName);
// The error-log line of a failed put: "在传输文件时发生错误:(错误代码:N)。" and CR LF.
QString uploadErrorLine(FtpStatus status);

// Sends a saved result to the target under the stamped name. On success the
// address is recorded in the run's outcome with `description` (that of the
// entry the file was saved for); on failure one error line is logged there
// and nothing recorded.
bool FtpUpload(const UploadTarget& target, Uploader& uploader, const QString& localPath,
               const QString& remoteName, const QString& description, RunOutcome& outcome,
               const QDateTime& when = QDateTime::currentDateTime());
