// Pictures given as addresses are fetched into the temporary folder.
#include "engine/document/PdfVum.h"
#include "engine/util/VumError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace vum;
namespace fs = std::filesystem;

namespace {

int freePort()
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

bool accepting(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(s);
    return ok;
}

// python3 -m http.server serving one folder on 127.0.0.1.
class HttpServer {
public:
    explicit HttpServer(const fs::path& root) : port_(freePort())
    {
        const std::string port = std::to_string(port_);
        const std::string dir = root.string();
        const char* argv[] = {"python3", "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                              "--directory", dir.c_str(), nullptr};
        if (posix_spawnp(&pid_, "python3", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
        for (int i = 0; i < 600 && pid_ && !accepting(port_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~HttpServer()
    {
        if (pid_) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool running() const { return pid_ != 0 && accepting(port_); }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
    }

private:
    int port_;
    pid_t pid_ = 0;
};

std::string errorOf(TPdfVum& doc, const std::string& url)
{
    try {
        doc.DownloadToTempFile(url);
    } catch (const VumError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(PdfDownload, FetchesIntoFreshTempFilesAndCleansUp)
{
    TempDir served, temp;
    writeFile(served.path() / "photo.png", "not really a png");
    writeFile(served.path() / "index.html", "<html></html>");
    HttpServer server(served.path());
    ASSERT_TRUE(server.running());
    std::string first, second, odd;
    {
        TPdfVum doc;
        doc.SetTempFolder(temp.path().string());
        first = doc.DownloadToTempFile(server.url("photo.png"));
        second = doc.DownloadToTempFile(server.url("photo.png?size=../../x.exe"));
        odd = doc.DownloadToTempFile(server.url("index.html/..%2F"));
        EXPECT_EQ(first, temp.file("Download1.png"));
        EXPECT_EQ(second, temp.file("Download2.png")) << "the extension comes from the last path segment";
        EXPECT_EQ(fs::path(odd).parent_path(), temp.path());
        EXPECT_EQ(readFile(first), "not really a png");
        EXPECT_EQ(readFile(second), "not really a png");
    }
    EXPECT_FALSE(fs::exists(first)) << "downloads go with the document";
    EXPECT_FALSE(fs::exists(second));
}

TEST(PdfDownload, ErrorsLeaveNoFile)
{
    TempDir served, temp;
    writeFile(served.path() / "empty.png", "");
    HttpServer server(served.path());
    ASSERT_TRUE(server.running());
    TPdfVum doc;
    doc.SetTempFolder(temp.path().string());
    const std::string missing = server.url("missing.png");
    EXPECT_EQ(errorOf(doc, missing), "File not found: " + missing);
    EXPECT_EQ(errorOf(doc, server.url("empty.png")), "File not found: " + server.url("empty.png"));
    EXPECT_EQ(errorOf(doc, "/local/file.png"), "File not found: /local/file.png");
    EXPECT_EQ(errorOf(doc, "http://127.0.0.1:1/x.png"), "File not found: http://127.0.0.1:1/x.png");
    EXPECT_TRUE(fs::is_empty(temp.path()));
}
