// Documents that print their own page count, through the C interface: the
// totals on every page, the events once per document, and the handlers that
// try to begin a document while one ends.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

enum { WantPageCount = 60, Printing = 42 };

std::vector<std::string> pagesOf(const std::string& file)
{
    const ToolResult r = runTool({"pdftotext", "-layout", file, "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t at; (at = r.out.find('\f', start)) != std::string::npos; start = at + 1)
        pages.push_back(r.out.substr(start, at - start));
    return pages;
}

struct Events {
    int starts = 0, newPages = 0, ends = 0, aborts = 0;
    int beginInEvent = 0;
    std::string beginError;
};
Events g_events;
bool g_beginInEvent = false;

void onStart(int32_t) { ++g_events.starts; }
void onNewPage(int32_t h)
{
    ++g_events.newPages;
    pdf().DrawPageCounter(h, 100, 80, 0, 0, "Page ", 1, " of ", 2, "");
}
void tryToBegin(int32_t h)
{
    g_events.beginInEvent = pdf().BeginDoc(h);
    g_events.beginError = lastError();
}
void onEnd(int32_t h)
{
    ++g_events.ends;
    if (g_beginInEvent)
        tryToBegin(h);
}
void onAbort(int32_t h)
{
    ++g_events.aborts;
    if (g_beginInEvent)
        tryToBegin(h);
}

void trapAll(int32_t h)
{
    g_events = {};
    ASSERT_EQ(pdf().TrapEvent(h, "OnStart", onStart), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "OnNewPage", onNewPage), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "OnEnd", onEnd), 0);
    ASSERT_EQ(pdf().TrapEvent(h, "OnAbort", onAbort), 0);
}

} // namespace

TEST(PageCount, TotalsOnEveryPageAndEachEventOnce)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    TempDir dir;
    const std::string file = dir.file("counted.pdf");
    PdfHandle h;
    h.setFile(file);
    trapAll(h);
    g_beginInEvent = false;
    ASSERT_EQ(pdf().SetNumProp(h, WantPageCount, 1), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    for (int page = 1; page <= 10; ++page) {
        if (page > 1) {
            ASSERT_EQ(pdf().NewPage(h), 0) << lastError();
        }
        ASSERT_EQ(pdf().TextOut(h, 200, 300, ("Body of page " + std::to_string(page)).c_str()), 0);
    }
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();

    EXPECT_EQ(g_events.starts, 1);
    EXPECT_EQ(g_events.newPages, 10);
    EXPECT_EQ(g_events.ends, 1);
    EXPECT_EQ(g_events.aborts, 0);
    EXPECT_EQ(qpdfProblems(file), "");
    const std::vector<std::string> pages = pagesOf(file);
    ASSERT_EQ(pages.size(), 10u);
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        EXPECT_NE(pages[i].find("Page " + n + " of 10"), std::string::npos) << pages[i];
        EXPECT_NE(pages[i].find("Body of page " + n), std::string::npos) << pages[i];
    }
}

// Numbered paragraphs that feed their own pages keep counting across them,
// and every page knows how many there are.
TEST(PageCount, NumberedListAcrossFedPages)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf", "pdfinfo"}));
    TempDir dir;
    const std::string sheet = dir.file("styles.ini");
    writeFile(sheet,
              "[Number]\nBullet=1.\nFontSize=10\n"
              "[Item]\nBulletStyle=Number\nFontSize=10\nLeftMargin=200\nFirstIndent=-100\n"
              "TopMargin=200\nBottomMargin=400\nAutoPageFeed=1\nSpaceAfter=20\n");
    const std::string file = dir.file("list.pdf");
    PdfHandle h;
    h.setFile(file);
    trapAll(h);
    g_beginInEvent = false;
    ASSERT_EQ(pdf().SetNumProp(h, WantPageCount, 1), 0);
    ASSERT_EQ(pdf().LoadStyleSheet(h, sheet.c_str()), 0) << lastError();
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    for (int i = 1; i <= 120; ++i)
        ASSERT_EQ(pdf().WritePara(h, ("item text " + std::to_string(i)).c_str(), "Item"), 0) << lastError();
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();

    EXPECT_EQ(qpdfProblems(file), "");
    const int pageCount = std::stoi(pdfInfoField(file, "Pages"));
    ASSERT_GT(pageCount, 2);
    EXPECT_EQ(g_events.newPages, pageCount);
    const std::vector<std::string> pages = pagesOf(file);
    ASSERT_EQ(static_cast<int>(pages.size()), pageCount);
    std::string all;
    for (int i = 0; i < pageCount; ++i) {
        EXPECT_NE(pages[i].find("Page " + std::to_string(i + 1) + " of " + std::to_string(pageCount)),
                  std::string::npos) << pages[i];
        all += pages[i];
    }
    size_t at = 0;
    for (int i = 1; i <= 120; ++i) {
        const size_t found = all.find(std::to_string(i) + ".", at);
        ASSERT_NE(found, std::string::npos) << "number " << i;
        at = found;
    }
}

