#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

#include "TestEnvironment.h"
#include "ToolRunner.h"
#include "platform/prompter/RecordingPrompter.h"
#include "platform/shell/RecordingShell.h"
#include "processing/BatchRun.h"
#include "processing/pdf/PdfBookHook.h"
#include "processing/pdf/PdfLibrary.h"
#include "processing/pdf/RecordingPdfApi.h"
#include "state/AppState.h"
#include "state/StartValues.h"

namespace {

// A run of three pictures with descriptions and the PDF switch on.
struct BookRun {
    QTemporaryDir dir;
    AppState st;
    RecordingPrompter prompter;
    RecordingShell shell;
    BatchRun run{st, prompter, shell};

    BookRun()
    {
        setStartValues(st);
        st.ps.sOutDir = dir.filePath("out");
        st.ps.bSaveErr = 1;
        st.ps.iJPGQ = 90;
        st.ps.sOutFormat = "jpg";
        st.panel.cmbEncode = "jpg";
        st.panel.cmbSizeCount = 5;
        st.panel.txtW = "400";
        st.panel.chkPDF = 1;
        st.ps.sPDF1 = "Vimo图片集";
        st.ps.sPDF2 = "本图片集由Vimo图片批处理软件制作";
        st.ps.sPDF3 = "2026年12月10日";
        run.yield = [] {};
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
    QString src(const QString& name) const { return dir.filePath(name); }
    QString out(const QString& name) const { return QDir(st.ps.sOutDir).filePath(name); }
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
    if (!haveTool("convert"))
        GTEST_SKIP();
    BookRun f;
    RecordingPdfApi pdf;
    attachPdfBook(f.run, f.st, f.prompter, &pdf);
    f.spoil(1);
    ASSERT_TRUE(f.run.start());
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
    if (!haveTool("convert"))
        GTEST_SKIP();
    BookRun f;
    RecordingPdfApi pdf;
    attachPdfBook(f.run, f.st, f.prompter, &pdf);
    f.st.panel.chkPDF = 0;
    ASSERT_TRUE(f.run.start());
    EXPECT_TRUE(pdf.calls.isEmpty());

    f.st.panel.chkPDF = 1;
    f.spoil(1);
    ASSERT_TRUE(QFile::remove(f.st.list.at(2).path));
    ASSERT_TRUE(f.run.start());
    EXPECT_EQ(pdf.calls.filter("StretchDrawFromFile"),
              QStringList({"StretchDrawFromFile 30 40 2080 2800 " + f.out("p1.jpg")}));
}

TEST(PdfBookRun, MissingLibraryIsNamedAndTheRunStillWritesItsFiles)
{
    if (!haveTool("convert"))
        GTEST_SKIP();
    BookRun f;
    PdfLibrary missing({"/nowhere/lib/libPDF.so"});
    attachPdfBook(f.run, f.st, f.prompter, &missing);
    ASSERT_TRUE(f.run.start());

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

TEST(PdfBookRun, RunWithoutSavedPicturesGivesTitleAndClosingPage)
{
    for (const char* t : {"convert", "pdfinfo", "pdftotext", "qpdf"})
        if (!haveTool(t))
            GTEST_SKIP() << t;
    BookRun f;
    for (int i = 0; i < 3; ++i)
        f.spoil(i);
    PdfLibrary library({QDir(QString::fromStdString(testenv::binDir())).filePath("libPDF.so")});
    attachPdfBook(f.run, f.st, f.prompter, &library, false);
    ASSERT_TRUE(f.run.start());
    const QString pdf = f.out("Vimo图片集.pdf");
    ASSERT_TRUE(QFile::exists(pdf)) << f.shown();
    EXPECT_NE(runTool({"pdfinfo", pdf.toStdString()}).out.find("Pages:           2"), std::string::npos);
    EXPECT_NE(pageText(pdf, 1).find("Vimo图片集"), std::string::npos);
    EXPECT_NE(pageText(pdf, 2).find("2026年12月10日"), std::string::npos);
    EXPECT_EQ(runTool({"qpdf", "--check", pdf.toStdString()}).exitCode, 0);
}
