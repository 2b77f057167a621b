#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "BatchRunFixture.h"
#include "DamagedGifs.h"
#include "DamagedJpegs.h"
#include "ToolRunner.h"

namespace {

using RunFixture = BatchRunFixture;

std::string tool(const std::vector<std::string>& args)
{
    return runTool(args).out;
}

} // namespace

TEST(BatchRun, RenamedJpegsAtTheWidthLimitAndQuality)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    RunFixture f;
    f.st.ps.iJPGQ = 77;
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg"})
        f.convert(n);
    std::vector<QString> captions;
    f.run.setCaption = [&](const QString& c) { captions.push_back(c); };
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outputs(), QStringList({"Vimo_0000.jpg", "Vimo_0001.jpg", "Vimo_0002.jpg"}));
    for (const QString& name : f.outputs())
        EXPECT_EQ(tool({"identify", "-format", "%w %h %Q", f.out(name).toStdString()}), "400 300 77");
    EXPECT_EQ(f.result(2), f.out("Vimo_0002.jpg"));
    ASSERT_GE(captions.size(), 4u);
    EXPECT_EQ(captions[2], QStringLiteral("进度:3/3"));
    EXPECT_EQ(captions.back(), QStringLiteral("开始处理"));
    EXPECT_EQ(f.st.status.text(), QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));
    EXPECT_TRUE(f.prompter.prompts.empty());
}

TEST(BatchRun, KeepFormatSavesEachInItsOwnFormat)
{
    ASSERT_TRUE(toolsInstalled({"convert", "tiffinfo", "file"}));
    RunFixture f;
    for (const char* n : {"a.gif", "b.png", "c.bmp", "d.tiff", "e.BMP", "g.jpeg", "h.tif"})
        f.convert(n, "64x48");
    f.st.panel.cmbEncode = QStringLiteral("原格式");
    f.st.ps.sOutFormat = QStringLiteral("原格式");
    f.st.panel.chkRM = 0;
    f.st.ps.iSizeMode = 2;
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outputs(), QStringList({"a.gif", "b.png", "c.bmp", "d.tiff", "e.bmp", "g.jpeg", "h.tif"}));
    struct Case { const char* name; const char* kind; };
    const Case cases[] = {{"a.gif", "GIF image data"}, {"b.png", "PNG image data"}, {"c.bmp", "PC bitmap"},
                          {"e.bmp", "PC bitmap"}, {"d.tiff", "TIFF image data"}, {"g.jpeg", "JPEG image data"},
                          {"h.tif", "TIFF image data"}};
    for (const Case& c : cases)
        EXPECT_NE(tool({"file", f.out(c.name).toStdString()}).find(c.kind), std::string::npos) << c.name;
    EXPECT_NE(tool({"file", f.out("c.bmp").toStdString()}).find("x 24"), std::string::npos);
    const std::string tiff = tool({"tiffinfo", f.out("d.tiff").toStdString()});
    EXPECT_NE(tiff.find("Compression Scheme: None"), std::string::npos) << tiff;
    EXPECT_NE(tiff.find("Bits/Sample: 8"), std::string::npos);
    EXPECT_NE(tiff.find("Samples/Pixel: 3"), std::string::npos);
    EXPECT_LE(std::stoi(tool({"identify", "-format", "%k", f.out("a.gif").toStdString()})), 256);
    EXPECT_EQ(f.st.ps.sOutFormat, QStringLiteral("原格式")) << "the run leaves the choice as it was";
    EXPECT_FALSE(QFile::exists(f.out("ErrorLog.txt")));
}

