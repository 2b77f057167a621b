// The upload's names, addresses, error lines and page, over a recording
// uploader; the real transfer is FtpServerTest's.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "platform/ftp/RecordingUploader.h"
#include "processing/FtpUpload.h"
#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"
#include "processing/UploadPage.h"
#include "state/ProgramState.h"

namespace {

const QString kGuide = QStringLiteral(
    "<font color=red>【Vimo网络图片使用指南】<br>下面这些图片已经传输到了网络空间。复制您需要的图片,直接粘贴到网站的编辑框里即可使用。"
    "<br>如果网站不支持直接粘贴,请选择插入图片,选择对应的图片地址即可。</font><br><hr><br>");
const QString kCharset = QStringLiteral("<meta charset=\"utf-8\">");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct UploadFixture {
    RunRequest request;
    RunOutcome outcome;
    RecordingUploader uploader;

    UploadFixture()
    {
        request.upload = true;
        request.target.server = "ftp://ftp.example";
        request.target.user = "vimo";
        request.target.password = "s3cret-pass";
        request.target.webAddress = "http://www.example";
        request.pageShowsAddresses = true;
        request.pageShowsPictures = true;
    }
    bool upload(const QString& name, const QString& description = {},
                const QDateTime& when = QDateTime::currentDateTime())
    {
        return FtpUpload(request.target, uploader, "/out/" + name, name, description, outcome, when);
    }
};

} // namespace

TEST(Upload, StampIsTwoDigitLocalFieldsAndAnUnderscore)
{
    EXPECT_EQ(uploadStamp(QDateTime(QDate(2026, 12, 9), QTime(8, 15, 30))), "261209081530_");
    EXPECT_EQ(uploadStamp(QDateTime(QDate(2031, 1, 2), QTime(23, 4, 5))), "310102230405_");
}

