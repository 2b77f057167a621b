#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "LocalServer.h"
#include "QueueUnknown.h"
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

namespace {

// A file of `size` bytes in `dir`, put on `server` as "a.jpg" by `uploader`.
using Faults = std::vector<std::pair<FtpServer::Fault, std::string>>;
using F = FtpServer::Fault;

struct PutOnServer {
    QTemporaryDir dir;
    QString local;
    FtpPut put;

    explicit PutOnServer(qint64 size)
    {
        QDir(dir.path()).mkdir("served");
        local = dir.filePath("a.jpg");
        QFile file(local);
        if (file.open(QIODevice::WriteOnly)) {
            QByteArray bytes(size, '\0');
            for (qint64 i = 0; i < size; ++i)
                bytes[i] = char((i * 7919) >> 3);
            file.write(bytes);
        }
        put.user = "u";
        put.password = "p";
        put.remoteName = "a.jpg";
        put.localPath = local;
    }
    std::string served() const { return dir.filePath("served").toStdString(); }
    FtpStatus to(const FtpServer& server, Uploader& uploader)
    {
        put.server = QString::fromStdString(server.hostAndPort());
        return uploader.put(put);
    }
    // Puts the file on a new server that has these faults; nothing when the
    // server does not start.
    std::optional<FtpStatus> onServerWith(const Faults& faults, Uploader& uploader)
    {
        FtpServer server(served(), "u", "p", faults);
        if (!server.running()) {
            ADD_FAILURE() << "the FTP server did not start: python3-pyftpdlib is needed";
            return std::nullopt;
        }
        return to(server, uploader);
    }
    qint64 kept() const { return QFileInfo(dir.filePath("served/a.jpg")).size(); }
};

} // namespace