// Every picture ending the list accepts is saved back in its own format.
TEST(BatchRun, KeepFormatSavesEveryAcceptedEnding)
{
    ASSERT_TRUE(toolsInstalled({"convert", "file"}));
    RunFixture f;
    struct Case { const char* name; const char* magick; const char* kind; };
    const Case cases[] = {{"a.jpeg", "JPEG:", "JPEG image data"}, {"b.JPEG", "JPEG:", "JPEG image data"},
                          {"c.jpe", "JPEG:", "JPEG image data"},  {"d.tif", "TIFF:", "TIFF image data"},
                          {"e.TIFF", "TIFF:", "TIFF image data"}, {"f.jpg", "JPEG:", "JPEG image data"}};
    for (const Case& c : cases) {
        const std::string out = c.magick + f.src(c.name).toStdString();
        ASSERT_EQ(runTool({"convert", "-size", "64x48", "xc:rgb(30,120,200)", out}).exitCode, 0);
        f.st.list.add(f.src(c.name));
    }
    f.st.panel.cmbEncode = QStringLiteral("原格式");
    f.st.ps.sOutFormat = QStringLiteral("原格式");
    f.st.panel.chkRM = 0;
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outputs().size(), 6) << f.outputs().join(' ').toStdString();
    for (const Case& c : cases) {
        const QString result = f.result(int(&c - cases));
        ASSERT_FALSE(result.isEmpty()) << c.name;
        EXPECT_NE(tool({"file", result.toStdString()}).find(c.kind), std::string::npos) << c.name;
    }
    EXPECT_EQ(f.st.status.text(), QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。"));
}

// A run that saved nothing says so; one that saved some says they were saved.
TEST(BatchRun, ClosingTextSaysWhetherAnythingWasSaved)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    struct Case { bool good; const char* closing; } cases[] = {
        {false, "【提示】处理完毕！没有图片被保存。请注意,在图片处理或上传过程中发生错误。"},
        {true, "【提示】处理完毕！图片已保存到输出文件夹。请注意,在图片处理或上传过程中发生错误。"},
    };
    for (const Case& c : cases) {
        RunFixture f;
        f.st.ps.bSaveErr = 0;
        f.st.list.add(f.src("missing.jpg"));
        if (c.good)
            f.convert("a.jpg");
        ASSERT_TRUE(f.start());
        EXPECT_EQ(f.st.status.text(), QString::fromUtf8(c.closing));
    }
}

TEST(BatchRun, CorruptPictureIsLoggedAndTheOthersWritten)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    RunFixture f;
    f.convert("a.jpg");
    const QString bad = f.src("bad.jpg");
    {
        QFile b(bad);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        b.write("\xFF\xD8 broken");
    }
    f.st.list.add(bad);
    f.convert("c.jpg");
    f.prompter.answers = {false, false};
    for (int runNo = 0; runNo < 2; ++runNo) {
        ASSERT_TRUE(f.start());
        EXPECT_EQ(f.outputs(), QStringList({"ErrorLog.txt", "Vimo_0000.jpg", "Vimo_0002.jpg"}));
        QFile log(f.out("ErrorLog.txt"));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        EXPECT_TRUE(text.startsWith(kErrLogHeader));
        EXPECT_EQ(text.count(QStringLiteral("在本次操作过程中产生下列错误")), 1);
        EXPECT_TRUE(text.contains("\r\n" + bad));
        EXPECT_TRUE(text.endsWith("\r\n\r\n"));
        EXPECT_TRUE(f.st.status.text().endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
    }
    ASSERT_EQ(f.prompter.prompts.size(), 2u);
    EXPECT_TRUE(f.prompter.prompts[0].text.endsWith(QStringLiteral("现在查看错误记录吗？")));
}

