#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LocalServer.h"
#include "platform/ftp/CurlUploader.h"

TEST(CurlUploader, AddressCountsFromTheServersRootWithEverySegmentEncoded)
{
    struct Case {
        const char* server;
        QStringList folders;
        const char* name;
        const char* url;
    } cases[] = {
        {"ftp://ftp.example", {"www", "pics"}, "261209081530_a.jpg", "ftp://ftp.example:21/%2F/www/pics/261209081530_a.jpg"},
        {"FTP://ftp.example:2121/", {}, "x.jpg", "ftp://ftp.example:2121/%2F/x.jpg"},
        {"192.0.2.7", {"a b", "相册", "#?"}, "猫 1.jpg",
         "ftp://192.0.2.7:21/%2F/a%20b/%E7%9B%B8%E5%86%8C/%23%3F/%E7%8C%AB%201.jpg"},
        {"[::1]:2121", {"p"}, "x.jpg", "ftp://[::1]:2121/%2F/p/x.jpg"},
        {"ftp://", {}, "x.jpg", ""},
        {"", {}, "x.jpg", ""},
        {"ftp.example:notaport", {}, "x.jpg", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        FtpPut put;
        put.server = QString::fromUtf8(c.server);
        put.folders = c.folders;
        put.remoteName = QString::fromUtf8(c.name);
        EXPECT_EQ(CurlUploader::urlFor(put), QString::fromUtf8(c.url));
    }
}

TEST(CurlUploader, AServerThatNeverAnswersCostsOnlyTheTimeOut)
{
    // Connections are taken by the kernel's backlog and never answered.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(s, 4), 0);
    socklen_t length = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
    QTemporaryDir dir;
    QFile file(dir.filePath("a.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("data");
    file.close();

    CurlUploader uploader(FtpTimeouts{1, 1, 1});
    FtpPut put;
    put.server = "127.0.0.1:" + QString::number(ntohs(addr.sin_port));
    put.remoteName = "a.jpg";
    put.localPath = file.fileName();
    EXPECT_EQ(uploader.put(put), FtpStatus::NoConnection);
    ::close(s);
}

TEST(CurlUploader, AMissingLocalFileFailsTheTransfer)
{
    QTemporaryDir dir;
    FtpServer server(dir.path().toStdString(), "u", "p");
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    CurlUploader uploader;
    FtpPut put;
    put.server = QString::fromStdString(server.hostAndPort());
    put.user = "u";
    put.password = "p";
    put.remoteName = "a.jpg";
    put.localPath = dir.filePath("missing.jpg");
    EXPECT_EQ(uploader.put(put), FtpStatus::Failed);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.jpg")));
}

TEST(CurlUploader, AFileTheServerKeptOnlyPartOfIsAFailedTransfer)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("served");
    FtpServer server(dir.filePath("served").toStdString(), "u", "p", FtpServer::Fault::CutShort);
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    QFile file(dir.filePath("a.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(20000, 'x'));
    file.close();
    CurlUploader uploader;
    FtpPut put;
    put.server = QString::fromStdString(server.hostAndPort());
    put.user = "u";
    put.password = "p";
    put.remoteName = "a.jpg";
    put.localPath = file.fileName();
    EXPECT_EQ(uploader.put(put), FtpStatus::Failed);
    EXPECT_LT(QFileInfo(dir.filePath("served/a.jpg")).size(), 20000) << "the server kept a part";
}

TEST(CurlUploader, AFileKeptWholeIsDone)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("served");
    FtpServer server(dir.filePath("served").toStdString(), "u", "p");
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    for (const int size : {0, 1, 20000}) {
        QFile file(dir.filePath("a.jpg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(size, 'x'));
        file.close();
        CurlUploader uploader;
        FtpPut put;
        put.server = QString::fromStdString(server.hostAndPort());
        put.user = "u";
        put.password = "p";
        put.folders = {"a b"};
        put.remoteName = QStringLiteral("%1 照片.jpg").arg(size);
        put.localPath = file.fileName();
        EXPECT_EQ(uploader.put(put), FtpStatus::Done) << size;
        EXPECT_EQ(QFileInfo(dir.filePath("served/a b/" + put.remoteName)).size(), size);
    }
}

TEST(CurlUploader, AServerThatLetsTheUserInAndThenStopsAnsweringStallsTheUpload)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("served");
    FtpServer server(dir.filePath("served").toStdString(), "u", "p", FtpServer::Fault::Stall);
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    QFile file(dir.filePath("a.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("data");
    file.close();
    // Only the short wait for STOR's answer ends this: never the hour
    // allowed for the answer to the last byte.
    CurlUploader uploader(FtpTimeouts{10, 5, 5, 3600});
    FtpPut put;
    put.server = QString::fromStdString(server.hostAndPort());
    put.user = "u";
    put.password = "p";
    put.remoteName = "a.jpg";
    put.localPath = file.fileName();
    EXPECT_EQ(uploader.put(put), FtpStatus::Stalled);
    EXPECT_EQ(server.uploadsAsked(), 1);
}

// Before the data only a whole reply answers, and only a whole 125 or 150
// reply to STOR starts the data: a reply that goes on and on, or a "150" line
// inside another reply and then silence, is held to the answer limit. Each
// answer has its own limit, however long the questions before the data take
// in all. The servers' lines and silences end after a while, so a client that
// waits them out gets the file through.
TEST(CurlUploader, BeforeTheDataOnlyWholeRepliesAnswerEachInItsTime)
{
    using F = FtpServer::Fault;
    const struct {
        const char* what;
        F fault;
        const char* knobs;
        QStringList folders;
        FtpTimeouts timeouts;
        FtpStatus status;
    } cases[] = {
        {"a CWD reply that gets a line every half second for 6 s", F::EndlessCwdReply, "0.5,12", {}, {10, 3, 3, 60},
         FtpStatus::Stalled},
        {"a 150 line inside a PWD reply, then 6 s of silence", F::StartInPwdReply, "6", {}, {10, 3, 3, 60},
         FtpStatus::Stalled},
        {"CWD replies of several lines, each in 2 s, 6 s in all", F::EndlessCwdReply, "0.5,4", {"pics"},
         {3, 3, 3, 60}, FtpStatus::Done},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("served");
        FtpServer server(dir.filePath("served").toStdString(), "u", "p", c.fault, c.knobs);
        ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
        QFile file(dir.filePath("a.jpg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(20000, 'x'));
        file.close();
        CurlUploader uploader(c.timeouts);
        FtpPut put;
        put.server = QString::fromStdString(server.hostAndPort());
        put.user = "u";
        put.password = "p";
        put.folders = c.folders;
        put.remoteName = "a.jpg";
        put.localPath = file.fileName();
        EXPECT_EQ(uploader.put(put), c.status);
        const bool done = c.status == FtpStatus::Done;
        EXPECT_EQ(server.uploadsAsked(), done ? 1 : 0);
        const QString stored = c.folders.isEmpty() ? "served/a.jpg" : "served/" + c.folders.join('/') + "/a.jpg";
        EXPECT_EQ(QFileInfo(dir.filePath(stored)).size(), done ? 20000 : 0);
    }
}
