#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform/prompter/RecordingPrompter.h"
#include "processing/pdf/RecordingPdfApi.h"
#include "processing/pdf/RunPdf.h"
#include "processing/RunOutcome.h"
#include "processing/RunRequest.h"

namespace {

int yields = 0;
void countYield() { ++yields; }

// A run of three pictures whose second one failed to save.
struct FinishedRun {
    RunRequest request;
    RunOutcome outcome;

    FinishedRun()
    {
        request.outDir = "/out";
        request.pdfTitle = "Vimo图片集";
        request.pdfSignature = "本图片集由Vimo图片批处理软件制作";
        request.pdfDate = "2026年12月10日";
        request.entries = {{"/src/a.jpg", "海边"}, {"/src/b.png", "failed"}, {"/src/c.gif", ""}};
        outcome.results = {"/out/a.jpg", "", "/out/c.gif"};
    }
    PdfBookResult book(PdfApi& pdf, Prompter& prompter, bool show = true)
    {
        return funCreatePdf(request, outcome, pdf, prompter, countYield, show);
    }
};

} // namespace

TEST(PdfBook, WritesTitlePicturesAndClosingPageSkippingFailedEntries)
{
    FinishedRun app;
    RecordingPdfApi pdf;
    RecordingPrompter prompter;
    yields = 0;

    const PdfBookResult r = app.book(pdf, prompter);

    const QStringList picturePage = {
        "NewPage", "SetNumProp 31 2", "SetNumProp 45 100", "SetNumProp 46 -1",
        "SetNumProp 51 2", "SetNumProp 52 2"};
    QStringList expected = {
        "CreateVum 0 0", "SetStrProp 10 /out/Vimo图片集.pdf", "SetNumProp 44 1",
        "SetStrProp 14 Vimo图片集", "BeginDoc",
        "SetStrProp 11 黑体", "SetNumProp 28 30", "SetNumProp 24 -1",
        "DrawText 30 40 2080 2800 2 2 Vimo图片集", "SetNumProp 28 16"};
    expected << picturePage << "StretchDrawFromFile 30 40 2080 2800 /out/a.jpg"
             << "DrawText 30 2800 2080 2820 2 2 海边";
    expected << picturePage << "StretchDrawFromFile 30 40 2080 2800 /out/c.gif"
             << "DrawText 30 2800 2080 2820 2 2 ";
    expected << "NewPage" << "DrawText 30 40 2080 2800 2 2 本图片集由Vimo图片批处理软件制作"
             << "DrawText 30 40 2080 3150 2 2 2026年12月10日" << "EndDoc" << "FreeVum";
    EXPECT_EQ(pdf.calls, expected);

    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.file, "/out/Vimo图片集.pdf");
    EXPECT_EQ(r.pictures, 2);
    EXPECT_EQ(yields, 2);
    EXPECT_TRUE(prompter.prompts.empty());
    EXPECT_FALSE(app.outcome.hasErrors());
}

TEST(PdfBook, NoSavedPictureGivesTitleAndClosingPageOnly)
{
    FinishedRun app;
    app.outcome.results = {"", "", ""};
    RecordingPdfApi pdf;
    RecordingPrompter prompter;
    const PdfBookResult r = app.book(pdf, prompter);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.pictures, 0);
    EXPECT_EQ(pdf.calls.filter("NewPage").size(), 1);
    EXPECT_TRUE(pdf.calls.filter("StretchDrawFromFile").isEmpty());
}