TEST(BatchRun, ErrorsAreReportedEvenWithoutTheLogFile)
{
    RunFixture f;
    f.st.list.add(f.src("missing.png"));
    f.st.ps.bSaveErr = 0;
    ASSERT_TRUE(f.start());
    EXPECT_FALSE(QFile::exists(f.out("ErrorLog.txt")));
    EXPECT_TRUE(f.st.status.text().endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
}

TEST(BatchRun, StopDuringTheThirdPictureLeavesThree)
{
    RunFixture f;
    for (int i = 0; i < 10; ++i) {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(Qt::green);
        const QString p = f.src(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(img.save(p));
        f.st.list.add(p);
    }
    int yields = 0;
    std::vector<BatchRun::Buttons> states;
    f.run.setButtons = [&](BatchRun::Buttons b) { states.push_back(b); };
    f.run.yield = [&] {
        if (++yields == 5)  // after rendering entry 3
            f.run.stop();
    };
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outputs().size(), 3);
    EXPECT_EQ(f.st.status.text(), QStringLiteral("【提示】处理已停止！已保存 3 张图片。"));
    const std::vector<BatchRun::Buttons> expected = {BatchRun::Buttons::Running, BatchRun::Buttons::Stopping,
                                                     BatchRun::Buttons::Idle};
    EXPECT_EQ(states, expected) << "start stays off until the run has ended";
}

TEST(BatchRun, ChecksRefuseInOrder)
{
    struct Case { const char* name; std::function<void(AppState&)> set; const char* message; };
    const Case cases[] = {
        {"empty list", [](AppState& s) { s.list.clear(); }, "没有添加要处理的图片！"},
        {"custom size 0", [](AppState& s) { s.ps.iSizeMode = 4; s.panel.txtH = "0"; }, "图片尺寸不能为0！"},
        {"no output folder", [](AppState& s) { s.ps.sOutDir.clear(); }, "请设置图片输出文件夹！"},
        {"upload without server", [](AppState& s) { s.panel.chkFtp = 1; }, "网络参数还没设置或设置错误！"},
    };
    for (const Case& c : cases) {
        RunFixture f;
        f.st.list.add(f.src("a.png"));
        int followUps = 0;
        f.run.openAddFiles = f.run.focusWidth = f.run.openOutputFolder = [&] { ++followUps; };
        c.set(f.st);
        EXPECT_FALSE(f.start()) << c.name;
        ASSERT_EQ(f.prompter.prompts.size(), 1u) << c.name;
        EXPECT_EQ(f.prompter.prompts[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(f.prompter.prompts[0].icon, PromptIcon::Critical);
        EXPECT_EQ(followUps, std::string(c.name) == "upload without server" ? 0 : 1) << c.name;
    }
    // Width 0 with another size choice starts.
    RunFixture f;
    f.st.list.add(f.src("none.png"));
    f.st.panel.txtW = "0";
    f.st.ps.iSizeMode = 3;
    EXPECT_TRUE(f.start());
}

TEST(BatchRun, OutputFolderThatCannotBeMadeWritesNothing)
{
    RunFixture f;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(f.src("a.png")));
    f.st.list.add(f.src("a.png"));
    f.st.ps.sOutDir = f.src("a.png") + "/sub";
    EXPECT_FALSE(f.start());
    ASSERT_EQ(f.prompter.prompts.size(), 1u);
    EXPECT_EQ(f.prompter.prompts[0].text, QStringLiteral("请设置图片输出文件夹！"));
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"a.png"}));

    // A new folder with its parents is made.
    f.st.ps.sOutDir = f.dir.filePath("x/y/z");
    EXPECT_TRUE(f.start());
    EXPECT_TRUE(QFile::exists(f.dir.filePath("x/y/z/Vimo_0000.jpg")));
}

TEST(BatchRun, OutputIntoTheSourceFolderChangesNoSource)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    RunFixture f;
    f.convert("a.jpg");
    f.convert("b.jpg");
    const QByteArray a = checksum(f.src("a.jpg")), b = checksum(f.src("b.jpg"));
    f.st.ps.sOutDir = f.dir.path();
    f.st.panel.chkRM = 0;
    f.prompter.answers = {false};
    ASSERT_TRUE(f.start());
    EXPECT_EQ(checksum(f.src("a.jpg")), a);
    EXPECT_EQ(checksum(f.src("b.jpg")), b);
    // The results take the next free names instead.
    EXPECT_TRUE(QFile::exists(f.dir.filePath("a_1.jpg")));
    EXPECT_TRUE(QFile::exists(f.dir.filePath("b_1.jpg")));
    EXPECT_FALSE(QFile::exists(f.dir.filePath("ErrorLog.txt")));
}