// RFC 959 lets a server answer the password with 202 (none needed) or the
// user name with 230: the user is in, and the login limit is over, however
// long the file then takes.
TEST(CurlUploader, AnySuccessToTheLoginLetsTheUserIn)
{
    const struct {
        const char* what;
        Faults faults;
    } cases[] = {
        {"202 to PASS, then 5 s of data", {{F::LoginBy202, ""}, {F::Slow, "65536"}}},
        {"230 to USER, then 5 s of data", {{F::LoginAtUser, ""}, {F::Slow, "65536"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnServer p(320 * 1024);
        CurlUploader uploader(FtpTimeouts{2, 5, 5, 5});
        EXPECT_EQ(p.onServerWith(c.faults, uploader), FtpStatus::Done);
        EXPECT_EQ(p.kept(), 320 * 1024);
    }
}

// Where the server tells no sizes (an account that may store but not list
// or read), the transfer shows whether it took the file whole: every byte
// acknowledged, its end of the data connection closed in order and a
// success for an answer. A server that closes early with the rest in its
// buffer resets the connection, whatever it answers.
TEST(CurlUploader, WithoutSizesTheTransferShowsWhetherTheServerKeptTheFile)
{
    const qint64 size = 600 * 1024;
    const struct {
        const char* what;
        Faults faults;
        FtpStatus status;
        qint64 kept;
    } cases[] = {
        {"SIZE refused with 550", {{F::NoSize, "550"}}, FtpStatus::Done, size},
        {"SIZE refused with 502", {{F::NoSize, "502"}}, FtpStatus::Done, size},
        {"SIZE refused with 500", {{F::NoSize, "500"}}, FtpStatus::Done, size},
        {"SIZE refused, 100 KB kept, 226", {{F::NoSize, "502"}, {F::BigBuffer, ""}, {F::CutShort, "102400"}},
         FtpStatus::Failed, 102400},
        {"SIZE told, 100 KB kept, 226", {{F::BigBuffer, ""}, {F::CutShort, "102400"}}, FtpStatus::Failed, 102400},
        {"SIZE refused, the control connection closed after 226", {{F::NoSize, "550"}, {F::HangUpAfter226, ""}},
         FtpStatus::Done, size},
        {"SIZE told, the control connection closed after 226", {{F::HangUpAfter226, ""}}, FtpStatus::Done, size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnServer p(size);
        CurlUploader uploader;
        EXPECT_EQ(p.onServerWith(c.faults, uploader), c.status);
        EXPECT_EQ(p.kept(), c.kept);
    }
}

// A server whose system takes in the whole file at once (a 4 MB buffer) and
// whose program reads it slowly is still reading, unseen, after the last
// byte is acknowledged: the answer limit waits for the reading at the
// slowest allowed rate. One that never reads it still ends after that.
TEST(CurlUploader, AServerStillReadingWhatItsSystemTookIsNotStalled)
{
    const qint64 size = 600 * 1024;
    const struct {
        const char* what;
        Faults faults;
        long slowest;
        FtpStatus status;
        qint64 kept;
    } cases[] = {
        {"reads 128 KB/s: 5 s after the last byte was acknowledged", {{F::BigBuffer, ""}, {F::Slow, "131072"}}, 65536,
         FtpStatus::Done, size},
        {"stops reading after 100 KB", {{F::BigBuffer, ""}, {F::StopsReading, "102400"}}, 262144, FtpStatus::Stalled,
         -1},
        {"stops reading after 100 KB and answers nothing more, QUIT neither",
         {{F::BigBuffer, ""}, {F::StopsReading, "102400"}, {F::NoQuit, ""}}, 262144, FtpStatus::Stalled, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnServer p(size);
        CurlUploader uploader(FtpTimeouts{10, 5, 2, 2, c.slowest, 1});
        EXPECT_EQ(p.onServerWith(c.faults, uploader), c.status);
        if (c.kept >= 0) {
            EXPECT_EQ(p.kept(), c.kept);
        }
    }
}

namespace {

// Every data socket acts as on a system that cannot tell what it still holds.
struct QueueUnknown : ::testing::Test {
    QueueUnknown() { setQueueUnknown(true); }
    ~QueueUnknown() override { setQueueUnknown(false); }
};

} // namespace

// Where the system cannot tell what the data connection still holds, what
// was handed over may all still wait there: the limits allow for a server
// taking it at the slowest rate, and a server past them has failed this
// file, but is not known to have stalled. Nor can the transfer then show
// that a server which tells no sizes has the file whole.
TEST_F(QueueUnknown, NoGuessCountsAsTaken)
{
    const qint64 size = 600 * 1024;
    const struct {
        const char* what;
        Faults faults;
        long slowest;
        FtpStatus status;
    } cases[] = {
        {"a server taking 128 KB/s", {{F::Slow, "131072"}}, 65536, FtpStatus::Done},
        {"a server that stops reading after 100 KB", {{F::StopsReading, "102400"}}, 262144, FtpStatus::Failed},
        {"an account that refuses SIZE: nothing shows the file whole", {{F::NoSize, "550"}}, 262144, FtpStatus::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnServer p(size);
        CurlUploader uploader(FtpTimeouts{10, 5, 2, 2, c.slowest});
        EXPECT_EQ(p.onServerWith(c.faults, uploader), c.status);
        if (c.status == FtpStatus::Done) {
            EXPECT_EQ(p.kept(), size);
        }
    }
}

// QUIT is the put's last word: its answer is awaited a short while, and a
// server that never gives it keeps the results it took whole, whether it
// tells their sizes or not.
TEST(CurlUploader, AServerThatNeverAnswersQuitKeepsItsResults)
{
    const qint64 size = 300 * 1024;
    const struct {
        const char* what;
        Faults faults;
    } cases[] = {
        {"sizes told", {{F::NoQuit, ""}}},
        {"SIZE refused", {{F::NoQuit, ""}, {F::NoSize, "550"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnServer p(size);
        FtpServer server(p.served(), "u", "p", c.faults);
        ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
        CurlUploader uploader(FtpTimeouts{10, 5, 40, 120, 4096, 1});
        for (int i = 0; i < 3; ++i) {
            p.put.remoteName = QStringLiteral("%1.jpg").arg(i);
            EXPECT_EQ(p.to(server, uploader), FtpStatus::Done) << i;
            EXPECT_EQ(QFileInfo(QDir(QString::fromStdString(p.served())).filePath(p.put.remoteName)).size(), size) << i;
        }
    }
}

// A transfer given up is reset before QUIT: a server that would take all
// that was queued before it answers anything else stops at once and
// answers, instead of holding the put while it takes a megabyte at 16 KB/s.
TEST(CurlUploader, ATransferGivenUpIsResetBeforeQuit)
{
    const qint64 size = 1 << 20;
    PutOnServer p(size);
    // Limits the slow server is past within a few seconds; a minute for QUIT.
    CurlUploader uploader(FtpTimeouts{10, 5, 1, 1, 1 << 30, 60});
    EXPECT_EQ(p.onServerWith({{F::BigBuffer, "65536"}, {F::Slow, "16384"}, {F::QuitAfterData, ""}}, uploader),
              FtpStatus::Stalled);
    EXPECT_LT(p.kept(), size / 2) << "the server took all that was queued before it answered QUIT";
}

// A server whose buffer is full takes nothing more until its program has
// read a large share of it: reading 64 KB/s behind a 256 KB buffer, it
// takes no byte for up to 6 s at a time, though it reads steadily. The
// limits allow it the time to read what it may hold at the slowest rate
// (here 32 KB/s), so a result larger than its buffer arrives whole, and the
// next one goes too.
TEST(CurlUploader, AServerReadingSteadilyBehindAFullBufferKeepsItsResults)
{
    const qint64 size = 1 << 20;
    PutOnServer p(size);
    FtpServer server(p.served(), "u", "p", Faults{{F::BigBuffer, "262144"}, {F::Slow, "65536"}});
    ASSERT_TRUE(server.running()) << "the FTP server did not start: python3-pyftpdlib is needed";
    CurlUploader uploader(FtpTimeouts{10, 5, 2, 2, 32768, 1});
    EXPECT_EQ(p.to(server, uploader), FtpStatus::Done);
    EXPECT_EQ(p.kept(), size);
    QFile small(p.local);
    ASSERT_TRUE(small.open(QIODevice::WriteOnly | QIODevice::Truncate));
    small.write(QByteArray(20000, 'x'));
    small.close();
    p.put.remoteName = "b.jpg";
    EXPECT_EQ(p.to(server, uploader), FtpStatus::Done);
    EXPECT_EQ(QFileInfo(QDir(QString::fromStdString(p.served())).filePath("b.jpg")).size(), 20000);
}
