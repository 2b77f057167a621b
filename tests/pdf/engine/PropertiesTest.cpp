// Numeric and string properties: defaults, stored values, checks, messages.
#include "PdfApi.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(PdfProperties, NumericDefaultsBeforeAnyDocument)
{
    PdfHandle h;
    const struct { int32_t id; int32_t value; } defaults[] = {
        {VUM_ABORTED, 0}, {VUM_BRUSH_COLOR, 0xFFFFFF}, {VUM_EMBED_FONTS, 0}, {VUM_FONT_SIZE, 10},
        {VUM_IMAGE_COMPRESS_MODE, 2}, {VUM_LENGTH_UNIT, 0}, {VUM_ORIENTATION, 0},
        {VUM_PAGE_WIDTH, 2100}, {VUM_PAGE_HEIGHT, 2970}, {VUM_PAGE_NUMBER, 0}, {VUM_PEN_COLOR, 0},
        {VUM_PEN_WIDTH, 1}, {VUM_PRINTING, 0}, {VUM_JPEG_QUALITY, 90}, {VUM_SMART_STRETCH_DRAW, 1},
        {VUM_FONT_CHARSET, 1}, {VUM_METAFILE_RESOLUTION, 600}, {VUM_IMAGE_HORZ_ALIGN, 2},
        {VUM_IMAGE_VERT_ALIGN, 2}, {VUM_BULLET_NUMBER, 1}, {VUM_ENABLE_OUTPUT, 1},
        {VUM_SECTION_NUMBER, 1}, {VUM_PAGE_COUNT, 0}, {VUM_WANT_PAGE_COUNT, 0},
    };
    for (const auto& d : defaults)
        EXPECT_EQ(pdf().GetNumProp(h, d.id), d.value) << "id " << d.id;
}

TEST(PdfProperties, NumericValuesReadBackAsStored)
{
    PdfHandle h;
    const struct { int32_t id; int32_t set; int32_t get; } cases[] = {
        {VUM_WANT_SHOW, -1, 255},          // a Boolean keeps its low byte
        {VUM_FONT_BOLD, -1, 1},            // a style flag reads 0 or 1
        {VUM_FONT_UNDERLINE, 0x100, 0},    // only the low byte counts
        {VUM_METAFILE_RESOLUTION, 70000, 4464},
        {VUM_PEN_COLOR, static_cast<int32_t>(0x80000005u), 0xFFFFFF}, // system colour "window" resolved to RGB
        {VUM_BRUSH_COLOR, 0x123456, 0x123456},
        {VUM_FONT_DEGREE_ANGLE, 90, 90},
        {VUM_CHARACTER_SPACING, 5, 5},
        {VUM_JPEG_QUALITY, 1, 1},
        {VUM_IMAGE_COMPRESS_MODE, 0x101, 1},
        {VUM_PAGE_WIDTH, 1000, 1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pdf().SetNumProp(h, c.id, c.set), 0) << "id " << c.id << ": " << lastError();
        EXPECT_EQ(pdf().GetNumProp(h, c.id), c.get) << "id " << c.id;
    }
    EXPECT_EQ(h.str(VUM_PAPER_SIZE_NAME), "Custom");
}

TEST(PdfProperties, NumericRefusals)
{
    PdfHandle h;
    const struct { int32_t id; int32_t value; const char* message; } cases[] = {
        {19, 0, "Bad numeric property ID: 19"},
        {61, 0, "Bad numeric property ID: 61"},
        {VUM_ABORTED, 1, "Bad numeric property ID: 20"},
        {VUM_PAGE_NUMBER, 1, "Bad numeric property ID: 35"},
        {VUM_PEN_POS_X, 1, "Bad numeric property ID: 40"},
        {VUM_PRINTING, 1, "Bad numeric property ID: 42"},
        {VUM_PAGE_COUNT, 1, "Bad numeric property ID: 58"},
        {VUM_JPEG_QUALITY, 0, "Invalid value for property: JpegQuality"},
        {VUM_JPEG_QUALITY, 101, "Invalid value for property: JpegQuality"},
        {VUM_IMAGE_COMPRESS_MODE, 3, "Invalid property value: ImageCompressMode"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pdf().SetNumProp(h, c.id, c.value), -1) << "id " << c.id;
        EXPECT_EQ(lastError(), c.message);
    }
    EXPECT_EQ(pdf().GetNumProp(h, 61), -1);
    EXPECT_EQ(lastError(), "Bad numeric property ID: 61");
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_NUMBER), 0) << "get-only ids can be read";
}

