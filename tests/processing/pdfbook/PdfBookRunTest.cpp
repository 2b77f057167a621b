#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <unistd.h>

#include "BatchRunFixture.h"
#include "TestEnvironment.h"
#include "ToolRunner.h"
#include "processing/pdf/PdfBookHook.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/pdf/RecordingPdfApi.h"

namespace {

// A run of three pictures with descriptions and the PDF switch on.
struct BookRun : BatchRunFixture {
    BookRun()
    {
        st.panel.chkRM = 0;
        st.panel.chkPDF = 1;
        st.ps.sPDF1 = "Vimo图片集";
        st.ps.sPDF2 = "本图片集由Vimo图片批处理软件制作";
        st.ps.sPDF3 = "2026年12月10日";
        const char* colours[] = {"rgb(200,40,40)", "rgb(40,200,40)", "rgb(40,40,200)"};
        const char* texts[] = {"第一张 海边", "第二张 山顶", "第三张 城市"};
        for (int i = 0; i < 3; ++i) {
            const QString name = src(QString("p%1.jpg").arg(i + 1));
            EXPECT_EQ(runTool({"convert", "-size", "600x400", std::string("xc:") + colours[i],
                               name.toStdString()}).exitCode, 0);
            st.list.add(name);
            st.list.at(i).description = QString::fromUtf8(texts[i]);
        }
    }
    void spoil(int i)
    {
        QFile f(st.list.at(i).path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not a picture");
    }
    // What the run showed first, for failure reports.
    std::string shown() const
    {
        return prompter.prompts.empty() ? std::string() : prompter.prompts.front().text.toStdString();
    }
    bool logged(const QString& text) const
    {
        QFile f(out("ErrorLog.txt"));
        return f.open(QIODevice::ReadOnly) && QString::fromUtf8(f.readAll()).contains(text);
    }
};

} // namespace

TEST(PdfBookRun, FailingMiddlePictureLeavesTheBookOfTheOthers)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    BookRun f;
    RecordingPdfApi pdf;
    attachPdfBook(f.run, f.prompter, &pdf);
    f.spoil(1);
    ASSERT_TRUE(f.start());
    EXPECT_EQ(pdf.calls.filter("StretchDrawFromFile"),
              QStringList({"StretchDrawFromFile 30 40 2080 2800 " + f.out("p1.jpg"),
                           "StretchDrawFromFile 30 40 2080 2800 " + f.out("p3.jpg")}));
    EXPECT_EQ(pdf.calls.filter("DrawText 30 2800"),
              QStringList({"DrawText 30 2800 2080 2820 2 2 第一张 海边",
                           "DrawText 30 2800 2080 2820 2 2 第三张 城市"}));
    EXPECT_TRUE(pdf.calls.contains("EndDoc"));
}

TEST(PdfBookRun, RunWithoutBookLeavesNoStalePicturesForTheNext)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    BookRun f;
    RecordingPdfApi pdf;
    attachPdfBook(f.run, f.prompter, &pdf);
    f.st.panel.chkPDF = 0;
    ASSERT_TRUE(f.start());
    EXPECT_TRUE(pdf.calls.isEmpty());

    f.st.panel.chkPDF = 1;
    f.spoil(1);
    ASSERT_TRUE(QFile::remove(f.st.list.at(2).path));
    ASSERT_TRUE(f.start());
    EXPECT_EQ(pdf.calls.filter("StretchDrawFromFile"),
              QStringList({"StretchDrawFromFile 30 40 2080 2800 " + f.out("p1.jpg")}));
}

TEST(PdfBookRun, MissingLibraryIsNamedAndTheRunStillWritesItsFiles)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    BookRun f;
    PdfLibrary missing({"/nowhere/lib/libPDF.so"});
    attachPdfBook(f.run, f.prompter, &missing);
    ASSERT_TRUE(f.start());

    ASSERT_FALSE(f.prompter.prompts.empty());
    const RecordingPrompter::Prompt& shown = f.prompter.prompts.front();
    EXPECT_EQ(shown.icon, PromptIcon::Critical);
    EXPECT_TRUE(shown.text.contains("/nowhere/lib/libPDF.so")) << shown.text.toStdString();
    for (const char* name : {"p1.jpg", "p2.jpg", "p3.jpg"})
        EXPECT_TRUE(QFile::exists(f.out(name))) << name;
    EXPECT_TRUE(f.logged("/nowhere/lib/libPDF.so"));
    EXPECT_FALSE(QFile::exists(f.out("Vimo图片集.pdf")));
    EXPECT_EQ(f.st.status.text(),
              QStringLiteral("【提示】处理完毕！图片已保存到输出文件夹。请注意,在图片处理或上传过程中发生错误。"));
}

namespace {

std::string pageText(const QString& pdf, int page)
{
    const std::string n = std::to_string(page);
    return runTool({"pdftotext", "-f", n, "-l", n, pdf.toStdString(), "-"}).out;
}

} // namespace

