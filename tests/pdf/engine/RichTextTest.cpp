// Rich text: what the reader makes of word processors' source, and pages
// written from it, read back by pdftotext.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "TestEnvironment.h"
#include "ToolRunner.h"

#include "engine/richtext/RtfDocument.h"
#include "engine/util/VumError.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

using namespace vum;

namespace {

std::string runsOf(const RtfDocument& doc)
{
    std::string out;
    for (const RtfParagraph& p : doc.Paragraphs) {
        for (const RtfRun& r : p.Runs)
            out += "[" + r.Text + (r.EndsWithTab ? "\\t" : "") + "]";
        out += "|";
    }
    return out;
}

std::string failureOf(const std::string& source)
{
    try {
        ReadRtf(source);
    } catch (const VumError& e) {
        return e.what();
    }
    return "no error";
}

// A word of a page as pdftotext -bbox places it, in points from the top
// left corner.
struct PlacedWord {
    std::string text;
    double left, top, right, bottom;
};

std::vector<PlacedWord> wordsOf(const std::string& file)
{
    const std::string html = runTool({"pdftotext", "-bbox", file, "-"}).out;
    static const std::regex word(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
    std::vector<PlacedWord> words;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({m[5], std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
    }
    return words;
}

// Tenths of a millimetre, the default length unit, in points.
double points(int32_t tenths)
{
    return tenths / 254.0 * 72.0;
}

} // namespace

TEST(RtfReader, RunsSplitWhereAttributesChange)
{
    const RtfDocument doc = ReadRtf(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\generator Tool 1.0;}\\pard\\qc Plain {\\b bold} {\\i\\cf1 red italic}\\cf2 blue\\par"
        "\\pard\\li720\\fi-360\\ri100\\tx2000\\f1\\fs28 left\\tab right\\par}");
    EXPECT_EQ(runsOf(doc), "[Plain ][bold][ ][red italic][blue]|[left\\t][right]|");
    ASSERT_EQ(doc.Paragraphs.size(), 2u);
    const auto& first = doc.Paragraphs[0];
    EXPECT_EQ(first.Format.Alignment, 2);
    EXPECT_TRUE(first.Runs[1].Char.Bold);
    EXPECT_TRUE(first.Runs[3].Char.Italic);
    EXPECT_EQ(first.Runs[3].Char.Color, 0x0000FFu);  // red as 0x00BBGGRR
    EXPECT_EQ(first.Runs[4].Char.Color, 0xFF0000u);
    EXPECT_FALSE(first.Runs[4].Char.Italic) << "the group's attributes end with it";
    const auto& second = doc.Paragraphs[1];
    EXPECT_EQ(second.Format.LeftIndent, 720);
    EXPECT_EQ(second.Format.FirstIndent, -360);
    EXPECT_EQ(second.Format.RightIndent, 100);
    EXPECT_EQ(second.Format.Tabs, std::vector<int32_t>{2000});
    EXPECT_EQ(second.Runs[0].Char.FontName, "Times New Roman");
    EXPECT_EQ(second.Runs[0].Char.FontSize, 14);
}

TEST(RtfReader, ChineseThroughTheFontsCodePageAndUnicode)
{
    // 中文 in GBK is D6 D0 CE C4; \u25991 is 文, with "?" as the skipped fallback.
    const RtfDocument doc = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "\\f0 \\'d6\\'d0\\'ce\\'c4 \\uc1\\u20013?\\u25991?\\par}");
    EXPECT_EQ(runsOf(doc), "[中文 中文]|");
    EXPECT_EQ(doc.Paragraphs[0].Runs[0].Char.FontName, "宋体");
    EXPECT_EQ(doc.Paragraphs[0].Runs[0].Char.Charset, 134);
}

TEST(RtfReader, BulletsAndSkippedDestinations)
{
    const RtfDocument doc = ReadRtf(
        "{\\rtf1\\ansi{\\info{\\title secret}}{\\header page head\\par}"
        "{\\pntext\\f0 \\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}item one\\par\\pard plain\\par"
        "{\\pict\\pngblip 89504e47}after}");
    EXPECT_EQ(runsOf(doc), "[item one]|[plain]|[after]|");
    EXPECT_TRUE(doc.Paragraphs[0].Format.Bullet);
    EXPECT_FALSE(doc.Paragraphs[1].Format.Bullet);
}