TEST(BatchRun, MinimiseQuestionOnlyForLongRuns)
{
    for (int count : {100, 101}) {
        RunFixture f;
        QImage img(2, 2, QImage::Format_RGB32);
        img.fill(Qt::red);
        for (int i = 0; i < count; ++i) {
            const QString p = f.src(QStringLiteral("p%1.png").arg(i));
            ASSERT_TRUE(img.save(p));
            f.st.list.add(p);
        }
        f.st.panel.txtW = "2";
        bool minimised = false;
        f.run.minimise = [&] { minimised = true; };
        f.run.isMinimised = [&] { return minimised; };
        int maximised = 0;
        f.run.maximise = [&] { ++maximised; };
        f.prompter.answers = {true};
        ASSERT_TRUE(f.start());
        EXPECT_EQ(f.prompter.prompts.size(), count > 100 ? 1u : 0u) << count;
        EXPECT_EQ(maximised, count > 100 ? 1 : 0);
    }
}

TEST(BatchRun, OnlyWrittenFilesAreUploadedAndTheEndHooksRun)
{
    RunFixture f;
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(f.src("a.png")));
    f.st.list.add(f.src("a.png"));
    f.st.list.add(f.src("missing.png"));
    f.st.panel.chkFtp = 1;
    f.st.panel.chkPDF = 1;
    f.st.ftp.sFtpServer = "ftp://127.0.0.1";
    f.st.ps.bAutoODir = 1;
    f.st.ps.bAutoURL = 1;
    std::vector<std::pair<QString, QString>> uploads;
    int pdf = 0, htm = 0;
    f.run.upload = [&](int, const QString& p, const QString& n) { uploads.push_back({p, n}); };
    f.run.createPdf = [&] { ++pdf; };
    f.run.createHtm = [&] { return ++htm > 0; };
    ASSERT_TRUE(f.start());
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].first, f.out("Vimo_0000.jpg"));
    EXPECT_EQ(uploads[0].second, "Vimo_0000.jpg");
    EXPECT_EQ(pdf, 1);
    EXPECT_EQ(htm, 1);
    // The minimise question (upload on), then the error-log question; both answered no.
    ASSERT_EQ(f.prompter.prompts.size(), 2u);
    EXPECT_TRUE(f.prompter.prompts[0].text.endsWith(QStringLiteral("确认最小化吗？")));
    EXPECT_EQ(f.shell.opened, (std::vector<QString>{f.st.ps.sOutDir, f.out("PicURL.htm")}));
    EXPECT_TRUE(f.st.status.text().startsWith(QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹并上传到网络。")));
}

// A page the disk refused is not opened: what stands under its name, if
// anything, is an earlier run's page.
TEST(BatchRun, APageThatWasNotWrittenIsNotOpened)
{
    RunFixture f;
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(f.src("a.png")));
    f.st.list.add(f.src("a.png"));
    f.st.panel.chkFtp = 1;
    f.st.ftp.sFtpServer = "ftp://127.0.0.1";
    f.st.ps.bAutoODir = 1;
    f.st.ps.bAutoURL = 1;
    f.run.upload = [](int, const QString&, const QString&) {};
    f.run.createHtm = [] { return false; };
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.shell.opened, (std::vector<QString>{f.st.ps.sOutDir}));
}

