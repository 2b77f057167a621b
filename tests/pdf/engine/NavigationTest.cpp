// Named targets, links, bookmarks, notes and stamps written through the C
// interface and read back by qpdf and pdfinfo.
#include "PdfApi.h"
#include "PdfFiles.h"
#include "PdfStructure.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace {

// What the library prints on standard error while it lives.
class CapturedStderr {
public:
    explicit CapturedStderr(std::string path) : path_(std::move(path))
    {
        std::fflush(stderr);
        saved_ = dup(2);
        std::FILE* file = std::fopen(path_.c_str(), "w");
        dup2(fileno(file), 2);
        std::fclose(file);
    }
    ~CapturedStderr() { restore(); }
    std::string text()
    {
        restore();
        std::ifstream in(path_);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

private:
    void restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        saved_ = -1;
    }
    std::string path_;
    int saved_ = -1;
};

struct Bookmark {
    int level;
    bool open;
};

} // namespace

TEST(PdfNavigation, BookmarkLevelsBuildTheOutlineTreeWithPdfCounts)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "python3"}));
    struct Case {
        const char* what;
        std::vector<Bookmark> marks;
        const char* tree;
    } cases[] = {
        {"all open", {{1, true}, {2, true}, {2, true}, {3, true}, {1, true}, {2, true}},
         "A(3)[B(0) C(1)[D(0)]] E(1)[F(0)]"},
        // Closed items count minus what they would show; their entries are
        // not counted by their parents.
        {"closed items", {{1, true}, {2, true}, {2, false}, {3, true}, {1, false}, {2, true}},
         "A(2)[B(0) C(-1)[D(0)]] E(-1)[F(0)]"},
        {"a level may rise by several at once", {{1, true}, {2, true}, {3, true}, {4, true}, {1, true}, {1, true}},
         "A(3)[B(2)[C(1)[D(0)]]] E(0) F(0)"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.file("outline.pdf");
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (size_t i = 0; i < c.marks.size(); ++i) {
            if (i == 3) {
                ASSERT_EQ(pdf().NewPage(h), 0);
            }
            const std::string title(1, char('A' + i));
            ASSERT_EQ(pdf().SetBookmark(h, 100, 200, title.c_str(), c.marks[i].level, c.marks[i].open), 0)
                << c.what << ": " << lastError();
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        EXPECT_EQ(qpdfProblems(file), "") << c.what;
        EXPECT_EQ(outlineTree(file), c.tree) << c.what;
    }
}

// Deep outlines: each level keeps its newest entry, so an entry goes under
// the newest of the level above however deep the tree is, and one that goes
// two levels deeper than the newest entry is refused.
TEST(PdfNavigation, DeepOutlinesNestUnderTheNewestEntryOfTheLevelAbove)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "python3"}));
    constexpr int kDepth = 40;  // qpdf shows outlines up to about fifty levels
    TempDir dir;
    const std::string file = dir.file("deep.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (int level = 1; level <= kDepth; ++level)
            ASSERT_EQ(pdf().SetBookmark(h, 0, 0, std::string("d").append(std::to_string(level)).c_str(), level, 1), 0) << lastError();
        // Back up to level 3, one deeper, then a second top entry.
        ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "r3", 3, 1), 0) << lastError();
        ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "r4", 4, 1), 0) << lastError();
        ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "top", 1, 1), 0) << lastError();
        ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "t2", 2, 1), 0) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    // d1 .. d40 nested; r3 beside d3 under d2, r4 under r3; then top and t2.
    std::string chain = std::string("d").append(std::to_string(kDepth)).append("(0)");
    for (int level = kDepth - 1; level >= 3; --level)
        chain = std::string("d").append(std::to_string(level)).append("(") + std::to_string(kDepth - level) + ")[" + chain + "]";
    const std::string d2 = std::string("d2(").append(std::to_string(kDepth - 2 + 2)) + ")[" + chain + " r3(1)[r4(0)]]";
    const std::string expected = "d1(" + std::to_string(kDepth - 1 + 2) + ")[" + d2 + "] top(1)[t2(0)]";
    EXPECT_EQ(outlineTree(file), expected);

    PdfHandle h;
    h.setFile(dir.file("refused.pdf"));
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    for (int level = 1; level <= 5; ++level)
        ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "x", level, 1), 0);
    ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "back", 2, 1), 0);
    EXPECT_EQ(pdf().SetBookmark(h, 0, 0, "too deep", 4, 1), -1) << "level 3 below \"back\" does not exist yet";
    EXPECT_EQ(lastError(), "Bad bookmark level");
}

