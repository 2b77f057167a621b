// Pictures given as addresses are fetched into the temporary folder.
#include "engine/document/PdfVum.h"
#include "engine/util/VumError.h"
#include "platform/net/UrlFetcher.h"

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

// A server whose answers never end: /endless sends 64 MB as fast as it can,
// /trickle one byte every half second for five minutes.
const char* const kHostileServer = R"(
import http.server, sys, time
class H(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header('Content-Type', 'image/png')
        self.end_headers()
        try:
            if self.path == '/endless.png':
                chunk = b'\x89' * 65536
                for _ in range(1024):
                    self.wfile.write(chunk)
            else:
                for _ in range(600):
                    self.wfile.write(b'x')
                    self.wfile.flush()
                    time.sleep(0.5)
        except OSError:
            pass
    def log_message(self, *args):
        pass
http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), H).serve_forever()
)";

// python3 -m http.server serving one folder on 127.0.0.1, or the hostile server.
class HttpServer {
public:
    explicit HttpServer(const fs::path& root, bool hostile = false) : port_(freePort())
    {
        const std::string port = std::to_string(port_);
        const std::string dir = root.string();
        const char* plain[] = {"python3", "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                               "--directory", dir.c_str(), nullptr};
        const char* endless[] = {"python3", "-c", kHostileServer, port.c_str(), nullptr};
        char** argv = const_cast<char**>(hostile ? endless : plain);
        if (posix_spawnp(&pid_, "python3", nullptr, nullptr, argv, environ) != 0)
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

TEST(PdfDownload, EndlessAndTricklingAnswersStopAtTheLimits)
{
    TempDir temp;
    HttpServer server(temp.path(), true);
    ASSERT_TRUE(server.running());
    platform::FetchLimits& limits = platform::fetchLimits();
    const platform::FetchLimits old = limits;
    limits.maxBytes = 1 << 20;
    limits.maxSeconds = 2;
    TPdfVum doc;
    doc.SetTempFolder(temp.path().string());
    const std::string endless = server.url("endless.png"), trickle = server.url("trickle.png");
    const std::string large = errorOf(doc, endless), slow = errorOf(doc, trickle);
    limits = old;
    EXPECT_EQ(large, "Download larger than 1048576 bytes: " + endless);
    EXPECT_EQ(slow, "Download took longer than 2 seconds: " + trickle);
    EXPECT_TRUE(fs::is_empty(temp.path()));
}
