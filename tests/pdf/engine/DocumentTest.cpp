// Documents written through the C interface, checked by qpdf and pdfinfo.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sys/resource.h>

namespace fs = std::filesystem;

TEST(PdfDocument, PagesTitleAndPaper)
{
    const struct {
        const char* name;
        int32_t unit, orientation, pages;
        const char* title;
        const char* size;
    } cases[] = {
        {"a4 tenths", 0, 0, 1, "Report", "595.276 x 841.89 pts (A4)"},
        {"a4 points", 1, 0, 3, "", "595 x 842 pts (A4)"},
        {"landscape", 1, 1, 2, "标题 Ünïcode", "842 x 595 pts (A4)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        PdfHandle h;
        const std::string file = dir.file("doc.pdf");
        h.setFile(file);
        h.setStr(VUM_TITLE, c.title);
        ASSERT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, c.unit), 0);
        ASSERT_EQ(pdf().SetNumProp(h, VUM_ORIENTATION, c.orientation), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 1);
        for (int i = 1; i < c.pages; ++i)
            ASSERT_EQ(pdf().NewPage(h), 0);
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_NUMBER), c.pages);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_COUNT), c.pages);
        EXPECT_EQ(qpdfProblems(file), "");
        EXPECT_EQ(pdfInfoField(file, "Pages"), std::to_string(c.pages));
        EXPECT_EQ(pdfInfoField(file, "Title"), c.title);
        EXPECT_EQ(pdfInfoField(file, "Page size"), c.size);
    }
}

TEST(PdfDocument, SectionsTurnPagesAndCount)
{
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("sections.pdf");
    h.setFile(file);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, 1), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().NewSection(h, 1, 1), 0);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_SECTION_NUMBER), 2);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_SECTION_PAGE_NUMBER), 1);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_WIDTH), 842);
    ASSERT_EQ(pdf().NewSection(h, 0x100, 0), 0) << "only the low byte of the orientation counts";
    EXPECT_EQ(pdf().GetNumProp(h, VUM_SECTION_PAGE_NUMBER), 2);
    ASSERT_EQ(pdf().EndDoc(h), 0);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_ORIENTATION), 0) << "the starting orientation comes back";
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_WIDTH), 595);
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_EQ(pdfInfoField(file, "Page 1 size", 1, 3), "595 x 842 pts (A4)");
    EXPECT_EQ(pdfInfoField(file, "Page 2 size", 1, 3), "842 x 595 pts (A4)");
    EXPECT_EQ(pdfInfoField(file, "Page 3 size", 1, 3), "595 x 842 pts (A4)");
}

TEST(PdfDocument, LifeErrors)
{
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("life.pdf");
    h.setFile(file);
    EXPECT_EQ(pdf().EndDoc(h), 0) << "nothing to end is no error";
    EXPECT_EQ(pdf().Abort(h), 0);
    EXPECT_EQ(pdf().NewPage(h), -1);
    EXPECT_EQ(lastError(), "Document not opened");
    EXPECT_EQ(pdf().NewSection(h, 0, 1), -1);
    EXPECT_EQ(lastError(), "Document not opened");
    EXPECT_EQ(pdf().Rectangle(h, 0, 0, 10, 10), -1);
    EXPECT_EQ(lastError(), "Document not opened");

    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(pdf().BeginDoc(h), -1);
    EXPECT_EQ(lastError(), "Document already open");
    EXPECT_FALSE(fs::exists(file)) << "the first document was aborted";
    EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
    // After an abort, drawing and new pages are quietly ignored.
    EXPECT_EQ(pdf().Rectangle(h, 0, 0, 10, 10), 0);
    EXPECT_EQ(pdf().NewPage(h), 0);

    ASSERT_EQ(pdf().SetNumProp(h, VUM_PAGE_WIDTH, 0), 0);
    EXPECT_EQ(pdf().BeginDoc(h), -1);
    EXPECT_EQ(lastError(), "Invalid property value: PageWidth");
}