TEST(RtfReader, RefusesWhatIsNotRichTextAndEndlessNesting)
{
    EXPECT_EQ(failureOf("{\\rtf x}"), "File format not supported") << "no version number";
    EXPECT_EQ(failureOf("plain text"), "File format not supported");
    EXPECT_EQ(failureOf("{\\rtf1\\ansi" + std::string(100000, '{') + "x"), "Rich text nested too deeply");
    EXPECT_EQ(runsOf(ReadRtf("{\\rtf1\\ansi unclosed \\'")), "[unclosed ]|") << "a cut file keeps what it has";
}

// The header is "{\rtf" and a version number, ended by any delimiter, as
// word processors read it; anything else is a file name.
TEST(RtfReader, RecognisesTheHeaderAsRichTextReadersDo)
{
    struct Case {
        const char* text;
        bool rich;
    } cases[] = {
        {"{\\rtf1\\ansi x}", true},  {"{\\rtf1{\\fonttbl{\\f0 Arial;}}x}", true},
        {"{\\rtf1 \\ansi x}", true}, {"{\\rtf1 x}", true},
        {"{\\rtf12}", true},         {"{\\rtf1", true},
        {"{\\rtf x}", false},        {"{\\rtfx1}", false},
        {"{\\RTF1 x}", false},       {"notes.rtf", false},
        {" {\\rtf1 x}", false},      {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRtfSource(c.text), c.rich) << c.text;
    EXPECT_EQ(runsOf(ReadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par}")), "[Hello]|");
    EXPECT_EQ(runsOf(ReadRtf("{\\rtf1 \\ansi Hello}")), "[Hello]|");
}

TEST(RichText, HeadersWithAnyDelimiterAreDrawnAsRichText)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    TempDir dir;
    const std::string rtf = dir.file("brace.rtf");
    writeFile(rtf, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 From a file\\par}");
    const std::string file = dir.file("headers.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().WriteRichText(h, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Brace first\\par}", ""), 0) << lastError();
        ASSERT_EQ(pdf().WriteRichText(h, "{\\rtf1 \\ansi Blank first\\par}", ""), 0) << lastError();
        ASSERT_EQ(pdf().DrawRichTextFromFile(h, 100, 1000, 1500, 0, rtf.c_str()), 1) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string text = runTool({"pdftotext", file, "-"}).out;
    for (const char* shown : {"Brace first", "Blank first", "From a file"})
        EXPECT_NE(text.find(shown), std::string::npos) << text;
    for (const char* markup : {"rtf1", "fonttbl", "ansi"})
        EXPECT_EQ(text.find(markup), std::string::npos) << "markup drawn as text:\n" << text;
}

// Content that does not fit the rectangle, however it fails to fit, is 0
// with CurrentY unchanged and nothing drawn; the document goes on.
TEST(RichText, DrawFromFileThatDoesNotFitKeepsTheDocument)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    std::string thousand, many;
    for (int i = 0; i < 1000; ++i)
        thousand += "\\par ";
    for (int i = 0; i < 200000; ++i)
        many += "\\par";
    struct Case {
        const char* what;
        std::string body;
    } cases[] = {
        {"a letter higher than the rectangle", "\\fs99999 W"},
        {"a first line indented beyond the rectangle", "\\fi100000 x"},
        {"indents that leave no width", "\\li100000\\ri100000 x"},
        {"a thousand empty paragraphs, then text", thousand + "x"},
        {"only empty paragraphs, far more than fit", many},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string rtf = dir.file("big.rtf");
        writeFile(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + c.body + "}");
        const std::string file = dir.file("kept.pdf");
        {
            PdfHandle h;
            h.setFile(file);
            ASSERT_EQ(pdf().BeginDoc(h), 0);
            ASSERT_EQ(pdf().TextOut(h, 100, 100, "Before"), 0);
            ASSERT_EQ(pdf().SetNumProp(h, VUM_CURRENT_Y, 777), 0);
            EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 300, 1500, 900, rtf.c_str()), 0) << lastError();
            EXPECT_EQ(lastError(), "");
            EXPECT_EQ(pdf().GetNumProp(h, VUM_CURRENT_Y), 777);
            ASSERT_EQ(pdf().TextOut(h, 100, 1000, "After"), 0) << lastError();
            ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        }
        EXPECT_EQ(qpdfProblems(file), "");
        const std::string text = runTool({"pdftotext", file, "-"}).out;
        EXPECT_NE(text.find("Before"), std::string::npos) << text;
        EXPECT_NE(text.find("After"), std::string::npos) << text;
        EXPECT_EQ(text.find_first_of("Wx"), std::string::npos) << "nothing of it drawn:\n" << text;
    }
}

