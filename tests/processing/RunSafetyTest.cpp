// Runs that meet hostile or unlucky input: every good picture is written,
// every bad one logged, no listed file is ever replaced, nothing hangs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "BatchRunFixture.h"
#include "FileSizeLimit.h"
#include "ToolRunner.h"
#include "platform/imaging/PictureReader.h"

namespace {

// Results keep their source's name, 120 pixels wide, into a folder that exists.
struct SafeRun : BatchRunFixture {
    SafeRun()
    {
        QDir().mkpath(st.ps.sOutDir);
        st.panel.txtW = "120";
        st.panel.chkRM = 0;
        prompter.answers = {false, false, false};
    }
    QString picture(const QString& path, const char* format = nullptr) { return noise(path, "160x120", format); }
    QString log(const QString& name = "ErrorLog.txt") const { return outText(name); }
};

// Runs `f` with writes cut off after `bytes` bytes.
bool startWithSmallFiles(SafeRun& f, rlim_t bytes = 2048)
{
    const FileSizeLimit limit(bytes);
    EXPECT_TRUE(limit.set());
    return limit.set() && f.start();
}

} // namespace

TEST(RunSafety, AFailureInsideOnePictureIsLoggedAndTheRunGoesOn)
{
    SafeRun f;
    f.st.list.add(f.picture(f.src("a.png")));
    f.st.list.add(f.picture(f.src("b.png")));
    f.st.panel.chkFtp = 1;
    f.st.ftp.sFtpServer = "ftp://127.0.0.1";
    int uploads = 0;
    f.run.upload = [&](int, const QString&, const QString&) {
        if (++uploads == 1)
            throw std::bad_alloc();
    };
    ASSERT_TRUE(f.start());
    EXPECT_EQ(uploads, 2) << "the second picture is still treated";
    EXPECT_TRUE(f.log().contains(f.src("a.png") + QStringLiteral("在处理图片时发生错误:(7)内存不足")));
    EXPECT_FALSE(f.run.running());
}

TEST(RunSafety, NoFileTheRunWritesReplacesAListedFile)
{
    SafeRun f;
    // Listed files named like the run's own results, its log and a temporary of old.
    const QStringList listed = {"good.jpg", "good_1.jpg", "ErrorLog.txt", ".good.jpg.part"};
    std::map<QString, QByteArray> before;
    for (const QString& name : listed) {
        f.st.list.append(f.picture(f.out(name), "jpg"));
        before[name] = checksum(f.out(name));
    }
    f.st.list.append(f.src("missing.jpg"));  // logs an error, so the log is written
    f.st.list.append(f.picture(f.src("good.png")));
    ASSERT_TRUE(f.start());
    for (const QString& name : listed)
        EXPECT_EQ(checksum(f.out(name)), before[name]) << name.toStdString();
    EXPECT_TRUE(f.log("ErrorLog_1.txt").contains(f.src("missing.jpg")));
    // out/good.jpg itself took good_2.jpg: the next free name.
    EXPECT_EQ(f.result(0), f.out("good_2.jpg"));
    EXPECT_EQ(f.result(5), f.out("good_3.jpg"));
    EXPECT_TRUE(QFile::exists(f.out("good_3.jpg")));
}

TEST(RunSafety, SameBaseNamesInOneRunGetNumberedNames)
{
    SafeRun f;
    for (const char* ext : {"jpg", "png", "gif", "bmp", "tif"})
        f.st.list.add(f.picture(f.src(QStringLiteral("good.") + ext)));
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.outputs(), QStringList({"good.jpg", "good_1.jpg", "good_2.jpg", "good_3.jpg", "good_4.jpg"}));
    const QStringList expected = {"good.jpg", "good_1.jpg", "good_2.jpg", "good_3.jpg", "good_4.jpg"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.result(i), f.out(expected[i]));
}

// A file-size limit stands in for a full disk: writes past it fail as they would.
TEST(RunSafety, AResultThatCannotBeWrittenWholeIsLoggedAndLeavesNoFile)
{
    for (const char* format : {"jpg", "png", "bmp", "gif", "tiff"}) {
        SafeRun f;
        f.st.list.add(f.picture(f.src("noise.png")));
        f.st.ps.sOutFormat = format;
        f.st.panel.cmbEncode = format;
        f.st.ps.bSaveErr = 0;
        f.st.panel.txtW = "400";
        QStringList errors;
        f.run.createPdf = [&] { errors << f.run.outcome().errorLog(); };  // the log as the run ends
        f.st.panel.chkPDF = 1;
        ASSERT_TRUE(startWithSmallFiles(f));
        EXPECT_TRUE(f.outputs().isEmpty()) << format << ": " << f.outputs().join(' ').toStdString();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(f.src("noise.png") + QStringLiteral("在保存时发生错误:"))) << format;
        EXPECT_TRUE(f.result(0).isEmpty());
    }
}

TEST(RunSafety, OnlyRegularFilesAreOpened)
{
    SafeRun f;
    const QString fifo = f.src("pipe.jpg");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(imaging::probePicture(fifo).ok());
    EXPECT_TRUE(imaging::loadPicture(fifo).isNull());
    f.st.list.append(fifo);
    f.st.list.append(f.dir.path());
    f.st.list.add(f.picture(f.src("good.png")));
    f.st.rot.iRotateMode = 2;  // reads the EXIF tags too
    ASSERT_TRUE(f.start());
    EXPECT_TRUE(QFile::exists(f.out("good.jpg")));
    EXPECT_TRUE(f.log().contains(fifo + QStringLiteral("在显示图片时发生错误:(53)文件未找到: 不是普通文件")));
    EXPECT_TRUE(f.log().contains(f.dir.path() + QStringLiteral("在显示图片时发生错误:(53)文件未找到: 不是普通文件")));
}

