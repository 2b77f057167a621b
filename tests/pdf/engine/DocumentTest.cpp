// Documents written through the C interface, checked by qpdf and pdfinfo.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

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