// Empty paragraphs take their line like any other: in a rectangle they count
// towards what fits, and flowing text moves them to new pages.
TEST(RichText, EmptyParagraphsTakeTheirLines)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "pdfinfo", "qpdf"}));
    TempDir dir;
    const std::string rtf = dir.file("gaps.rtf");
    writeFile(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 top\\par\\par\\par\\par\\par bottom\\par}");
    std::string emptyLines;
    for (int i = 0; i < 400; ++i)
        emptyLines += "\\par ";
    const std::string file = dir.file("gaps.pdf");
    int32_t lineHeight = 0;
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().SetNumProp(h, VUM_FONT_SIZE, 10), 0);
        lineHeight = pdf().TextHeight(h, "A");
        // Six lines: "top", four empty ones, "bottom".
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 100 + 5 * lineHeight, rtf.c_str()), 0);
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 100 + 8 * lineHeight, rtf.c_str()), 1) << lastError();
        EXPECT_GE(pdf().GetNumProp(h, VUM_CURRENT_Y), 100 + 6 * lineHeight);
        ASSERT_EQ(pdf().NewPage(h), 0);
        ASSERT_EQ(pdf().WriteRichText(h, ("{\\rtf1\\ansi\\fs20 first\\par " + emptyLines + "end\\par}").c_str(), ""), 0)
            << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const int pages = std::stoi(pdfInfoField(file, "Pages"));
    // 400 lines of 10 points need about 4,000 points: five A4 pages or more.
    EXPECT_GE(pages, 6) << "empty paragraphs feed pages";
    EXPECT_NE(runTool({"pdftotext", "-f", std::to_string(pages), "-l", std::to_string(pages), file, "-"})
                  .out.find("end"),
              std::string::npos);
}

// Rich text that no page has room for (indents beyond the paper) is refused
// with the margins' message; what was written before stays.
TEST(RichText, WrittenTextWithNoRoomOnThePaperIsRefused)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    TempDir dir;
    const std::string file = dir.file("margins.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().WriteRichText(h, "{\\rtf1\\ansi fits\\par}", ""), 0) << lastError();
        for (const char* rtf : {"{\\rtf1\\ansi\\li100000\\ri100000 off the paper\\par}",
                                "{\\rtf1\\ansi\\fi100000 off the paper\\par}"}) {
            EXPECT_EQ(pdf().WriteRichText(h, rtf, ""), -1) << rtf;
            EXPECT_EQ(lastError(), "Invalid style sheet margins: no space left on paper sheet");
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string text = runTool({"pdftotext", file, "-"}).out;
    EXPECT_NE(text.find("fits"), std::string::npos) << text;
    EXPECT_EQ(text.find("paper"), std::string::npos) << text;
}

TEST(RichText, WrittenRunsComeBackInOrderThroughTheLibrary)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    TempDir dir;
    const std::string file = dir.file("rich.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().WriteRichText(h,
                                      "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                                      "{\\colortbl;\\red200\\green0\\blue0;}"
                                      "\\f0 First {\\b bold} and {\\cf1 red} words.\\par"
                                      "\\f1 \\'d6\\'d0\\'ce\\'c4 \\u25991?\\par}",
                                      ""),
                  0)
            << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string text = runTool({"pdftotext", file, "-"}).out;
    EXPECT_NE(text.find("First bold and red words."), std::string::npos) << text;
    EXPECT_NE(text.find("中文 文"), std::string::npos) << text;
}