TEST(PdfNavigation, BadBookmarkLevelsFailAndLeaveNoFile)
{
    struct Case {
        std::vector<int> levels; // the last one fails
        const char* message;
    } cases[] = {
        {{1, 3}, "Bad bookmark level"},
        {{2}, "Bad bookmark level"},
        {{1, 0}, "Bad bookmark level: 0"},
        {{-1}, "Bad bookmark level: -1"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.file("bad.pdf");
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (size_t i = 0; i + 1 < c.levels.size(); ++i)
            ASSERT_EQ(pdf().SetBookmark(h, 0, 0, "ok", c.levels[i], 1), 0);
        EXPECT_EQ(pdf().WriteBookmark(h, 0, 0, "bad", c.levels.back(), 1), -1);
        EXPECT_EQ(lastError(), c.message);
        EXPECT_FALSE(std::filesystem::exists(file)) << c.message;
    }
}

TEST(PdfNavigation, LinksReachAddressesAndNamesDefinedOnLaterPages)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdfinfo", "python3"}));
    TempDir dir;
    const std::string file = dir.file("links.pdf");
    {
        std::ofstream(dir.file("other.pdf")) << "%PDF-1.3\n";
        std::ofstream(dir.file("notes.txt")) << "notes\n";
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().SetOwnerPassword(h, "owner"), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        const char* links[] = {"https://example.org/a?b=(c)", "HTTP:whatever", "chapter2", "Chapter2",
                               "nextpage", "other.pdf|part 2", "notes.txt", "{Tip}mailto:me@example.org"};
        int32_t y = 100;
        for (const char* link : links) {
            // The drawn text is the link itself.
            ASSERT_EQ(pdf().WriteLink(h, 100, y, link, link), 0) << link << ": " << lastError();
            y += 100;
        }
        ASSERT_EQ(pdf().NewPage(h), 0);
        ASSERT_EQ(pdf().NewPage(h), 0);
        ASSERT_EQ(pdf().DefineName(h, 100, 1000, "chapter2"), 0) << lastError();
        ASSERT_EQ(pdf().DefineName(h, 0, 0, "Appendix"), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_EQ(annotationLines(file), "1 Link - URI https://example.org/a?b=(c) -\n"
                                     "1 Link - URI HTTP:whatever -\n"
                                     "1 Link - GoTo chapter2 -\n"
                                     "1 Link - GoTo Chapter2 -\n"
                                     "1 Link - Named NextPage -\n"
                                     "1 Link - GoToR other.pdf -\n"
                                     "1 Link - Launch notes.txt -\n"
                                     "1 Link - URI mailto:me@example.org -\n");
    // Both spellings of the name lead to page 3, in byte order.
    const ToolResult dests = runTool({"pdfinfo", "-dests", file});
    EXPECT_NE(dests.out.find("\"Appendix\""), std::string::npos) << dests.out;
    const size_t upper = dests.out.find("\"Chapter2\"");
    const size_t lower = dests.out.find("\"chapter2\"");
    ASSERT_NE(upper, std::string::npos) << dests.out;
    ASSERT_NE(lower, std::string::npos) << dests.out;
    EXPECT_EQ(dests.out.substr(dests.out.rfind('\n', lower) + 1, 4), "   3") << dests.out;
    EXPECT_EQ(dests.out.substr(dests.out.rfind('\n', upper) + 1, 4), "   3") << dests.out;
}

TEST(PdfNavigation, UndefinedLinkNamesWarnOnceEachAndTheFileIsComplete)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdfinfo"}));
    TempDir dir;
    const std::string file = dir.file("warn.pdf");
    CapturedStderr err(dir.file("stderr.txt"));
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (const char* link : {"nowhere", "nowhere", "NoWhere", "elsewhere", "defined", "two\nlines\\"})
            ASSERT_EQ(pdf().SetLink(h, 100, 100, 500, 200, link), 0);
        ASSERT_EQ(pdf().DefineName(h, 0, 0, "DEFINED"), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(err.text(), "libPDF warning: Link destination name not defined: NoWhere\n"
                          "libPDF warning: Link destination name not defined: elsewhere\n"
                          "libPDF warning: Link destination name not defined: two\\nlines\\\\\n")
        << "one line each, the line feed and the backslash of a name escaped";
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_EQ(pdfInfoField(file, "Pages"), "1");
}

TEST(PdfNavigation, CallsThatAreRefusedAbortTheDocument)
{
    TempDir dir;
    std::ofstream(dir.file("notes.txt")) << "notes\n";
    const std::vector<std::pair<std::function<int32_t(int32_t)>, std::string>> cases = {
        {[](int32_t h) { pdf().DefineName(h, 0, 0, "Intro");
                         return pdf().DefineName(h, 0, 0, "INTRO"); }, "Duplicate name: INTRO"},
        {[](int32_t h) { return pdf().Annotation(h, 0, 0, "x", 6); }, "Bad parameters for method: Annotation (icon 6)"},
        {[](int32_t h) { return pdf().Annotation(h, 0, 0, "x", -1); }, "Bad parameters for method: Annotation (icon -1)"},
        {[](int32_t h) { return pdf().RubberStamp(h, 0, 0, 10, 10, "x", 14); },
         "Bad parameters for method: RubberStamp (stamp 14)"},
        {[](int32_t h) { return pdf().SetLink(h, 0, 0, 10, 10, "missing.pdf|x"); },
         "Invalid link definition: missing.pdf|x"},
        {[](int32_t h) { return pdf().SetLink(h, 0, 0, 10, 10, "notes.txt|x"); },
         "Invalid link definition: notes.txt|x"},
    };
    for (const auto& [call, message] : cases) {
        const std::string file = dir.file("refused.pdf");
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        EXPECT_EQ(call(h), -1) << message;
        EXPECT_EQ(lastError(), message);
        EXPECT_FALSE(std::filesystem::exists(file)) << message;
    }
}

TEST(PdfNavigation, NotesAndStampsCarryTheirIconsAndTexts)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "python3"}));
    TempDir dir;
    const std::string file = dir.file("notes.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        // Encrypted: every string is sealed with its own object's key.
        ASSERT_EQ(pdf().SetOwnerPassword(h, "owner"), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (int icon = 0; icon < 6; ++icon)
            ASSERT_EQ(pdf().Annotation(h, 100, 100 + icon * 100, icon == 0 ? "{Memo}Call (back)" : "{{x}", icon), 0);
        for (int stamp = 0; stamp < 14; ++stamp)
            ASSERT_EQ(pdf().RubberStamp(h, 500, 100 + stamp * 100, 900, 180 + stamp * 100, "Über 中文", stamp), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    std::string expected = "1 Text Comment - Call (back)\n";
    for (const char* icon : {"Help", "Insert", "Key", "NewParagraph", "Note"})
        expected += std::string("1 Text ") + icon + " - {x}\n";
    for (const char* stamp : {"Approved", "Asis", "Confidential", "Departmental", "Draft", "Experimental", "Expired",
                              "Final", "ForComment", "ForPublicRelease", "NotApproved", "NotForPublicRelease",
                              "Sold", "TopSecret"})
        expected += std::string("1 Stamp ") + stamp + " - Über 中文\n";
    EXPECT_EQ(annotationLines(file), expected);
}

TEST(PdfNavigation, ParagraphStylesMakeBookmarksAndNamedParagraphs)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdfinfo", "python3"}));
    TempDir dir;
    const std::string file = dir.file("paragraphs.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineStyle(h, "H1", "BookmarkLevel", "1"), 0) << lastError();
        ASSERT_EQ(pdf().DefineStyle(h, "H2", "BookmarkLevel", "2"), 0);
        ASSERT_EQ(pdf().DefineStyle(h, "Body", "FontSize", "10"), 0);
        ASSERT_EQ(pdf().WritePara(h, "Start", "H1"), 0) << lastError();
        ASSERT_EQ(pdf().WritePara(h, "Details", "H2"), 0);
        ASSERT_EQ(pdf().NameNextPara(h, "body"), 0);
        ASSERT_EQ(pdf().WritePara(h, "Plain text", "Body"), 0);
        ASSERT_EQ(pdf().BeginPara(h, "See ", "Body"), 0);
        ASSERT_EQ(pdf().AppendLinkPara(h, "the start", "", "body"), 0);
        ASSERT_EQ(pdf().EndPara(h, "", ""), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_EQ(outlineTree(file), "Start(1)[Details(0)]");
    EXPECT_EQ(annotationLines(file), "1 Link - GoTo body -\n");
    const ToolResult dests = runTool({"pdfinfo", "-dests", file});
    EXPECT_NE(dests.out.find("\"body\""), std::string::npos) << dests.out;
}

TEST(PdfNavigation, WriteLinkCoversExactlyTheDrawnText)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "python3"}));
    TempDir dir;
    const std::string file = dir.file("cover.pdf");
    int32_t width = 0, height = 0, pageHeight = 0;
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().SetNumProp(h, VUM_FONT_SIZE, 24), 0);
        ASSERT_EQ(pdf().WriteLink(h, 300, 500, "Covered text", "https://example.org"), 0) << lastError();
        width = pdf().TextWidth(h, "Covered text");
        height = pdf().TextHeight(h, "Covered text");
        pageHeight = pdf().GetNumProp(h, VUM_PAGE_HEIGHT);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    const double k = 72.0 / 254; // points per tenth of a millimetre
    const std::vector<AnnotationRect> rects = annotationRects(file);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_NEAR(rects[0].x1, 300 * k, 0.01);
    EXPECT_NEAR(rects[0].x2, (300 + width) * k, 0.01);
    EXPECT_NEAR(rects[0].y2, (pageHeight - 500) * k, 0.01);
    EXPECT_NEAR(rects[0].y1, (pageHeight - 500 - height) * k, 0.01);
}