// A failing call shows the library's message, drops the document, logs it and
// returns to the run's end; the handle is freed.
TEST(PdfBook, FailingCallIsShownLoggedAndDropsTheDocument)
{
    struct Case {
        const char* failAt;
        const char* loggedSubject;
        bool docOpen;
        bool handleMade;
    };
    const Case cases[] = {
        {"CreateVum", "/out/Vimo图片集.pdf", false, false},
        {"SetStrProp 10", "/out/Vimo图片集.pdf", false, true},
        {"BeginDoc", "/out/Vimo图片集.pdf", false, true},
        {"DrawText 30 40 2080 2800 2 2 Vimo", "/out/Vimo图片集.pdf", true, true},
        {"StretchDrawFromFile 30 40 2080 2800 /out/c.gif", "/src/c.gif", true, true},
        {"DrawText 30 2800 2080 2820 2 2 海边", "/src/a.jpg", true, true},
        {"DrawText 30 40 2080 3150", "/out/Vimo图片集.pdf", true, true},
        {"EndDoc", "/out/Vimo图片集.pdf", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt);
        FinishedRun app;
        RecordingPdfApi pdf;
        pdf.failAt = c.failAt;
        pdf.failMessage = "Cannot open file";
        RecordingPrompter prompter;

        const PdfBookResult r = app.book(pdf, prompter);

        EXPECT_FALSE(r.written);
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].text, "Cannot open file");
        EXPECT_EQ(prompter.prompts[0].icon, PromptIcon::Critical);
        EXPECT_EQ(app.outcome.errors, QStringList(QString("%1 生成PDF文档失败:Cannot open file\r\n").arg(c.loggedSubject)));
        EXPECT_EQ(pdf.calls.contains("Abort"), c.docOpen);
        EXPECT_EQ(pdf.calls.contains("FreeVum"), c.handleMade);
        EXPECT_FALSE(pdf.calls.contains("EndDoc") && QString(c.failAt) != "EndDoc");
        EXPECT_TRUE(pdf.calls.filter("bad handle").isEmpty());
    }
}

TEST(PdfBook, FailureWithoutMessageNamesTheCall)
{
    FinishedRun app;
    RecordingPdfApi pdf;
    pdf.failAt = "NewPage";
    pdf.failMessage = "";
    RecordingPrompter prompter;
    app.book(pdf, prompter);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_TRUE(prompter.prompts[0].text.contains("NewPage"));
}

TEST(PdfBook, QuietBookIsNotOpened)
{
    FinishedRun app;
    RecordingPdfApi pdf;
    RecordingPrompter prompter;
    EXPECT_TRUE(app.book(pdf, prompter, false).written);
    EXPECT_TRUE(pdf.calls.contains("SetNumProp 44 0"));
    EXPECT_FALSE(pdf.calls.contains("SetNumProp 44 1"));
}

TEST(PdfBook, FileNameIsOutputFolderTitleAndPdf)
{
    struct Case {
        const char* outDir;
        const char* title;
        const char* file;
    };
    const Case cases[] = {
        {"/out", "Vimo图片集", "/out/Vimo图片集.pdf"},
        {"/out/", "假期 2026", "/out/假期 2026.pdf"},
        {"/out", "a/b", "/out/a_b.pdf"},
        {"/out", "", "/out/Vimo.pdf"},
        {"/out", "  ", "/out/Vimo.pdf"},
        {"/out", "..", "/out/Vimo.pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pdfBookFileName(c.outDir, c.title), c.file) << c.title;
}

TEST(PdfBook, LongTitleIsShortenedToAFileNameTheSystemTakes)
{
    // Three bytes a character (CJK), four (outside the basic plane, two
    // UTF-16 units) and one: the name is cut between whole characters.
    const struct {
        QString title;
        QString unit;
    } cases[] = {
        {QString("图").repeated(100), "图"},
        {QString("😀").repeated(100), "😀"},
        {QString("a").repeated(300), "a"},
    };
    for (const auto& c : cases) {
        const QString file = pdfBookFileName("/out", c.title);
        const QString name = QFileInfo(file).fileName();
        EXPECT_TRUE(file.startsWith("/out/") && name.endsWith(".pdf")) << file.toStdString();
        const QString stem = name.chopped(4);
        EXPECT_LE(name.toUtf8().size(), 255) << file.toStdString();
        EXPECT_GT(name.toUtf8().size(), 255 - c.unit.toUtf8().size()) << "no more is cut than needed";
        EXPECT_EQ(stem, c.unit.repeated(stem.size() / c.unit.size())) << "cut between whole characters";
    }
}