// Names are cut by whole characters to the 255 bytes a file name may take;
// the counter, the numbering and the format stay whole, so results stay apart.
TEST(BatchRun, LongNamesAreShortenedByWholeCharactersAndStayApart)
{
    const QString cjk = QStringLiteral("夏日照片").repeated(22) + QStringLiteral("海边");  // 90 characters, 270 bytes
    const QString emoji = QStringLiteral("😀").repeated(64);                             // 64 characters, 256 bytes
    const QString stem = QStringLiteral("ab") + QStringLiteral("照").repeated(83);       // 251 bytes
    const struct Case {
        const char* what;
        bool rename;
        QString prefix;
        QStringList sources;  // made in the source folder, "out/" ones in the output folder
        QStringList outputs;  // the output folder's files after the run
    } cases[] = {
        {"Chinese prefix", true, cjk, {"a.png", "b.png", "c.png", "out/" + cjk.left(82) + "0003.jpg"},
         {cjk.left(82) + "0000.jpg", cjk.left(82) + "0001.jpg", cjk.left(82) + "0002.jpg",
          cjk.left(82) + "0003.jpg", cjk.left(81) + "0003_1.jpg"}},
        {"prefix of four-byte characters", true, emoji, {"a.png", "b.png"},
         {emoji.left(2 * 61) + "0000.jpg", emoji.left(2 * 61) + "0001.jpg"}},
        {"source names", false, "", {stem + ".gif", stem + ".png"},
         {stem.left(84) + ".tiff", stem.left(84) + "_1.tiff"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunFixture f;
        QDir().mkpath(f.st.ps.sOutDir);
        f.st.panel.chkRM = c.rename ? 1 : 0;
        f.st.ps.sPrefix = c.prefix;
        if (!c.rename)
            f.st.ps.sOutFormat = f.st.panel.cmbEncode = "tiff";
        for (const QString& name : c.sources) {
            const QString path = name.startsWith("out/") ? f.out(name.mid(4)) : f.src(name);
            QImage img(16, 12, QImage::Format_RGB32);
            img.fill(Qt::darkGreen);
            ASSERT_TRUE(img.save(path, name.endsWith(".gif") ? "png" : nullptr)) << path.toStdString();
            f.st.list.append(path);
        }
        ASSERT_TRUE(f.start());
        QStringList expected = c.outputs;
        expected.sort();
        EXPECT_EQ(f.outputs(), expected) << f.outputs().join('\n').toStdString();
        for (const QString& name : f.outputs())
            EXPECT_LE(QFile::encodeName(name).size(), 255) << name.toStdString();
        for (int i = 0; i < int(c.sources.size()); ++i)
            EXPECT_FALSE(f.result(i).isEmpty()) << i;
    }
}

// A source GIF whose data end early is saved as far as it decoded, its rest
// grey, and the error log says so as for a cut JPEG; the next picture is
// saved as ever.
TEST(BatchRun, ACutGifSourceIsSavedWithItsGreyRestAndLogged)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    RunFixture f;
    const QString cut = QString::fromStdString(damagedgifs::cutInHalf(f.dir.path().toStdString(), "cut.gif", "400x300"));
    ASSERT_FALSE(cut.isEmpty());
    f.st.list.add(cut);
    f.convert("b.jpg");
    f.prompter.answers = {false};
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outText(), kErrLogHeader + cut +
                               QStringLiteral("在显示图片时发生错误:(481)无效的图片: 图片数据不完整或已损坏,缺少的部分为灰色。\r\n\r\n"))
        << f.outText().toStdString();
    EXPECT_EQ(f.outputs(), QStringList({"ErrorLog.txt", "Vimo_0000.jpg", "Vimo_0001.jpg"}));
    const QImage result(f.result(0));
    ASSERT_EQ(result.size(), QSize(400, 300));
    // The share of a row's pixels that are grey: noise has few.
    const auto greyShare = [&](int y) {
        int n = 0;
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = result.pixel(x, y);
            n += std::abs(qRed(p) - 128) + std::abs(qGreen(p) - 128) + std::abs(qBlue(p) - 128) < 24;
        }
        return double(n) / result.width();
    };
    EXPECT_LT(greyShare(20), 0.5);
    EXPECT_GT(greyShare(290), 0.95);
}