TEST(PdfDocument, AbortAndFreeLeaveNoPartialFile)
{
    TempDir dir;
    const std::string aborted = dir.file("aborted.pdf");
    const std::string freed = dir.file("freed.pdf");
    {
        PdfHandle h;
        h.setFile(aborted);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().Abort(h), 0);
        EXPECT_FALSE(fs::exists(aborted));
        EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
    }
    const int32_t h = pdf().CreateVum(0, 0);
    pdf().SetStrProp(h, VUM_FILE_NAME, freed.c_str());
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().FreeVum(h), 0);
    EXPECT_FALSE(fs::exists(freed));
}

TEST(PdfDocument, ExistingFileIsReplacedAndDisabledOutputWritesNothing)
{
    TempDir dir;
    const std::string file = dir.file("old.pdf");
    writeFile(file, "old contents");
    PdfHandle h;
    h.setFile(file);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0);
    EXPECT_EQ(qpdfProblems(file), "");

    const std::string quiet = dir.file("quiet.pdf");
    h.setFile(quiet);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_ENABLE_OUTPUT, 0), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().NewPage(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0);
    EXPECT_FALSE(fs::exists(quiet));
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_COUNT), 0) << "pages without output are not counted";
}

TEST(PdfDocument, UnwritableFileIsReported)
{
    PdfHandle h;
    h.setFile("/nonexistent-folder/x.pdf");
    EXPECT_EQ(pdf().BeginDoc(h), -1);
    EXPECT_EQ(lastError(), "Can't open file: /nonexistent-folder/x.pdf");
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0);
}

TEST(PdfDocument, FileLayoutOfAnEmptyPage)
{
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("empty.pdf");
    h.setFile(file);
    h.setStr(VUM_AUTHOR, "A (b) \\c");
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().EndDoc(h), 0);
    const std::string pdfText = readFile(file);
    ASSERT_TRUE(pdfText.starts_with("%PDF-1.3\n"));
    EXPECT_NE(pdfText.find("/Title()\n"), std::string::npos);
    EXPECT_NE(pdfText.find("/Author(A \\(b\\) \\\\c)\n"), std::string::npos);
    EXPECT_EQ(pdfText.find("/Subject"), std::string::npos);
    EXPECT_NE(pdfText.find("5 0 obj\n<<\n/Length 0\n>>\nstream\nendstream\n"), std::string::npos);
    EXPECT_NE(pdfText.find("/MediaBox[ 0 0 595.276 841.89 ]"), std::string::npos);

    // Every cross-reference entry is 20 bytes and points at its object.
    const size_t xref = pdfText.rfind("\nxref\n");
    ASSERT_NE(xref, std::string::npos);
    std::smatch header;
    const std::string tail = pdfText.substr(xref + 6);
    ASSERT_TRUE(std::regex_search(tail, header, std::regex("^0 (\\d+)\n")));
    const int count = std::stoi(header[1]);
    EXPECT_EQ(count, 8) << "info, pages, resources, form, content, page, catalog + entry 0";
    size_t entry = xref + 6 + header.length(0);
    EXPECT_EQ(pdfText.substr(entry, 20), "0000000000 65535 f\r\n");
    for (int n = 1; n < count; ++n) {
        entry += 20;
        const std::string line = pdfText.substr(entry, 20);
        ASSERT_EQ(line.substr(10), " 00000 n\r\n") << n;
        const size_t offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(pdfText.compare(offset, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0) << n;
    }
    EXPECT_NE(pdfText.find("/Size " + std::to_string(count)), std::string::npos);
    EXPECT_TRUE(std::regex_search(pdfText, std::regex("/ID\\[\\(([0-9a-f]{32})\\)\\(\\1\\)\\]")));
    EXPECT_TRUE(pdfText.ends_with("%%EOF\n"));
}

