// Grids through the C interface: placement, rows, cell texts read back by
// pdftotext, cell corners and the errors.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

namespace {

std::string layoutText(const std::string& file, int page)
{
    const ToolResult r = runTool({"pdftotext", "-layout", "-f", std::to_string(page), "-l", std::to_string(page),
                                  file, "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

} // namespace

TEST(PdfGrids, CellTextsComeOutInTheirRowsAndColumns)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "pdftotext"}));
    TempDir dir;
    const std::string file = dir.file("grid.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineGrid(h, "Prices", 2, 20), 0) << lastError();
        ASSERT_EQ(pdf().SetNumProp(h, VUM_BRUSH_COLOR, 0xEEEEEE), 0);
        ASSERT_EQ(pdf().DefineCol(h, "prices", 500, 0, 0, 0), 0) << lastError();
        ASSERT_EQ(pdf().SetNumProp(h, VUM_BRUSH_STYLE, 1), 0);
        ASSERT_EQ(pdf().DefineCol(h, "PRICES", 500, 1, 0, 0), 0);
        ASSERT_EQ(pdf().DefineCol(h, "Prices", 500, 2, 0, 1), 0);
        ASSERT_EQ(pdf().DefineCol(h, "Prices", 0, 0, 0, 0), 0); // the right edge
        ASSERT_EQ(pdf().DrawGrid(h, "Prices", 0, 200), 0) << lastError();
        const char* rows[][3] = {{"Apples", "12", "Red and green"},
                                 {"Pears", "7", "Yellow"},
                                 {"Plums", "30", "Dark blue ones from the south of the country"}};
        for (int r = 0; r < 3; ++r) {
            ASSERT_EQ(pdf().DrawRow(h, "Prices", 150), 0) << lastError();
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(pdf().TextToCell(h, "Prices", c, r, rows[r][c]), 0) << lastError();
        }
        ASSERT_EQ(pdf().DrawRow(h, "Prices", 0), 0); // the bottom edge
        EXPECT_EQ(pdf().CellX(h, "Prices", 0, 0, 0), 300) << "centred: (2100 - 1500) / 2";
        EXPECT_EQ(pdf().CellX(h, "Prices", 1, 2, 2), 1300);
        EXPECT_EQ(pdf().CellY(h, "Prices", 1, 1, 1), 350);
        EXPECT_EQ(pdf().CellY(h, "Prices", 0, 0, 2), 350);
        EXPECT_EQ(pdf().CellY(h, "Prices", 0, 3, 3), 650);
        const int32_t oneLine = pdf().CellTextHeight(h, "Prices", 0, "a long text that never wraps in this column");
        EXPECT_GT(oneLine, 40);
        EXPECT_GT(pdf().CellTextHeight(h, "Prices", 2, "a long text that wraps in this column"), 2 * (oneLine - 40));

        ASSERT_EQ(pdf().NewPage(h), 0);
        ASSERT_EQ(pdf().DrawRow(h, "Prices", 150), 0) << "rows go on at the top of a new page";
        EXPECT_EQ(pdf().CellY(h, "Prices", 0, 0, 0), 0);
        ASSERT_EQ(pdf().TextToCell(h, "Prices", 0, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string page1 = layoutText(file, 1);
    EXPECT_TRUE(std::regex_search(page1, std::regex("Apples +12 +Red and green"))) << page1;
    EXPECT_TRUE(std::regex_search(page1, std::regex("Pears +7 +Yellow"))) << page1;
    EXPECT_TRUE(std::regex_search(page1, std::regex("Plums +30 +Dark blue ones"))) << page1;
    EXPECT_TRUE(std::regex_search(page1, std::regex("\\n +south of the country"))) << "wrapped onto a second line\n"
                                                                             << page1;
    // A single-line cell keeps only what fits between its margins.
    const std::string page2 = layoutText(file, 2);
    EXPECT_TRUE(std::regex_search(page2, std::regex("ABCDEFGH"))) << page2;
    EXPECT_EQ(page2.find("0123456789"), std::string::npos) << page2;
}

TEST(PdfGrids, MistakesFailWithTheGridNameAndAbortTheDocument)
{
    struct Case {
        std::function<int32_t(int32_t)> call;
        const char* message;
    } cases[] = {
        {[](int32_t h) { return pdf().DefineCol(h, "nope", 100, 0, 0, 0); }, "Invalid Grid name: nope"},
        {[](int32_t h) { return pdf().DrawGrid(h, "empty", 0, 0); }, "Grid Cols not defined: empty"},
        {[](int32_t h) { return pdf().DrawRow(h, "g", 100); }, "Grid row out of page: g"},
        {[](int32_t h) {
             pdf().DefineGrid(h, "right", 1, 0);
             pdf().DefineCol(h, "right", 500, 0, 0, 0);
             return pdf().DrawGrid(h, "right", 400, 0);
         },
         "Grid too wide: right (500)"},
        {[](int32_t h) {
             pdf().DrawGrid(h, "g", 0, 2900);
             return pdf().DrawRow(h, "g", 100);
         },
         "Grid row out of page: g"},
        {[](int32_t h) {
             pdf().DrawGrid(h, "g", 0, 0);
             pdf().DrawRow(h, "g", 100);
             return pdf().TextToCell(h, "g", 0, 1, "x");
         },
         "Invalid cell: g(0,1)"},
        {[](int32_t h) {
             pdf().DrawGrid(h, "g", 0, 0);
             pdf().DrawRow(h, "g", 100);
             return pdf().CellY(h, "g", 0, 0, 4);
         },
         "Invalid corner: 4"},
        {[](int32_t h) { return pdf().CellTextHeight(h, "g", 2, "x"); }, "Invalid cell: g(2)"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.file("grid.pdf");
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineGrid(h, "g", 0, 0), 0);
        ASSERT_EQ(pdf().DefineCol(h, "g", 300, 0, 0, 0), 0);
        ASSERT_EQ(pdf().DefineGrid(h, "empty", 0, 0), 0);
        EXPECT_EQ(c.call(h), -1) << c.message;
        EXPECT_EQ(lastError(), c.message);
        EXPECT_FALSE(std::filesystem::exists(file)) << c.message;
    }
}