// A handler that begins a new document while the last one ends or aborts
// is refused: no document runs inside the event, and the finished file stays.
TEST(PageCount, NoDocumentBeginsWhileOneEnds)
{
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "abort" : "end");
        TempDir dir;
        const std::string file = dir.file("ended.pdf");
        PdfHandle h;
        h.setFile(file);
        trapAll(h);
        g_beginInEvent = true;
        ASSERT_EQ(pdf().SetNumProp(h, WantPageCount, 1), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
        ASSERT_EQ(pdf().TextOut(h, 100, 100, "text"), 0);
        ASSERT_EQ(abort ? pdf().Abort(h) : pdf().EndDoc(h), 0) << lastError();
        g_beginInEvent = false;
        EXPECT_EQ(g_events.beginInEvent, -1);
        EXPECT_EQ(g_events.beginError, "Can't edit document now: BeginDoc");
        EXPECT_EQ(pdf().GetNumProp(h, Printing), 0);
        EXPECT_EQ(std::filesystem::exists(file), !abort);
        EXPECT_EQ(g_events.ends + g_events.aborts, 1);
    }
}

namespace {

// Three pages with links (an address, a name defined on the last page),
// bookmarks of levels 1, 2, 2, 3, 1, 2, a grid, a note and a stamp.
void writeNavigation(const std::string& file, bool counted)
{
    PdfHandle h;
    h.setFile(file);
    ASSERT_EQ(pdf().SetNumProp(h, WantPageCount, counted ? 1 : 0), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    const int levels[] = {1, 2, 2, 3, 1, 2};
    int entry = 0;
    for (int page = 1; page <= 3; ++page) {
        if (page > 1) {
            ASSERT_EQ(pdf().NewPage(h), 0) << lastError();
        }
        ASSERT_EQ(pdf().DrawPageCounter(h, 100, 80, 0, 0, "Page ", 1, counted ? " of " : "", counted ? 2 : 0, ""),
                  0) << lastError();
        for (int i = 0; i < 2; ++i, ++entry) {
            const std::string title = "Entry " + std::to_string(entry + 1);
            ASSERT_EQ(pdf().WriteBookmark(h, 100, 300 + 100 * i, title.c_str(), levels[entry], 1), 0)
                << lastError();
        }
    }
    ASSERT_EQ(pdf().DefineName(h, 100, 600, "later"), 0) << lastError();
    ASSERT_EQ(pdf().NewSection(h, 0, 0), 0);
    ASSERT_EQ(pdf().DrawPageCounter(h, 100, 80, 0, 0, "Page ", 1, counted ? " of " : "", counted ? 2 : 0, ""), 0);
    ASSERT_EQ(pdf().WriteLink(h, 100, 600, "to the later name", "later"), 0) << lastError();
    ASSERT_EQ(pdf().WriteLink(h, 100, 700, "an address", "https://example.org/"), 0) << lastError();
    ASSERT_EQ(pdf().Annotation(h, 1000, 700, "{Reviewer}Check this", 2), 0) << lastError();
    ASSERT_EQ(pdf().RubberStamp(h, 1000, 800, 1500, 1000, "ok", 0), 0) << lastError();
    ASSERT_EQ(pdf().DefineGrid(h, "g", 0, 10), 0) << lastError();
    for (int col = 0; col < 3; ++col)
        ASSERT_EQ(pdf().DefineCol(h, "g", 400, 0, 0, 0), 0) << lastError();
    ASSERT_EQ(pdf().DrawGrid(h, "g", 100, 900), 0) << lastError();
    for (int row = 0; row < 2; ++row) {
        ASSERT_EQ(pdf().DrawRow(h, "g", 80), 0) << lastError();
        for (int col = 0; col < 3; ++col) {
            const std::string text = std::string(1, char('A' + col)) + std::to_string(row + 1);
            ASSERT_EQ(pdf().TextToCell(h, "g", col, row, text.c_str()), 0) << lastError();
        }
    }
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
}

std::string outlineOf(const std::string& file)
{
    const ToolResult r = runTool({"qpdf", "--json", "--json-key=outlines", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

} // namespace

// Links, names, bookmarks, notes, stamps and grids come out of the second
// pass of a counted document as they do from one pass.
TEST(PageCount, NavigationReplaysAsInOnePass)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf", "pdfinfo"}));
    TempDir dir;
    const std::string once = dir.file("once.pdf"), counted = dir.file("counted.pdf");
    writeNavigation(once, false);
    writeNavigation(counted, true);
    for (const std::string& file : {once, counted})
        EXPECT_EQ(qpdfProblems(file), "") << file;

    const std::vector<std::string> pages = pagesOf(counted), pagesOnce = pagesOf(once);
    ASSERT_EQ(pages.size(), 4u);
    ASSERT_EQ(pagesOnce.size(), 4u);
    for (size_t i = 0; i < pages.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        std::string expected = pagesOnce[i];
        const size_t at = expected.find("Page " + n);
        ASSERT_NE(at, std::string::npos) << expected;
        expected.insert(at + 5 + n.size(), " of 4");
        EXPECT_EQ(pages[i], expected);
    }
    const std::string& last = pages[3];
    EXPECT_LT(last.find("A1"), last.find("B1"));
    EXPECT_LT(last.find("B1"), last.find("C1"));
    EXPECT_LT(last.find("C1"), last.find("A2"));

    const ToolResult dests = runTool({"pdfinfo", "-dests", counted});
    EXPECT_NE(dests.out.find("later"), std::string::npos) << dests.out;
    EXPECT_EQ(dests.out, runTool({"pdfinfo", "-dests", once}).out);
    const std::string outline = outlineOf(counted);
    EXPECT_NE(outline.find("Entry 6"), std::string::npos) << outline;
    EXPECT_EQ(outline, outlineOf(once));
    const ToolResult objects = runTool({"qpdf", "--qdf", "--object-streams=disable", counted, "-"});
    for (const char* kind : {"/Subtype /Link", "/Subtype /Text", "/Subtype /Stamp"})
        EXPECT_NE(objects.out.find(kind), std::string::npos) << kind;
}

// Rich text that does not fit its rectangle is taken back from the page in
// the first pass: the second pass must not draw it either.
TEST(PageCount, TextTakenBackIsNotReplayed)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext"}));
    TempDir dir;
    const std::string rtf = dir.file("long.rtf");
    writeFile(rtf, "{\\rtf1\\ansi Rich words\\par that never\\par fit in\\par the box\\par}");
    const std::string file = dir.file("taken-back.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().SetNumProp(h, WantPageCount, 1), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 200, rtf.c_str()), 0) << lastError();
        ASSERT_EQ(pdf().DrawRichTextFromFile(h, 100, 300, 1500, 1000, rtf.c_str()), 1) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    const std::vector<std::string> pages = pagesOf(file);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& text = pages[0];
    const size_t first = text.find("Rich words");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find("Rich words", first + 1), std::string::npos) << "drawn twice:\n" << text;
}