TEST(RichText, DrawFromFileFitsOrDrawsNothing)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext"}));
    TempDir dir;
    const std::string rtf = dir.file("note.rtf");
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "Line " + std::to_string(i) + " of the note.\\par ";
    writeFile(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + body + "}");
    const std::string file = dir.file("drawn.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 400, rtf.c_str()), 0) << "too long for 3 cm";
        EXPECT_EQ(pdf().GetNumProp(h, VUM_CURRENT_Y), 0) << "CurrentY unchanged";
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 0, rtf.c_str()), 1) << lastError();
        EXPECT_GT(pdf().GetNumProp(h, VUM_CURRENT_Y), 1000) << "below the text";
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    const std::string text = runTool({"pdftotext", file, "-"}).out;
    EXPECT_NE(text.find("Line 39 of the note."), std::string::npos) << text;
    const size_t first = text.find("Line 0 of the note.");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find("Line 0 of the note.", first + 1), std::string::npos)
        << "the text that did not fit left nothing behind";

    PdfHandle h;
    h.setFile(dir.file("missing.pdf"));
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 0, dir.file("missing.rtf").c_str()), -1);
    EXPECT_NE(lastError().find("File not found"), std::string::npos);
}

TEST(RichText, WordProcessorFileKeepsItsRunsAndColours)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "pdffonts", "qpdf"}));
    TempDir dir;
    const std::string file = dir.file("letter.pdf");
    const std::string rtf = testenv::dataDir() + "/richtext/letter.rtf";
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().WriteRichText(h, rtf.c_str(), ""), 0) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string text = runTool({"pdftotext", "-layout", file, "-"}).out;
    const char* const lines[] = {"Photo report", "Plain text, bold text, italic text and red text.",
                                 "Green bold closes the line.", "图片批处理报告"};
    size_t at = 0;
    for (const char* line : lines) {
        const size_t found = text.find(line, at);
        ASSERT_NE(found, std::string::npos) << line << " in order in\n" << text;
        at = found;
    }
    const std::string fonts = runTool({"pdffonts", file}).out;
    EXPECT_NE(fonts.find("Bold"), std::string::npos) << fonts;
    EXPECT_TRUE(fonts.find("Italic") != std::string::npos || fonts.find("Oblique") != std::string::npos) << fonts;
    const std::string raw = readFile(file);
    EXPECT_NE(raw.find("0.753 0 0 rg"), std::string::npos) << "the red run (192, 0, 0)";
    EXPECT_NE(raw.find("0 0.502 0 rg"), std::string::npos) << "the green run (0, 128, 0)";
}

