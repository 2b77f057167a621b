// The upload's names, addresses, error lines and page, over a recording
// uploader; the real transfer is FtpServerTest's.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ftp/RecordingUploader.h"
#include "processing/FtpUpload.h"
#include "processing/UploadPage.h"
#include "state/AppState.h"
#include "state/StartValues.h"

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
    AppState st;
    RecordingUploader uploader;

    UploadFixture()
    {
        setStartValues(st);
        st.ftp.sFtpServer = "ftp://ftp.example";
        st.ftp.sFtpUser = "vimo";
        st.ftp.sFtpPass = "s3cret-pass";
        st.ftp.sWebURL = "http://www.example";
        st.ps.bShowURL = 1;
        st.ps.bShowURLPic = 1;
    }
    // A list entry that saved `result`, with its description.
    void entry(const QString& result, const QString& description)
    {
        st.list.append("/src/" + result);
        st.list.at(st.list.count() - 1).resultPath = "/out/" + result;
        st.list.at(st.list.count() - 1).description = description;
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
        UploadModuleState ftp;
        ftp.sFtpRoot = QString::fromUtf8(c.root);
        ftp.sFtpDir = QString::fromUtf8(c.dir);
        ftp.sWebURL = QString::fromUtf8(c.web);
        EXPECT_EQ(remoteFolders(ftp), c.folders);
        EXPECT_EQ(webAddress(ftp, "S_x.jpg"), QString::fromUtf8(c.address));
    }
}

TEST(Upload, PutCarriesTheTargetAndTheStampedName)
{
    UploadFixture f;
    f.st.ftp.sFtpRoot = "/www";
    f.st.ftp.sFtpDir = "pics";
    f.entry("Vimo_0000.jpg", "");
    const QDateTime when(QDate(2026, 12, 9), QTime(8, 15, 30));
    ASSERT_TRUE(FtpUpload(f.st, f.uploader, "/out/Vimo_0000.jpg", "Vimo_0000.jpg", when));
    ASSERT_EQ(f.uploader.puts.size(), 1u);
    const FtpPut& put = f.uploader.puts[0];
    EXPECT_EQ(put.server, "ftp://ftp.example");
    EXPECT_EQ(put.user, "vimo");
    EXPECT_EQ(put.password, "s3cret-pass");
    EXPECT_EQ(put.folders, QStringList({"www", "pics"}));
    EXPECT_EQ(put.remoteName, "261209081530_Vimo_0000.jpg");
    EXPECT_EQ(put.localPath, "/out/Vimo_0000.jpg");
    ASSERT_EQ(f.st.ftp.iUpCount(), 1);
    EXPECT_EQ(f.st.ftp.sUpURL[0].url, "http://www.example/pics/261209081530_Vimo_0000.jpg");
    EXPECT_FALSE(f.st.ps.bHasErr);
}

TEST(Upload, AFailedPutIsLoggedByItsNumberAndRecordsNothing)
{
    for (const auto& [status, number] : {std::pair{FtpStatus::NoSession, 1}, {FtpStatus::NoConnection, 2},
                                          {FtpStatus::Failed, 3}}) {
        SCOPED_TRACE(number);
        UploadFixture f;
        f.st.ps.sErrLog = kErrLogHeader;
        f.uploader.answers = {status};
        EXPECT_FALSE(FtpUpload(f.st, f.uploader, "/out/a.jpg", "a.jpg"));
        EXPECT_TRUE(f.st.ps.bHasErr);
        EXPECT_EQ(f.st.ps.sErrLog, kErrLogHeader + QStringLiteral("在传输文件时发生错误:(错误代码:%1)。\r\n").arg(number));
        EXPECT_EQ(f.st.ftp.iUpCount(), 0);
    }
}