// Pictures that fail to save leave the book of the others.
TEST(PdfBookRun, FailedPicturesAreLeftOutOfTheBook)
{
    ASSERT_TRUE(toolsInstalled({"convert", "pdfinfo", "pdftotext", "pdfimages", "qpdf"}));
    struct Case {
        std::vector<int> spoiled;
        const char* pages;
        int lastPage;
        int jpegs;
    };
    const Case cases[] = {{{1}, "Pages:           4", 4, 2}, {{0, 1, 2}, "Pages:           2", 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        BookRun f;
        for (int i : c.spoiled)
            f.spoil(i);
        PdfLibrary library({QDir(QString::fromStdString(testenv::binDir())).filePath("libPDF.so")});
        attachPdfBook(f.run, f.prompter, &library, false);
        ASSERT_TRUE(f.start());
        const QString pdf = f.out("Vimo图片集.pdf");
        ASSERT_TRUE(QFile::exists(pdf)) << f.shown();
        EXPECT_NE(runTool({"pdfinfo", pdf.toStdString()}).out.find(c.pages), std::string::npos);
        const std::string images = runTool({"pdfimages", "-list", pdf.toStdString()}).out;
        EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2 + c.jpegs) << images;
        EXPECT_NE(pageText(pdf, 1).find("Vimo图片集"), std::string::npos);
        EXPECT_NE(pageText(pdf, c.lastPage).find("2026年12月10日"), std::string::npos);
        EXPECT_EQ(runTool({"qpdf", "--check", pdf.toStdString()}).exitCode, 0);
    }
}

namespace {

// Puts a stand-in for xdg-open first on PATH that notes what it was asked to open.
QString recordOpens(const QTemporaryDir& dir)
{
    const QString bin = dir.filePath("bin");
    const QString noted = dir.filePath("opened.txt");
    QDir().mkpath(bin);
    QFile script(bin + "/xdg-open");
    script.open(QIODevice::WriteOnly);
    script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n").arg(noted).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    qputenv("PATH", (bin + ":" + qEnvironmentVariable("PATH")).toLocal8Bit());
    return noted;
}

// Polls for the line a stand-in program writes; the minute only catches a
// stand-in that never runs, however loaded the machine is.
QString waitForText(const QString& path)
{
    for (int i = 0; i < 1200; ++i) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            if (const QByteArray text = f.readAll(); text.endsWith('\n'))
                return QString::fromUtf8(text).trimmed();
        usleep(50 * 1000);
    }
    return {};
}

} // namespace

TEST(PdfBookRun, BookOfThreePicturesThroughTheLibrary)
{
    ASSERT_TRUE(toolsInstalled({"convert", "pdfinfo", "pdftotext", "pdfimages", "qpdf"}));
    BookRun f;
    const QString opened = recordOpens(f.dir);
    PdfLibrary library({QDir(QString::fromStdString(testenv::binDir())).filePath("libPDF.so")});
    attachPdfBook(f.run, f.prompter, &library);
    ASSERT_TRUE(f.start());
    EXPECT_TRUE(f.prompter.prompts.empty()) << f.shown();

    const QString pdf = f.out("Vimo图片集.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    const std::string info = runTool({"pdfinfo", pdf.toStdString()}).out;
    EXPECT_NE(info.find("Pages:           5"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Vimo图片集"), std::string::npos) << info;
    EXPECT_NE(pageText(pdf, 1).find("Vimo图片集"), std::string::npos);
    const char* texts[] = {"第一张 海边", "第二张 山顶", "第三张 城市"};
    for (int page = 2; page <= 4; ++page)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pageText(pdf, page).find(texts[i]) != std::string::npos, i == page - 2)
                << "page " << page << ": " << texts[i];
    const std::string closing = pageText(pdf, 5);
    EXPECT_NE(closing.find("本图片集由Vimo图片批处理软件制作"), std::string::npos) << closing;
    EXPECT_NE(closing.find("2026年12月10日"), std::string::npos) << closing;
    EXPECT_LT(closing.find("本图片集"), closing.find("2026年"));

    const std::string images = runTool({"pdfimages", "-list", pdf.toStdString()}).out;
    int jpegs = 0;
    for (size_t at = images.find(" jpeg "); at != std::string::npos; at = images.find(" jpeg ", at + 1))
        ++jpegs;
    EXPECT_EQ(jpegs, 3) << images;
    const ToolResult check = runTool({"qpdf", "--check", pdf.toStdString()});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    EXPECT_EQ(waitForText(opened), pdf) << "the finished book is opened for the user";
}

TEST(PdfBookRun, TheBookNeverReplacesAListedFile)
{
    BookRun f;
    RecordingPdfApi pdf;
    attachPdfBook(f.run, f.prompter, &pdf);
    QDir().mkpath(f.st.ps.sOutDir);
    // A listed picture that carries the book's name.
    const QString listed = f.out(QStringLiteral("Vimo图片集.pdf"));
    ASSERT_TRUE(QFile::copy(f.st.list.at(0).path, listed));
    f.st.list.append(listed);
    ASSERT_TRUE(f.start());
    const QStringList names = pdf.calls.filter(QStringLiteral("SetStrProp %1 ").arg(pdfprop::FileName));
    EXPECT_EQ(names, QStringList({QStringLiteral("SetStrProp %1 ").arg(pdfprop::FileName) +
                                  f.out(QStringLiteral("Vimo图片集_1.pdf"))}));
}

TEST(PdfBookRun, LongTitleStillMakesTheBook)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf"}));
    BookRun f;
    f.st.ps.sPDF1 = QString("假期的照片").repeated(20);
    PdfLibrary library({QDir(QString::fromStdString(testenv::binDir())).filePath("libPDF.so")});
    attachPdfBook(f.run, f.prompter, &library, false);
    ASSERT_TRUE(f.start());
    EXPECT_TRUE(f.prompter.prompts.empty()) << f.shown();
    const QStringList books = QDir(f.st.ps.sOutDir).entryList({"*.pdf"}, QDir::Files);
    ASSERT_EQ(books.size(), 1) << "no book for a title longer than a file name";
    EXPECT_TRUE(books[0].startsWith("假期的照片假期的照片"));
    EXPECT_LE(books[0].toUtf8().size(), 255);
    const ToolResult check = runTool({"qpdf", "--check", f.out(books[0]).toStdString()});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}
