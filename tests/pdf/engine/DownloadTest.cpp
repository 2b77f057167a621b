// Pictures given as addresses are fetched into the temporary folder.
#include "engine/document/PdfVum.h"
#include "engine/util/VumError.h"

#include "LocalServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vum;
namespace fs = std::filesystem;

namespace {

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