// A border or picture watermark that reads only in part (a JPEG or a GIF)
// goes into every result as far as it decoded, a border over the scan cap
// into none; the error log says so once, naming the file, not once a picture.
TEST(BatchRun, DamagedBorderOrWatermarkIsLoggedOnceAndTheResultsWritten)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    enum Drawn { GreyBelow, NotDrawn, MarkDrawn };
    struct Case {
        const char* what;
        bool border;  // else the picture watermark
        std::string file;
        QString detail;
        Drawn drawn;
    };
    QTemporaryDir files;
    const std::string folder = files.path().toStdString();
    const QString damaged = QStringLiteral("图片数据不完整或已损坏,缺少的部分为灰色");
    const Case cases[] = {
        {"a border cut in half", true, damagedjpegs::cutInHalf(folder, "bk-cut.jpg", "400x300"), damaged, GreyBelow},
        {"a border over the scan cap", true, damagedjpegs::manyScans(folder, "bk-scans.jpg", 150),
         QStringLiteral("JPEG 图片的扫描超过 100 次"), NotDrawn},
        {"a watermark cut in half", false, damagedjpegs::cutInHalf(folder, "mark-cut.jpg", "100x80"), damaged,
         MarkDrawn},
        {"a GIF border cut in half", true, damagedgifs::cutInHalf(folder, "bk-cut.gif", "400x300"), damaged, GreyBelow},
        {"a GIF watermark cut in half", false, damagedgifs::cutInHalf(folder, "mark-cut.gif", "100x80"), damaged,
         MarkDrawn},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.file.empty()) << c.what;
        RunFixture f;
        f.convert("a.jpg");
        f.convert("b.jpg");
        const QString file = QString::fromStdString(c.file);
        if (c.border) {
            f.st.ps.sBkFile = file;
        } else {
            f.st.ps.sSyFile = file;
            f.st.panel.chkInfoImg = 1;
            f.st.panel.cmbPosImg = 0;
        }
        f.prompter.answers = {false};
        ASSERT_TRUE(f.start()) << c.what;
        const QString head = c.border ? QStringLiteral("在添加边框时发生错误:(错误代码:481)无效的图片: ")
                                      : QStringLiteral("在添加图片水印时发生错误:(错误代码:481)无效的图片: ");
        EXPECT_EQ(f.outText(), kErrLogHeader + file + head + c.detail + QStringLiteral("。\r\n\r\n"))
            << c.what << ": " << f.outText().toStdString();
        EXPECT_EQ(f.outputs(), QStringList({"ErrorLog.txt", "Vimo_0000.jpg", "Vimo_0001.jpg"})) << c.what;
        const QImage result(f.result(1));
        ASSERT_EQ(result.size(), QSize(400, 300)) << c.what;
        const auto near = [](QRgb p, QRgb q) {
            return std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) < 24;
        };
        const QRgb source = qRgb(30, 120, 200), grey = qRgb(128, 128, 128);
        switch (c.drawn) {
        case GreyBelow: {  // the opaque border covers the picture: its decoded half, then grey
            // The decoded half is random noise, so one pixel of it may come
            // near grey by chance (chroma subsampling pulls noise that way):
            // count along a row instead.
            int greyAbove = 0, greyBelow = 0;
            for (int x = 100; x < 300; ++x) {
                greyAbove += near(result.pixel(x, 20), grey);
                greyBelow += near(result.pixel(x, 290), grey);
            }
            EXPECT_LT(greyAbove, 100) << c.what;
            EXPECT_EQ(greyBelow, 200) << c.what;
            break;
        }
        case NotDrawn:
            EXPECT_TRUE(near(result.pixel(200, 20), source)) << c.what;
            EXPECT_TRUE(near(result.pixel(200, 290), source)) << c.what;
            break;
        case MarkDrawn:  // bottom right, 100 x 80 at 5 from the edges; its grey half at 80 %
            EXPECT_TRUE(near(result.pixel(345, 285), qRgb(108, 126, 142))) << c.what;
            EXPECT_TRUE(near(result.pixel(200, 150), source)) << c.what;
            break;
        }
    }
}
