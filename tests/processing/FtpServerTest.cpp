// Whole runs with upload on against a real FTP server (pyftpdlib) on 127.0.0.1.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BatchRunFixture.h"
#include "ChildProcess.h"
#include "LocalServer.h"
#include "ToolRunner.h"
#include "platform/ftp/CurlUploader.h"
#include "processing/UploadHook.h"
#include "processing/UploadPage.h"

namespace {

const char* const kPassword = "pa55:w@rd/x";
const char* const kNoServer = "the FTP server did not start: python3-pyftpdlib is needed (scripts/install-deps.sh)";

// A port on 127.0.0.1 that nothing listens on.
int closedPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t length = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
    ::close(s);
    return ntohs(addr.sin_port);
}

// Upload on to the folder "pics" below "/www" as user "vimo"; the page shows
// pictures and addresses. Each test names the server.
struct UploadRun : BatchRunFixture {
    explicit UploadRun(std::shared_ptr<Uploader> uploader = std::make_shared<CurlUploader>())
    {
        st.ps.bShowURL = 1;
        st.ps.bShowURLPic = 1;
        st.panel.chkFtp = 1;
        st.ftp.sFtpUser = "vimo";
        st.ftp.sFtpPass = kPassword;
        st.ftp.sFtpRoot = "/www";
        st.ftp.sFtpDir = "pics";
        st.ftp.sWebURL = "http://pics.example";
        served().mkpath(".");
        QDir().mkpath(userDir());
        attachUpload(run, std::move(uploader), userDir());
    }
    QDir served() const { return QDir(dir.filePath("served")); }
    QString userDir() const { return dir.filePath("user"); }
    // Noisy pictures, so a result spans several network packets.
    void pictures(int count, const std::string& size = "900x600")
    {
        for (int i = 0; i < count; ++i) {
            const QString path = dir.filePath(QStringLiteral("src %1.png").arg(st.list.count()));
            ASSERT_EQ(runTool({"convert", "-size", size, "xc:gray", "-seed", "7", "+noise", "Random",
                               path.toStdString()}).exitCode, 0) << "ImageMagick's convert is needed";
            st.list.add(path);
        }
    }
    // A big result (noise keeps about 0.7 bytes a pixel as JPEG), then two small ones.
    void bigThenSmallResults(const std::string& bigSize)
    {
        st.ps.iSizeMode = 2;  // the source's size
        pictures(1, bigSize);
        pictures(2, "300x200");
    }
    QStringList uploaded() const
    {
        return QDir(served().filePath("www/pics")).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

TEST(FtpServer, EveryResultArrivesWholeUnderItsStampAndThePageListsIt)
{
    UploadRun f;
    FtpServer server(f.served().path().toStdString(), "vimo", kPassword);
    ASSERT_TRUE(server.running()) << kNoServer;
    f.st.ftp.sFtpServer = QString::fromStdString("ftp://" + server.hostAndPort());
    f.pictures(2);
    f.st.list.at(0).description = "红色 & <蓝色>";
    QFile list(QDir(f.userDir()).filePath("picUpload.dat"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("http://earlier.example/old.jpg\r\n");
    list.close();

    ASSERT_TRUE(f.start());

    const QStringList names = f.uploaded();
    ASSERT_EQ(names.size(), 2) << readAll(f.out("ErrorLog.txt")).toStdString();
    const QRegularExpression stamped("^\\d{12}_Vimo_000([01])\\.jpg$");
    QStringList addresses;
    for (const QString& name : names) {
        const auto m = stamped.match(name);
        ASSERT_TRUE(m.hasMatch()) << name.toStdString();
        const QByteArray sent = readAll(f.served().filePath("www/pics/" + name));
        EXPECT_FALSE(sent.isEmpty());
        EXPECT_EQ(sent, readAll(f.out("Vimo_000" + m.captured(1) + ".jpg"))) << name.toStdString();
        addresses << "http://pics.example/pics/" + name;
    }
    const QString page = QString::fromUtf8(readAll(f.out("PicURL.htm")));
    const QStringList lines = page.split("\r\n");
    ASSERT_EQ(lines.size(), 2 + 3 + 2 + 1) << page.toStdString();
    EXPECT_EQ(lines[0], "<meta charset=\"utf-8\">");
    EXPECT_TRUE(lines[1].startsWith("<font color=red>【Vimo网络图片使用指南】"));
    EXPECT_EQ(lines[2], "<br><img src=\"" + addresses[0] + "\"></img><br>");
    EXPECT_EQ(lines[3], "【图片地址】 <font color=blue>" + addresses[0] + "</font><br>");
    EXPECT_EQ(lines[4], "<font color=black>红色 &amp; &lt;蓝色&gt;</font><br><br>");
    EXPECT_EQ(lines[5], "<br><img src=\"" + addresses[1] + "\"></img><br>");
    EXPECT_EQ(lines[6], "【图片地址】 <font color=blue>" + addresses[1] + "</font><br>");
    EXPECT_EQ(QString::fromUtf8(readAll(list.fileName())),
              "http://earlier.example/old.jpg\r\n" + addresses.join("\r\n") + "\r\n");
    EXPECT_FALSE(QFile::exists(f.out("ErrorLog.txt")));
    EXPECT_FALSE(page.contains(kPassword));
}

TEST(FtpServer, FailedTransfersAreLoggedPerPictureAndRecordNothing)
{
    struct Case {
        const char* what;
        bool serve;
        FtpServer::Fault fault;
        const char* password;
        int number;
    } cases[] = {
        {"server unreachable", false, FtpServer::Fault::None, kPassword, 2},
        {"wrong password", true, FtpServer::Fault::None, "not-the-password", 2},
        {"server hangs up mid-transfer", true, FtpServer::Fault::HangUp, kPassword, 3},
        {"server keeps a part and answers 226", true, FtpServer::Fault::CutShort, kPassword, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UploadRun f;
        std::unique_ptr<FtpServer> server;
        if (c.serve) {
            server = std::make_unique<FtpServer>(f.served().path().toStdString(), "vimo", kPassword, c.fault);
            ASSERT_TRUE(server->running()) << kNoServer;
            f.st.ftp.sFtpServer = "ftp://" + QString::fromStdString(server->hostAndPort());
        } else {
            f.st.ftp.sFtpServer = "127.0.0.1:" + QString::number(closedPort());
        }
        f.st.ftp.sFtpPass = c.password;
        f.pictures(2);
        ASSERT_TRUE(f.start());

        const QString log = QString::fromUtf8(readAll(f.out("ErrorLog.txt")));
        const QString line = QStringLiteral("在传输文件时发生错误:(错误代码:%1)。\r\n").arg(c.number);
        EXPECT_EQ(log.toStdString(), (kErrLogHeader + line + line + "\r\n").toStdString());
        EXPECT_FALSE(log.contains(kPassword));
        EXPECT_EQ(readAll(f.out("PicURL.htm")), QByteArray("<meta charset=\"utf-8\">\r\n") +
                                                      uploadPageLines(RunRequest{}, RunOutcome{}).at(1).toUtf8() + "\r\n");
        EXPECT_FALSE(QFile::exists(QDir(f.userDir()).filePath("picUpload.dat")));
        EXPECT_TRUE(f.st.status.text().endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
        // Both pictures were still saved.
        EXPECT_TRUE(QFile::exists(f.out("Vimo_0001.jpg")));
    }
}

namespace {

// A server on 127.0.0.1 that takes every connection and closes it at once,
// counting them.
class SlammingServer {
public:
    SlammingServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 16);
        socklen_t length = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] {
            while (!stop_) {
                pollfd p{fd_, POLLIN, 0};
                if (::poll(&p, 1, 50) == 1) {
                    const int c = ::accept(fd_, nullptr, nullptr);
                    if (c >= 0) {
                        ++connections_;
                        ::close(c);
                    }
                }
            }
        });
    }
    ~SlammingServer()
    {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    int port() const { return port_; }
    int connections() const { return connections_; }

private:
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

} // namespace

TEST(FtpServer, AServerThatCannotBeReachedIsTriedOnceARun)
{
    UploadRun f;
    SlammingServer server;
    f.st.ftp.sFtpServer = "127.0.0.1:" + QString::number(server.port());
    f.pictures(3);
    const QString line = QStringLiteral("在传输文件时发生错误:(错误代码:2)。\r\n");
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_TRUE(f.start());
        EXPECT_EQ(server.connections(), run) << "later pictures of the run fail at once";
        EXPECT_EQ(readAll(f.out("ErrorLog.txt")).toStdString(),
                  (kErrLogHeader + line + line + line + "\r\n").toStdString());
        EXPECT_TRUE(QFile::exists(f.out("Vimo_0002.jpg")));
    }
}

TEST(FtpServer, AServerThatStallsAnUploadIsNotAskedAgainThatRun)
{
    // Short waits: the server lets the user in at once and then never
    // answers. The hour for the last answer never comes into it.
    UploadRun f(std::make_shared<CurlUploader>(FtpTimeouts{10, 5, 5, 3600}));
    FtpServer server(f.served().path().toStdString(), "vimo", kPassword, FtpServer::Fault::Stall);
    ASSERT_TRUE(server.running()) << kNoServer;
    f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
    f.pictures(3);
    const QString line = QStringLiteral("在传输文件时发生错误:(错误代码:3)。\r\n");
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_TRUE(f.start());
        EXPECT_EQ(server.uploadsAsked(), run) << "after the first stalled upload the run's later ones fail at once";
        EXPECT_EQ(readAll(f.out("ErrorLog.txt")).toStdString(),
                  (kErrLogHeader + line + line + line + "\r\n").toStdString());
        EXPECT_TRUE(QFile::exists(f.out("Vimo_0002.jpg")));
        EXPECT_TRUE(f.uploaded().isEmpty());
    }
}

// The connection holds megabytes of a big result, which a slow server takes
// in at its pace before it answers the last byte. The limits count what the
// server took, so none is reached while it keeps taking. Short limits, still
// over the server's pauses (up to 2 s at any pace) and its own buffer's worth
// of reading: its last answer comes about 9 s after the last byte was handed
// to the connection.
TEST(FtpServer, ASlowServerGetsEveryResultWholeWhateverItsSize)
{
    UploadRun f(std::make_shared<CurlUploader>(FtpTimeouts{10, 5, 5, 5}));
    FtpServer server(f.served().path().toStdString(), "vimo", kPassword, FtpServer::Fault::Slow);
    ASSERT_TRUE(server.running()) << kNoServer;
    f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
    f.bigThenSmallResults("1700x1100");
    ASSERT_TRUE(f.start());
    ASSERT_GE(QFileInfo(f.out("Vimo_0000.jpg")).size(), 1250 * 1024) << "a result the server takes 13 s for";

    EXPECT_EQ(f.outText().toStdString(), "");
    const QStringList addresses = QString::fromUtf8(readAll(QDir(f.userDir()).filePath("picUpload.dat")))
                                      .split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(addresses.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QString result = QStringLiteral("Vimo_000%1.jpg").arg(i);
        const QString name = addresses.at(i).section(u'/', -1);
        EXPECT_TRUE(name.endsWith(u'_' + result)) << name.toStdString();
        EXPECT_EQ(readAll(f.served().filePath("www/pics/" + name)), readAll(f.out(result))) << i;
    }
}

// A server that stops taking the data while the rest of the result fits the
// connection's buffers, or takes every byte and never answers, is stalled:
// that upload ends at the limit, the run's later ones at once.
TEST(FtpServer, AServerThatStopsTakingTheDataOrNeverAnswersItEndsTheRunsUploads)
{
    const struct {
        const char* what;
        FtpServer::Fault fault;
        const char* knobs;
    } cases[] = {
        {"stops reading after 100 KB", FtpServer::Fault::StopsReading, "102400"},
        {"takes every byte and never answers", FtpServer::Fault::NoFinalAnswer, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UploadRun f(std::make_shared<CurlUploader>(FtpTimeouts{10, 3, 2, 2, 262144, 1}));
        FtpServer server(f.served().path().toStdString(), "vimo", kPassword, c.fault, c.knobs);
        ASSERT_TRUE(server.running()) << kNoServer;
        f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
        f.bigThenSmallResults("1100x780");
        ASSERT_TRUE(f.start());
        ASSERT_GE(QFileInfo(f.out("Vimo_0000.jpg")).size(), 550 * 1024);

        EXPECT_EQ(server.uploadsAsked(), 1) << "after the stalled upload the run's later ones fail at once";
        const QString line = QStringLiteral("在传输文件时发生错误:(错误代码:3)。\r\n");
        EXPECT_EQ(f.outText().toStdString(), (kErrLogHeader + line + line + line + "\r\n").toStdString());
        EXPECT_FALSE(QFile::exists(QDir(f.userDir()).filePath("picUpload.dat")));
        EXPECT_TRUE(QFile::exists(f.out("Vimo_0002.jpg")));
    }
}

// libcurl prints what a transfer brings back (the size a SIZE request
// learns, say) on standard output unless told otherwise; a program whose
// output is a closed pipe then dies of SIGPIPE in the middle of its run.
TEST(FtpServer, UploadsWriteNothingOnStandardOutputEvenAClosedOne)
{
    QTemporaryDir dir;
    const struct {
        const char* what;
        bool closed;
    } cases[] = {{"standard output a file", false}, {"standard output a pipe nobody reads", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UploadRun f;
        FtpServer server(f.served().path().toStdString(), "vimo", kPassword);
        ASSERT_TRUE(server.running()) << kNoServer;
        f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
        f.pictures(3);
        int out = -1;
        const QString captured = dir.filePath("stdout");
        if (c.closed) {
            int ends[2];
            ASSERT_EQ(::pipe(ends), 0);
            ::close(ends[0]);
            out = ends[1];
        } else {
            QFile::remove(captured);
            out = ::open(QFile::encodeName(captured).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ASSERT_GE(out, 0);
        }
        // Unbuffered, so a write fails where it happens, as it would once a
        // long run had filled the buffer; the signal as a program gets it.
        const ChildOutcome child = runInChild([&] {
            std::signal(SIGPIPE, SIG_DFL);
            ::dup2(out, STDOUT_FILENO);
            std::setvbuf(stdout, nullptr, _IONBF, 0);
            const bool started = f.start();
            std::fflush(stdout);
            return std::string(started ? "started" : "refused");
        });
        ::close(out);
        ASSERT_TRUE(child.finished) << "status " << child.status
                                    << (WIFSIGNALED(child.status) ? " (killed by a signal)" : "");
        EXPECT_EQ(child.text, "started");
        EXPECT_EQ(f.uploaded().size(), 3);
        EXPECT_FALSE(QFile::exists(f.out("ErrorLog.txt")));
        EXPECT_EQ(QString::fromUtf8(readAll(f.out("PicURL.htm"))).count("<img "), 3);
        EXPECT_EQ(readAll(QDir(f.userDir()).filePath("picUpload.dat")).count("\r\n"), 3);
        if (!c.closed) {
            EXPECT_EQ(readAll(captured).toStdString(), "");
        }
    }
}

// An account that may store but not list or read refuses SIZE: a result it
// took whole, as the transfer shows, is listed like any other.
TEST(FtpServer, AnUploadOnlyAccountsWholeResultsAreListedWithNothingLogged)
{
    UploadRun f;
    FtpServer server(f.served().path().toStdString(), "vimo", kPassword, FtpServer::Fault::NoSize, "550");
    ASSERT_TRUE(server.running()) << kNoServer;
    f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
    f.bigThenSmallResults("1100x780");
    ASSERT_TRUE(f.start());

    EXPECT_EQ(f.outText().toStdString(), "");
    const QStringList addresses = QString::fromUtf8(readAll(QDir(f.userDir()).filePath("picUpload.dat")))
                                      .split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(addresses.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QString name = addresses.at(i).section(u'/', -1);
        EXPECT_EQ(readAll(f.served().filePath("www/pics/" + name)), readAll(f.out(QStringLiteral("Vimo_000%1.jpg").arg(i))))
            << i;
    }
    EXPECT_EQ(QString::fromUtf8(readAll(f.out("PicURL.htm"))).count("<img "), 3);
}

// A server that tells no sizes, keeps the first 100 KB of a result with the
// rest in its buffer, closes the data connection and answers 226: that
// result is logged and not listed. It failed one file, it did not stall, so
// the run's later results still go.
TEST(FtpServer, AResultTheServerCutIsLoggedAndNotListed)
{
    UploadRun f;
    FtpServer server(f.served().path().toStdString(), "vimo", kPassword,
                     {{FtpServer::Fault::NoSize, "502"}, {FtpServer::Fault::BigBuffer, ""}, {FtpServer::Fault::CutShort, "102400"}});
    ASSERT_TRUE(server.running()) << kNoServer;
    f.st.ftp.sFtpServer = QString::fromStdString(server.hostAndPort());
    f.bigThenSmallResults("1100x780");
    ASSERT_TRUE(f.start());
    ASSERT_GE(QFileInfo(f.out("Vimo_0000.jpg")).size(), 550 * 1024);
    ASSERT_LT(QFileInfo(f.out("Vimo_0002.jpg")).size(), 100 * 1024) << "the small results fit what the server keeps";

    const QString line = QStringLiteral("在传输文件时发生错误:(错误代码:3)。\r\n");
    EXPECT_EQ(f.outText().toStdString(), (kErrLogHeader + line + "\r\n").toStdString());
    EXPECT_EQ(server.uploadsAsked(), 3);
    const QStringList addresses = QString::fromUtf8(readAll(QDir(f.userDir()).filePath("picUpload.dat")))
                                      .split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(addresses.size(), 2);
    EXPECT_TRUE(addresses.at(0).endsWith("_Vimo_0001.jpg"));
    EXPECT_TRUE(addresses.at(1).endsWith("_Vimo_0002.jpg"));
    EXPECT_FALSE(QString::fromUtf8(readAll(f.out("PicURL.htm"))).contains("Vimo_0000.jpg"));
}