TEST(PdfDocument, FileNamesThatNameNoFileAreRefusedAndFoldersKept)
{
    TempDir dir;
    fs::create_directory(dir.file("empty.pdf"));
    fs::create_directory(dir.file("sub"));
    const struct { const char* name; std::string fileName; } cases[] = {
        {"a folder", dir.file("empty.pdf")},
        {"a folder with a slash", dir.file("empty.pdf") + "/"},
        {"no base name", dir.file("sub") + "/"},
        {"dot", dir.file(".")},
        {"dot dot", dir.file("sub/..")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PdfHandle h;
        h.setFile(c.fileName);
        EXPECT_EQ(pdf().BeginDoc(h), -1);
        EXPECT_EQ(lastError(), "Invalid property value: FileName");
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0);
    }
    EXPECT_TRUE(fs::is_directory(dir.file("empty.pdf")));
    EXPECT_TRUE(fs::is_directory(dir.file("sub")));
    EXPECT_FALSE(fs::exists(dir.file("sub/.pdf")));
    EXPECT_FALSE(fs::exists(dir.file(".pdf")));
}

TEST(PdfDocument, RelativeNamesAreWrittenInTheWorkingFolder)
{
    TempDir work;
    fs::create_directory(work.file("sub"));
    const fs::path programFolder = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path before = fs::current_path();
    fs::current_path(work.path());
    const struct { const char* fileName; const char* title; const char* written; } cases[] = {
        {"bare-name.pdf", "", "bare-name.pdf"},
        {"sub/inner", "", "sub/inner.pdf"},
        {"", "Titled book", "Titled book.pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        PdfHandle h;
        h.setFile(c.fileName);
        h.setStr(VUM_TITLE, c.title);
        EXPECT_EQ(pdf().BeginDoc(h), 0) << lastError();
        EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
        EXPECT_EQ(qpdfProblems(work.file(c.written)), "");
        EXPECT_FALSE(fs::exists(programFolder / fs::path(c.written).filename()));
    }
    fs::current_path(before);
}

TEST(PdfDocument, PageSizesOutsideWhatAPageMayMeasureAreRefused)
{
    // Points (unit 1) and tenths of a millimetre (unit 0): 3 to 14400 points.
    const struct { int32_t unit, id, value; bool taken; } cases[] = {
        {1, VUM_PAGE_WIDTH, -28, false},     {1, VUM_PAGE_HEIGHT, -1, false},
        {1, VUM_PAGE_WIDTH, 2, false},       {1, VUM_PAGE_WIDTH, 3, true},
        {1, VUM_PAGE_HEIGHT, 14400, true},   {1, VUM_PAGE_HEIGHT, 14401, false},
        {1, VUM_PAGE_WIDTH, INT32_MAX, false}, {1, VUM_PAGE_WIDTH, INT32_MIN, false},
        {0, VUM_PAGE_WIDTH, 50800, true},    {0, VUM_PAGE_WIDTH, 50801, false},
        {0, VUM_PAGE_HEIGHT, 10, false},     {0, VUM_PAGE_HEIGHT, 11, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.unit) + " " + std::to_string(c.id) + " " + std::to_string(c.value));
        TempDir dir;
        PdfHandle h;
        h.setFile(dir.file("size.pdf"));
        ASSERT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, c.unit), 0);
        const int32_t set = pdf().SetNumProp(h, c.id, c.value);
        const int32_t begun = set == 0 ? pdf().BeginDoc(h) : -1;
        EXPECT_EQ(set == 0 && begun == 0, c.taken) << lastError();
        if (!c.taken) {
            EXPECT_EQ(lastError(), std::string("Invalid property value: ") +
                                       (c.id == VUM_PAGE_WIDTH ? "PageWidth" : "PageHeight"));
        }
        pdf().EndDoc(h);
        if (c.taken) {
            EXPECT_EQ(qpdfProblems(dir.file("size.pdf")), "");
        }
    }
}

// A file-size limit stands in for a full disk.
TEST(PdfDocument, APageThatCannotBeWrittenEndsTheDocument)
{
    TempDir dir;
    PdfHandle h;
    const std::string file = dir.file("full.pdf");
    h.setFile(file);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(pdf().Rectangle(h, i, i, 1000 + i, 1000 + i), 0);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int32_t result = pdf().NewPage(h);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0) << "the document is aborted";
    EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
    EXPECT_FALSE(fs::exists(file)) << "its partial file is gone";
}