TEST(RichText, TextTakenBackLeavesNoBookmarks)
{
    TempDir dir;
    const std::string rtf = dir.file("long.rtf");
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "Line " + std::to_string(i) + "\\par ";
    writeFile(rtf, "{\\rtf1\\ansi " + body + "}");
    const std::string file = dir.file("marks.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineStyle(h, "marked", "BookmarkLevel", "1"), 0) << lastError();
        h.setStr(VUM_CURRENT_STYLE_NAME, "marked");
        EXPECT_EQ(pdf().DrawRichTextFromFile(h, 100, 100, 1500, 400, rtf.c_str()), 0);
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(readFile(file).find("/Outlines"), std::string::npos);
    EXPECT_EQ(qpdfProblems(file), "");
}

// Negative indents pull text out of its column: the first line, the other
// lines and the right edge are held at the rectangle (DrawRichTextFromFile)
// or the margins of the text's style (WriteRichText), as positive indents
// beyond the column are refused rather than drawn outside it.
TEST(RichText, NegativeIndentsStayInsideTheRectangleAndTheMargins)
{
    ASSERT_TRUE(toolsInstalled({"pdftotext", "qpdf"}));
    const std::string words = "several words that are sure to wrap onto a second line of the column";
    struct Case {
        const char* what;
        const char* indents;
        const char* text;
    } cases[] = {
        {"a left indent far beyond the paper", "\\li-90000", "neg left"},
        {"a left indent into the margin", "\\li-1000", "neg left"},
        {"a hanging first line under a left indent", "\\li300\\fi-1000", "hanging"},
        {"a first line and a left indent both negative", "\\li-500\\fi-500", "both"},
        {"a negative left indent under an indented first line", "\\li-1000\\fi3000", "deep"},
        {"a negative right indent", "\\ri-3000", "wide"},
        {"right aligned with a negative right indent", "\\qr\\ri-3000", "right"},
        {"centred with negative indents", "\\qc\\li-4000\\ri-4000", "centre"},
    };
    TempDir dir;
    const int32_t x1 = 100, y1 = 300, x2 = 2000, y2 = 2800;
    const int32_t margin = 250;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Enough words to wrap, so that the lines after the first are seen too.
        const std::string source = std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20") + c.indents + " " +
                                   c.text + " " + words + " " + words + "\\par}";
        const std::string rtf = dir.file("indent.rtf");
        writeFile(rtf, source);
        const std::string drawn = dir.file("drawn.pdf"), written = dir.file("written.pdf");
        {
            PdfHandle h;
            h.setFile(drawn);
            ASSERT_EQ(pdf().BeginDoc(h), 0);
            EXPECT_EQ(pdf().DrawRichTextFromFile(h, x1, y1, x2, y2, rtf.c_str()), 1) << lastError();
            ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        }
        {
            PdfHandle h;
            h.setFile(written);
            ASSERT_EQ(pdf().BeginDoc(h), 0);
            ASSERT_EQ(pdf().DefineStyle(h, "body", "LeftMargin", std::to_string(margin).c_str()), 0);
            ASSERT_EQ(pdf().DefineStyle(h, "body", "RightMargin", std::to_string(margin).c_str()), 0);
            EXPECT_EQ(pdf().WriteRichText(h, source.c_str(), "body"), 0) << lastError();
            ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
        }
        EXPECT_EQ(qpdfProblems(drawn), "");
        EXPECT_EQ(qpdfProblems(written), "");
        // Glyph boxes may reach a little beyond the advance widths.
        const double slack = 1.0;
        const double pageWidth = points(2100), pageHeight = points(2970);
        const struct {
            const char* file;
            std::string path;
            double left, top, right, bottom;
        } outputs[] = {{"drawn", drawn, points(x1), points(y1), points(x2), points(y2)},
                       {"written", written, points(margin), 0, pageWidth - points(margin), pageHeight}};
        for (const auto& out : outputs) {
            const std::vector<PlacedWord> placed = wordsOf(out.path);
            std::string shown;
            for (const PlacedWord& w : placed) {
                shown += w.text + " ";
                EXPECT_GE(w.left, out.left - slack) << out.file << ": " << w.text;
                EXPECT_LE(w.right, out.right + slack) << out.file << ": " << w.text;
                EXPECT_GE(w.top, out.top - slack) << out.file << ": " << w.text;
                EXPECT_LE(w.bottom, out.bottom + slack) << out.file << ": " << w.text;
            }
            EXPECT_NE(shown.find(c.text), std::string::npos) << out.file << ": " << shown;
            const size_t last = shown.rfind("column");
            EXPECT_NE(shown.rfind("column", last - 1), std::string::npos) << out.file << ", all of it: " << shown;
        }
    }
}

// Rich text beyond what the reader takes is refused with the limit it
// passed, through the message function; the file itself opened fine.
TEST(RichText, RefusalsOfTheReadersLimitsNameTheLimit)
{
    std::string deep = "{\\rtf1\\ansi " + std::string(300, '{') + "x" + std::string(300, '}') + "}";
    std::string many = "{\\rtf1\\ansi ";
    for (int i = 0; i < 1'000'001; ++i)
        many += "{}";
    many += "x}";
    struct Case {
        const char* what;
        std::string source;
        const char* message;
    } cases[] = {
        {"groups inside groups", deep, "Rich text nested too deeply"},
        {"a million groups and more", many, "Rich text has too many groups"},
    };
    TempDir dir;
    const std::string rtf = dir.file("limits.rtf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(rtf, c.source);
        const std::string withFile = std::string(c.message) + ": " + rtf;
        const std::vector<std::pair<std::function<int32_t(int32_t)>, std::string>> calls = {
            {[&](int32_t h) { return pdf().DrawRichTextFromFile(h, 100, 100, 1500, 0, rtf.c_str()); }, withFile},
            {[&](int32_t h) { return pdf().WriteRichText(h, rtf.c_str(), ""); }, withFile},
            {[&](int32_t h) { return pdf().WriteRichText(h, c.source.c_str(), ""); }, c.message},
        };
        for (const auto& [call, message] : calls) {
            PdfHandle h;
            h.setFile(dir.file("limits.pdf"));
            ASSERT_EQ(pdf().BeginDoc(h), 0);
            EXPECT_EQ(call(h), -1);
            EXPECT_EQ(lastError(), message);
        }
    }
}