TEST(Upload, RootFolderAndAddressAreJoinedByOneSlash)
{
    struct Case {
        const char *root, *dir, *web;
        QStringList folders;
        const char* address;
    } cases[] = {
        {"/www", "pics", "http://site.example", {"www", "pics"}, "http://site.example/pics/S_x.jpg"},
        {"/www/", "/pics/", "http://site.example/", {"www", "pics"}, "http://site.example/pics/S_x.jpg"},
        {"", "", "http://site.example", {}, "http://site.example/S_x.jpg"},
        {"www", "", "http://site.example/shop//", {"www"}, "http://site.example/shop/S_x.jpg"},
        {"/a/b", "相册/2026 夏", "https://s.example", {"a", "b", "相册", "2026 夏"},
         "https://s.example/%E7%9B%B8%E5%86%8C/2026%20%E5%A4%8F/S_x.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.root) + " | " + c.dir);
        UploadTarget target;
        target.root = QString::fromUtf8(c.root);
        target.folder = QString::fromUtf8(c.dir);
        target.webAddress = QString::fromUtf8(c.web);
        EXPECT_EQ(remoteFolders(target), c.folders);
        EXPECT_EQ(webAddress(target, "S_x.jpg"), QString::fromUtf8(c.address));
    }
}

TEST(Upload, PutCarriesTheTargetAndTheStampedName)
{
    UploadFixture f;
    f.request.target.root = "/www";
    f.request.target.folder = "pics";
    const QDateTime when(QDate(2026, 12, 9), QTime(8, 15, 30));
    ASSERT_TRUE(f.upload("Vimo_0000.jpg", "", when));
    ASSERT_EQ(f.uploader.puts.size(), 1u);
    const FtpPut& put = f.uploader.puts[0];
    EXPECT_EQ(put.server, "ftp://ftp.example");
    EXPECT_EQ(put.user, "vimo");
    EXPECT_EQ(put.password, "s3cret-pass");
    EXPECT_EQ(put.folders, QStringList({"www", "pics"}));
    EXPECT_EQ(put.remoteName, "261209081530_Vimo_0000.jpg");
    EXPECT_EQ(put.localPath, "/out/Vimo_0000.jpg");
    ASSERT_EQ(f.outcome.uploaded.size(), 1u);
    EXPECT_EQ(f.outcome.uploaded[0].url, "http://www.example/pics/261209081530_Vimo_0000.jpg");
    EXPECT_FALSE(f.outcome.hasErrors());
}

TEST(Upload, AFailedPutIsLoggedByItsNumberAndRecordsNothing)
{
    for (const auto& [status, number] : {std::pair{FtpStatus::NoSession, 1}, {FtpStatus::NoConnection, 2},
                                          {FtpStatus::Failed, 3}, {FtpStatus::Stalled, 3}}) {
        SCOPED_TRACE(number);
        UploadFixture f;
        f.uploader.answers = {status};
        EXPECT_FALSE(f.upload("a.jpg"));
        EXPECT_EQ(f.outcome.errorLog(), kErrLogHeader + QStringLiteral("在传输文件时发生错误:(错误代码:%1)。\r\n").arg(number));
        EXPECT_TRUE(f.outcome.uploaded.empty());
    }
}

TEST(UploadPage, DescriptionsStayWithTheirPictureAfterAFailedUpload)
{
    UploadFixture f;
    f.uploader.answers = {FtpStatus::Failed, FtpStatus::Done, FtpStatus::Done};
    f.upload("a.jpg", "first");
    f.upload("b.jpg", "second");
    f.upload("c.jpg", "");
    ASSERT_EQ(f.outcome.uploaded.size(), 2u);
    EXPECT_TRUE(f.outcome.uploaded[0].url.endsWith("_b.jpg"));
    EXPECT_EQ(f.outcome.uploaded[0].description, "second");
    EXPECT_TRUE(f.outcome.uploaded[1].url.endsWith("_c.jpg"));
    EXPECT_EQ(f.outcome.uploaded[1].description, "");
}

TEST(UploadPage, LinesFollowTheSwitchesQuoteAndEscape)
{
    const QString img1 = "<br><img src=\"http://w.example/a&amp;b&quot;&lt;x&gt;.jpg\"></img><br>";
    const QString url1 = "【图片地址】 <font color=blue>http://w.example/a&amp;b&quot;&lt;x&gt;.jpg</font><br>";
    const QString desc1 = "<font color=black>猫 &amp; &lt;b&gt;狗&lt;/b&gt; &quot;</font><br><br>";
    const QString img2 = "<br><img src=\"http://w.example/2.jpg\"></img><br>";
    const QString url2 = "【图片地址】 <font color=blue>http://w.example/2.jpg</font><br>";
    struct Case {
        int pic, url;
        QStringList pictureLines;
    } cases[] = {
        {1, 1, {img1, url1, desc1, img2, url2}},
        {1, 0, {img1, desc1, img2}},
        {0, 1, {url1, desc1, url2}},
        {0, 0, {desc1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pic * 10 + c.url);
        UploadFixture f;
        f.request.pageShowsPictures = c.pic == 1;
        f.request.pageShowsAddresses = c.url == 1;
        f.outcome.uploaded = {{"http://w.example/a&b\"<x>.jpg", "猫 & <b>狗</b> \""}, {"http://w.example/2.jpg", ""}};
        EXPECT_EQ(uploadPageLines(f.request, f.outcome), QStringList({kCharset, kGuide}) + c.pictureLines);
    }
}

TEST(UploadPage, PageIsUtf8WithCrLfAndTheListIsAppended)
{
    QTemporaryDir dir;
    UploadFixture f;
    f.request.outDir = dir.filePath("out");
    QDir().mkpath(f.request.outDir);
    const QString list = dir.filePath("picUpload.dat");
    writeAll(list, "http://earlier.example/1.jpg\r\n");
    f.outcome.uploaded = {{"http://w.example/一.jpg", "描述"}, {"http://w.example/2.jpg", ""}};
    ASSERT_TRUE(funCreateHtm(f.request, f.outcome, dir.path()).all());
    const QByteArray page = readAll(dir.filePath("out/PicURL.htm"));
    EXPECT_EQ(page, (uploadPageLines(f.request, f.outcome).join("\r\n") + "\r\n").toUtf8());
    EXPECT_TRUE(page.startsWith("<meta charset=\"utf-8\">\r\n"));
    EXPECT_TRUE(page.contains(QStringLiteral("【Vimo网络图片使用指南】").toUtf8()));
    EXPECT_EQ(readAll(list), QStringLiteral("http://earlier.example/1.jpg\r\nhttp://w.example/一.jpg\r\nhttp://w.example/2.jpg\r\n").toUtf8());
    EXPECT_FALSE(page.contains("s3cret-pass"));
    EXPECT_FALSE(readAll(list).contains("s3cret-pass"));

    // A run without a successful upload: the guide alone, the list as it was.
    f.outcome.uploaded.clear();
    ASSERT_TRUE(funCreateHtm(f.request, f.outcome, dir.path()).all());
    EXPECT_EQ(readAll(dir.filePath("out/PicURL.htm")), (kCharset + "\r\n" + kGuide + "\r\n").toUtf8());
    EXPECT_EQ(readAll(list).count("\r\n"), 3);
}

TEST(UploadPage, AnUnwritablePageOrListIsLogged)
{
    QTemporaryDir dir;
    UploadFixture f;
    f.request.outDir = dir.filePath("not-a-folder");
    writeAll(f.request.outDir, "a file");
    QDir().mkpath(dir.filePath("user/picUpload.dat"));  // a folder where the list should be
    f.outcome.uploaded = {{"http://w.example/1.jpg", ""}};
    const UploadPageWrites written = funCreateHtm(f.request, f.outcome, dir.filePath("user"));
    EXPECT_FALSE(written.page);
    EXPECT_FALSE(written.list);
    EXPECT_EQ(f.outcome.errorLog(), kErrLogHeader + "无法写入 " + dir.filePath("not-a-folder/PicURL.htm") + "。\r\n" +
                                   "无法写入 " + dir.filePath("user/picUpload.dat") + "。\r\n");
}

// A file-size cap stands in for a full disk.
TEST(UploadPage, AFullDiskLeavesNoPageAndTheListAsItWas)
{
    QTemporaryDir dir;
    UploadFixture f;
    f.request.outDir = dir.filePath("out");
    QDir().mkpath(f.request.outDir);
    QDir().mkpath(dir.filePath("user"));
    const QString list = dir.filePath("user/picUpload.dat");
    const QByteArray earlier = "http://earlier.example/1.jpg\r\n";
    writeAll(list, earlier);
    for (int i = 0; i < 4; ++i)
        f.outcome.uploaded.push_back({QStringLiteral("http://w.example/%1.jpg").arg(i), ""});
    UploadPageWrites written{true, true};
    {
        // Room for the old list, not for the guide line nor for the new addresses.
        const FileSizeLimit limit(64);
        ASSERT_TRUE(limit.set());
        written = funCreateHtm(f.request, f.outcome, dir.filePath("user"));
    }
    EXPECT_FALSE(written.page);
    EXPECT_FALSE(written.list);
    EXPECT_FALSE(QFile::exists(dir.filePath("out/PicURL.htm")));
    EXPECT_EQ(readAll(list), earlier);
    EXPECT_TRUE(QDir(f.request.outDir).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(QDir(dir.filePath("user")).entryList(QDir::Files | QDir::Hidden), QStringList{"picUpload.dat"});
    const QString log = f.outcome.errorLog();
    EXPECT_TRUE(log.contains(QStringLiteral("无法写入 ") + dir.filePath("out/PicURL.htm"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("无法写入 ") + list)) << log.toStdString();
}
