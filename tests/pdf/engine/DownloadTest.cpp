// Pictures given as addresses are fetched into the temporary folder.
#include "engine/document/PdfVum.h"
#include "engine/util/VumError.h"
#include "platform/net/UrlFetcher.h"

#include "LocalServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vum;
namespace fs = std::filesystem;

namespace {

// A server whose answers never end: /endless.png sends 64 MB as fast as it
// can, anything else one byte every half second for five minutes.
const char* const kHostileServer = R"(
import http.server, os, sys, time
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
s = http.server.ThreadingHTTPServer(('127.0.0.1', 0), H)
p = sys.argv[1]
open(p + '.tmp', 'w').write(str(s.server_port))
os.replace(p + '.tmp', p)
s.serve_forever()
)";

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
    LocalServer server(kHostileServer, {});
    ASSERT_TRUE(server.running());
    platform::FetchLimits& limits = platform::fetchLimits();
    const platform::FetchLimits old = limits;
    limits.maxBytes = 1 << 20;
    limits.maxSeconds = 2;
    TPdfVum doc;
    doc.SetTempFolder(temp.path().string());
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    const std::string endless = base + "endless.png", trickle = base + "trickle.png";
    const std::string large = errorOf(doc, endless), slow = errorOf(doc, trickle);
    limits = old;
    EXPECT_EQ(large, "Download larger than 1048576 bytes: " + endless);
    EXPECT_EQ(slow, "Download took longer than 2 seconds: " + trickle);
    EXPECT_TRUE(fs::is_empty(temp.path()));
}