TEST(UploadPage, DescriptionsStayWithTheirPictureAfterAFailedUpload)
{
    UploadFixture f;
    f.entry("a.jpg", "first");
    f.entry("b.jpg", "second");
    f.entry("c.jpg", "");
    f.uploader.answers = {FtpStatus::Failed, FtpStatus::Done, FtpStatus::Done};
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        FtpUpload(f.st, f.uploader, QStringLiteral("/out/") + name, name);
    ASSERT_EQ(f.st.ftp.iUpCount(), 2);
    EXPECT_TRUE(f.st.ftp.sUpURL[0].url.endsWith("_b.jpg"));
    EXPECT_EQ(f.st.ftp.sUpURL[0].description, "second");
    EXPECT_TRUE(f.st.ftp.sUpURL[1].url.endsWith("_c.jpg"));
    EXPECT_EQ(f.st.ftp.sUpURL[1].description, "");
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
        f.st.ps.bShowURLPic = c.pic;
        f.st.ps.bShowURL = c.url;
        f.st.ftp.sUpURL = {{"http://w.example/a&b\"<x>.jpg", "猫 & <b>狗</b> \""}, {"http://w.example/2.jpg", ""}};
        EXPECT_EQ(uploadPageLines(f.st), QStringList({kCharset, kGuide}) + c.pictureLines);
    }
}

TEST(UploadPage, PageIsUtf8WithCrLfAndTheListIsAppended)
{
    QTemporaryDir dir;
    UploadFixture f;
    f.st.ps.sOutDir = dir.filePath("out");
    QDir().mkpath(f.st.ps.sOutDir);
    const QString list = dir.filePath("picUpload.dat");
    writeAll(list, "http://earlier.example/1.jpg\r\n");
    f.st.ftp.sUpURL = {{"http://w.example/一.jpg", "描述"}, {"http://w.example/2.jpg", ""}};
    ASSERT_TRUE(funCreateHtm(f.st, dir.path()));
    const QByteArray page = readAll(dir.filePath("out/PicURL.htm"));
    EXPECT_EQ(page, (uploadPageLines(f.st).join("\r\n") + "\r\n").toUtf8());
    EXPECT_TRUE(page.startsWith("<meta charset=\"utf-8\">\r\n"));
    EXPECT_TRUE(page.contains(QStringLiteral("【Vimo网络图片使用指南】").toUtf8()));
    EXPECT_EQ(readAll(list), QStringLiteral("http://earlier.example/1.jpg\r\nhttp://w.example/一.jpg\r\nhttp://w.example/2.jpg\r\n").toUtf8());
    EXPECT_FALSE(page.contains("s3cret-pass"));
    EXPECT_FALSE(readAll(list).contains("s3cret-pass"));

    // A run without a successful upload: the guide alone, the list as it was.
    f.st.ftp.sUpURL.clear();
    ASSERT_TRUE(funCreateHtm(f.st, dir.path()));
    EXPECT_EQ(readAll(dir.filePath("out/PicURL.htm")), (kCharset + "\r\n" + kGuide + "\r\n").toUtf8());
    EXPECT_EQ(readAll(list).count("\r\n"), 3);
}

TEST(UploadPage, AnUnwritablePageOrListIsLogged)
{
    QTemporaryDir dir;
    UploadFixture f;
    f.st.ps.sErrLog = kErrLogHeader;
    f.st.ps.sOutDir = dir.filePath("not-a-folder");
    writeAll(f.st.ps.sOutDir, "a file");
    QDir().mkpath(dir.filePath("user/picUpload.dat"));  // a folder where the list should be
    f.st.ftp.sUpURL = {{"http://w.example/1.jpg", ""}};
    EXPECT_FALSE(funCreateHtm(f.st, dir.filePath("user")));
    EXPECT_TRUE(f.st.ps.bHasErr);
    EXPECT_EQ(f.st.ps.sErrLog, kErrLogHeader + "无法写入 " + dir.filePath("not-a-folder/PicURL.htm") + "。\r\n" +
                                   "无法写入 " + dir.filePath("user/picUpload.dat") + "。\r\n");
}
