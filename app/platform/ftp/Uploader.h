#pragma once

#include <QString>
#include <QStringList>

// One file to put on an FTP server.
struct FtpPut {
    QString server;           // host, host:port or [v6]:port; a leading "ftp://" is allowed
    QString user, password;   // an empty user logs in anonymously
    QStringList folders;      // remote folders from the server's root, outermost first
    QString remoteName;       // name of the file in the innermost folder
    QString localPath;        // the file to send, byte for byte
};

// How a put ended; `errorCode` gives the number the run's error log shows.
enum class FtpStatus {
    Done = 0,
    NoSession = 1,     // the transfer machinery could not start
    NoConnection = 2,  // the server could not be reached or refused the login
    Failed = 3,        // connected, but the file did not arrive whole
    Stalled = 4,       // connected, then the server stopped answering or taking bytes: a failed transfer
};

// The number of a status in the error log: a stalled transfer is a failed one.
inline int errorCode(FtpStatus status)
{
    return status == FtpStatus::Stalled ? int(FtpStatus::Failed) : int(status);
}

// Sends files to an FTP server in binary mode. A put returns only when it has
// ended, one way or the other; it never takes longer than the time-outs of
// the implementation allow for a server that stops answering.
class Uploader {
public:
    virtual ~Uploader() = default;
    virtual FtpStatus put(const FtpPut& request) = 0;
};