TEST(PdfProperties, StringValues)
{
    PdfHandle h;
    EXPECT_EQ(h.str(VUM_FONT_NAME), "Arial");
    EXPECT_EQ(h.str(VUM_NON_EMBEDDED_FONTS), "Arial;Courier New;Symbol;Times New Roman");
    h.setStr(VUM_NON_EMBEDDED_FONTS, "");
    EXPECT_EQ(h.str(VUM_NON_EMBEDDED_FONTS), "");
    h.setStr(VUM_NON_EMBEDDED_FONTS, "A;B;");
    EXPECT_EQ(h.str(VUM_NON_EMBEDDED_FONTS), "A;B");
    const std::string temp = h.str(VUM_TEMP_FOLDER);
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
    h.setStr(VUM_TITLE, "标题 ü");
    EXPECT_EQ(h.str(VUM_TITLE), "标题 ü");
    char buffer[256];
    EXPECT_EQ(pdf().GetStrProp(h, 21, buffer), -1);
    EXPECT_EQ(lastError(), "Bad string property ID: 21");
    EXPECT_EQ(pdf().SetStrProp(h, 9, "x"), -1);
    EXPECT_EQ(lastError(), "Bad string property ID: 9");
    EXPECT_EQ(pdf().SetStrProp(h, VUM_CURRENT_STYLE_NAME, "Heading"), -1);
    EXPECT_EQ(lastError(), "Invalid style name: Heading");
}

TEST(PdfProperties, PaperSizesAndUnits)
{
    PdfHandle h;
    EXPECT_EQ(h.str(VUM_PAPER_SIZE_NAME), "A4");
    ASSERT_EQ(pdf().SetNumProp(h, VUM_ORIENTATION, 1), 0);
    h.setStr(VUM_PAPER_SIZE_NAME, "a4");
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_WIDTH), 2970);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_HEIGHT), 2100);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_ORIENTATION, 0), 0);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_LENGTH_UNIT, 1), 0);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_WIDTH), 595);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_HEIGHT), 842);
    h.setStr(VUM_PAPER_SIZE_NAME, "letter");
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PAGE_WIDTH), 612);
    EXPECT_EQ(pdf().SetStrProp(h, VUM_PAPER_SIZE_NAME, "Custom"), -1);
    EXPECT_EQ(lastError(), "Invalid property value: PaperSizeName");
}

TEST(PdfProperties, PageAndDocumentSettingsAreFrozenWhileADocumentIsOpen)
{
    TempDir dir;
    const struct { int32_t id; bool numeric; const char* message; } cases[] = {
        {VUM_PAGE_WIDTH, true, "Can't modify property when active: PageWidth (use NewSection method)"},
        {VUM_ORIENTATION, true, "Can't modify property when active: Orientation (use NewSection method)"},
        {VUM_LENGTH_UNIT, true, "Can't modify property when active: LengthUnit"},
        {VUM_ENABLE_OUTPUT, true, "Can't modify property when active: EnableOutput"},
        {VUM_TITLE, false, "Can't modify property when active: Title"},
        {VUM_PAPER_SIZE_NAME, false, "Can't modify property when active: PaperSizeName (use NewSection method)"},
    };
    for (const auto& c : cases) {
        PdfHandle h;
        const std::string file = dir.file("frozen.pdf");
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
        const int32_t result = c.numeric ? pdf().SetNumProp(h, c.id, 1) : pdf().SetStrProp(h, c.id, "A5");
        EXPECT_EQ(result, -1);
        EXPECT_EQ(lastError(), c.message);
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0) << "the document was aborted";
        EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}