TEST(RunSafety, NamesThatAreNotUtf8AreLoggedAsUnreadableNames)
{
    SafeRun f;
    const QString good = f.picture(f.src("good.png"));
    const QByteArray raw = QFile::encodeName(f.dir.path()) + "/caf\xE9.png";
    ASSERT_EQ(::link(QFile::encodeName(good).constData(), raw.constData()), 0);
    // What a command line naming it brings: the bytes decoded as UTF-8.
    const QString listed = QFile::decodeName(raw);
    f.st.list.append(listed);
    const bool ran = f.start();
    ::unlink(raw.constData());  // Qt cannot see it to clean up
    ASSERT_TRUE(ran);
    const QString text = f.log();
    EXPECT_TRUE(text.contains(listed + QStringLiteral("在显示图片时发生错误:(53)文件未找到: 文件名无法读取")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("无效的图片"))) << text.toStdString();
}

TEST(RunSafety, ALongBaseNameIsSaved)
{
    SafeRun f;
    const QString stem(250, u'n');
    f.st.list.add(f.picture(f.src(stem + ".png")));
    // The same name as a listed picture in the output folder: the numbered
    // name is shortened to stay within 255 bytes.
    f.st.list.append(f.picture(f.out(stem + ".jpg"), "jpg"));
    ASSERT_TRUE(f.start());
    QStringList expected = {stem + ".jpg", stem.left(249) + "_1.jpg", stem.left(249) + "_2.jpg"};
    QStringList written = f.outputs();
    expected.sort();
    written.sort();
    EXPECT_TRUE(written == expected) << written.join('\n').toStdString();
    EXPECT_TRUE(f.log().isEmpty()) << f.log().toStdString();
}

TEST(RunSafety, FailuresAreNamedAsWhatTheyAre)
{
    const struct {
        const char* what;
        const char* width;
        bool exists;
        bool picture;
        const char* line;  // after the source's path
    } cases[] = {
        {"missing source", "120", false, false, "在显示图片时发生错误:(53)文件未找到。"},
        {"not a picture", "120", true, false, "在显示图片时发生错误:(481)无效的图片。"},
        {"width 00", "00", true, true, "在缩放图片时发生错误:(错误代码:0)输出尺寸无效(宽 0, 高 0)。"},
        {"width -5", "-5", true, true, "在缩放图片时发生错误:(错误代码:0)输出尺寸无效(宽 -5, 高 -4)。"},
        {"width abc", "abc", true, true, "在缩放图片时发生错误:(错误代码:0)输出尺寸无效(宽 0, 高 0)。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SafeRun f;
        const QString path = f.src("p.png");
        if (c.picture)
            f.picture(path);
        else if (c.exists) {
            QFile bad(path);
            ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
            bad.write("not a picture");
        }
        f.st.list.append(path);
        f.st.panel.txtW = c.width;
        ASSERT_TRUE(f.start());
        EXPECT_EQ(f.log(), kErrLogHeader + path + QString::fromUtf8(c.line) + "\r\n\r\n");
    }
}

TEST(RunSafety, ANameWithALineFeedCannotForgeALogLine)
{
    SafeRun f;
    const QString name = f.src("bad\nforged.png在显示图片时发生错误:(481)无效的图片。\r\nx.png");
    QFile bad(name);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    f.st.list.append(name);
    ASSERT_TRUE(f.start());
    const QStringList lines = f.log().split("\r\n");
    ASSERT_EQ(lines.size(), 4) << f.log().toStdString();  // header, the one line, the closing CR LF
    EXPECT_EQ(lines[1], QString(name).replace("\n", "\\n").replace("\r", "\\r") +
                            QStringLiteral("在显示图片时发生错误:(481)无效的图片。"));
}

TEST(RunSafety, AWriteTheSystemCutsShortIsLoggedWithItsReason)
{
    SafeRun f;
    f.st.list.add(f.picture(f.src("noise.png")));
    f.st.panel.txtW = "400";
    f.st.ps.sOutFormat = f.st.panel.cmbEncode = "png";
    QString log;
    f.run.createPdf = [&] { log = f.run.outcome().errorLog(); };  // before the error log itself is written
    f.st.panel.chkPDF = 1;
    ASSERT_TRUE(startWithSmallFiles(f));
    // The system wrote the first part and then refused: the reason is its own.
    EXPECT_TRUE(log.contains(QStringLiteral("(文件超出了系统允许的大小).\r\n"))) << log.toStdString();
    EXPECT_FALSE(log.contains("Unknown error")) << log.toStdString();
}

TEST(RunSafety, AnErrorLogTheDiskCutsShortIsSaidAndLeavesNoFile)
{
    SafeRun f;
    f.st.list.append(f.src("missing.png"));
    f.prompter.answers = {true};  // would open the log if it were offered
    // The header line alone is longer than the disk takes.
    ASSERT_TRUE(startWithSmallFiles(f, 64));
    EXPECT_TRUE(f.outputs().isEmpty()) << f.outputs().join(' ').toStdString();
    ASSERT_EQ(f.prompter.prompts.size(), 1u);
    const RecordingPrompter::Prompt& said = f.prompter.prompts[0];
    EXPECT_EQ(said.kind, RecordingPrompter::Kind::Message);
    EXPECT_EQ(said.text, QStringLiteral("在处理过程中发生错误,但错误记录无法保存到") + f.out("ErrorLog.txt") +
                             QStringLiteral("。"));
    EXPECT_TRUE(f.shell.started.empty());
    EXPECT_TRUE(f.st.status.text().endsWith(QStringLiteral("请注意,在图片处理或上传过程中发生错误。")));
}
