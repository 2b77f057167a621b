// The display list: its bytes, a counted document written the same as in one
// pass, and replays of broken lists that must leave no file behind.
#include "engine/canvas/VumCanvas.h"
#include "engine/document/PdfVum.h"
#include "engine/grids/VumGrid.h"
#include "engine/paragraph/CanvasText.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/paragraph/Paragraphs.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/richtext/RichText.h"
#include "engine/util/Clock.h"
#include "engine/util/VumError.h"

#include "PdfFiles.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace vum;

namespace {

// The expected bytes of a list, written out by hand.
struct Bytes {
    std::string s;
    Bytes& op(int v) { return b(v); }
    Bytes& b(int v)
    {
        s += static_cast<char>(v);
        return *this;
    }
    Bytes& i32(int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& str(const std::string& t)
    {
        s += t;
        s += '\0';
        return *this;
    }
    Bytes& raw(std::initializer_list<int> bytes)
    {
        for (int v : bytes)
            b(v);
        return *this;
    }
};

std::string errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const VumError& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(DisplayList, OperandEncodings)
{
    TPdfVum doc;
    TCustomVumDocument list(doc);
    list.WriteInteger(-2);
    list.WritePoints({{1, 2}, {3, -4}});
    list.WriteString("ab");
    list.WriteString("");
    list.WriteRect({5, 6, 7, 8});
    Bytes expected;
    expected.raw({0xFE, 0xFF, 0xFF, 0xFF}).i32(2).i32(1).i32(2).i32(3).i32(-4).str("ab").str("").i32(5).i32(6)
        .i32(7).i32(8);
    EXPECT_EQ(list.List(), expected.s);
    EXPECT_EQ(list.ReadInteger(), -2);
    const std::vector<TPoint> points = list.ReadPoints();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].Y, -4);
    EXPECT_EQ(list.ReadString(), "ab");
    EXPECT_EQ(list.ReadString(), "");
    EXPECT_EQ(list.ReadRect(), (TRect{5, 6, 7, 8}));
    EXPECT_TRUE(list.AtEnd());
    EXPECT_NE(errorOf([&] { list.ReadByte(); }), "") << "reading past the end";
}

TEST(DisplayList, VariantsByTypeCode)
{
    struct Case {
        RecordVariant value;
        std::string bytes;
    };
    auto variant = [](int32_t type, int64_t integer, double real, const char* text, bool boolean) {
        RecordVariant v;
        v.Type = type;
        v.Integer = integer;
        v.Real = real;
        v.Text = text;
        v.Boolean = boolean;
        return v;
    };
    const Case cases[] = {
        {variant(vtSmallInt, -1, 0, "", false), Bytes().i32(2).i32(-1).s},
        {variant(vtInteger, 70000, 0, "", false), Bytes().i32(3).i32(70000).s},
        {variant(vtDate, 0, 1.5, "", false), Bytes().i32(7).raw({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}).s},
        {variant(vtDouble, 0, -2.0, "", false), Bytes().i32(5).raw({0, 0, 0, 0, 0, 0, 0, 0xC0}).s},
        {variant(vtOleText, 0, 0, "x", false), Bytes().i32(8).str("x").s},
        {variant(vtText, 0, 0, "Bob & (Alice)", false), Bytes().i32(256).str("Bob & (Alice)").s},
        {variant(vtBoolean, 0, 0, "", true), Bytes().i32(11).b(1).s},
    };
    TPdfVum doc;
    for (const auto& c : cases) {
        TCustomVumDocument list(doc);
        list.WriteVariant(c.value);
        EXPECT_EQ(list.List(), c.bytes) << "type " << c.value.Type;
        const RecordVariant back = list.ReadVariant();
        EXPECT_EQ(back.Type, c.value.Type);
        EXPECT_EQ(back.Integer, c.value.Integer);
        EXPECT_EQ(back.Real, c.value.Real);
        EXPECT_EQ(back.Text, c.value.Text);
        EXPECT_EQ(back.Boolean, c.value.Boolean);
    }
    TCustomVumDocument list(doc);
    EXPECT_EQ(errorOf([&] { list.WriteVariant({9, 0, 0, "", false}); }),
              "Internal error: TCustomVumDocument.WriteVariant [9]");
    list.Load(Bytes().i32(9).i32(0).s);
    EXPECT_EQ(errorOf([&] { list.ReadVariant(); }), "Internal error: TCustomVumDocument.ReadVariant 9");
}

// A document recorded in one pass: the reset prelude, the start records,
// text with its font changes only where the font changed, a shape with its
// pen, a field property as a variant, a page, the end.
TEST(DisplayList, DocumentRecordsAreByteExact)
{
    TempDir dir;
    TPdfVum doc;
    TCustomVumCanvas& canvas = doc.Canvas();
    doc.SetFileName(dir.file("list.pdf"));
    doc.CreateRecorder();
    DefineStyle(canvas, "Body", "FontSize", "14");
    doc.BeginDoc();
    canvas.TextOut(10, 20, "Hi");
    canvas.TextOut(10, 40, "Yo");
    canvas.Font.Size = 12;
    canvas.Font.Style = fsItalic;
    canvas.TextOut(1, 2, "Z");
    canvas.Pen.Width = 3;
    canvas.Rectangle(7, 8, 5, 6);
    canvas.Ellipse(7, 8, 5, 6);
    canvas.DefineField("f", 1, "Name", "", "");
    canvas.SetFieldProp("f", 7, false, 20, "");
    doc.NewSection(1, true);
    doc.EndDoc();

    Bytes e;
    e.op(26).b(2).op(27).i32(90).op(28).b(1).op(29).i32(0).op(30).i32(0).op(31).i32(600).op(32).b(0).op(33).b(2)
        .op(34).b(2);
    e.op(0).str("").str("Arial\r\nCourier New\r\nSymbol\r\nTimes New Roman\r\n").str("").str("").str("").str("")
        .b(0).b(0).b(0);
    e.op(51).str("Body").str("FontSize=14\r\n").op(52);
    e.op(1).b(0);
    e.op(25).i32(10).i32(20).str("Hi");
    e.op(25).i32(10).i32(40).str("Yo");
    e.op(40).b(0).b(1).b(0).b(0).op(39).i32(12).op(25).i32(1).i32(2).str("Z");
    e.op(45).i32(3).op(22).i32(7).i32(8).i32(5).i32(6);
    e.op(13).i32(5).i32(6).i32(7).i32(8);
    e.op(46).b(1).str("f").str("Name").str("").str("");
    e.op(48).str("f").b(7).i32(3).i32(20);
    // The landscape page: the portrait page's sides exchanged.
    e.op(3).b(1).i32(doc.PageHeight()).i32(doc.PageWidth()).b(0).b(1).str("");
    e.op(2);
    ASSERT_NE(doc.Recorder(), nullptr);
    EXPECT_EQ(doc.Recorder()->List(), e.s);
}

namespace {

// Draws with every kind of record a caller can make, over three pages of
// two sections, with odd page counters only (their text is the same in
// both passes).
void drawSample(TPdfVum& doc, const std::string& picture)
{
    TCustomVumCanvas& c = doc.Canvas();
    DefineStyle(c, "Body", "FontSize", "11");
    DefineStyle(c, "Body", "BottomMargin", "300");
    doc.SetPageNumberFormat(6, 0);
    doc.BeginDoc();
    c.Font.Name = "Courier New";
    c.TextOut(100, 100, "Courier line");
    c.Font.Color = 0x0000FF;
    c.Font.Style = fsBold | fsUnderline;
    c.SetCharacterSpacing(3);
    c.TextOut(100, 200, "Bold red spaced");
    c.SetCharacterSpacing(0);
    c.SetFontDegreeAngle(30);
    c.TextOut(300, 400, "Turned");
    c.SetFontDegreeAngle(0);
    c.SetColorEx(0, 3, 50, 0, 0, 50);
    c.Pen.Width = 4;
    c.Pen.Style = 1;
    c.Rectangle(100, 500, 400, 700);
    c.Ellipse(500, 500, 700, 650);
    c.Arc(100, 800, 300, 1000, 300, 900, 100, 900);
    c.Pie(400, 800, 600, 1000, 600, 900, 400, 900);
    c.Chord(700, 800, 900, 1000, 900, 900, 700, 900);
    c.RoundRect(100, 1100, 400, 1300, 40, 40);
    c.RoundRect(500, 1100, 500, 1300, 40, 40);
    c.Brush.Color = 0x00FF00;
    c.FillRect({100, 1400, 300, 1500});
    c.FrameRect({400, 1400, 600, 1500});
    c.Polygon({{100, 1600}, {200, 1700}, {50, 1700}});
    c.Polyline({{300, 1600}, {400, 1700}, {500, 1600}});
    c.MoveTo(600, 1600);
    c.PolyBezierTo({{650, 1550}, {700, 1650}, {750, 1600}});
    c.LineTo(800, 1700);
    c.SetImageHorzAlign(0);
    c.StretchDrawFromFile({100, 1800, 500, 2200}, picture);
    c.DefineField("name", 1, "Your name", "Full name", "Body");
    c.SetFieldProp("name", 20, true, 0, "Bob");
    c.SetFieldProp("name", 7, false, 20, "");
    c.SetAction("name", 1, 1, "https://example.org/");
    c.PutField("name", 100, 2300, 0, 0);
    c.SetLink(100, 2400, 600, 2450, "target");
    c.SetLink(700, 2400, 900, 2450, "https://example.org/");
    c.SetBookmark(100, 100, "First", 1, true);
    c.SetBookmark(100, 200, "Inner", 2, false);
    c.Annotation(1000, 100, "{Title}Note text", 3);
    c.RubberStamp(1000, 300, 1500, 500, "Stamped", 4);
    DefineGrid(c, "grid", 0, 10);
    DefineCol(c, "grid", 300, 0, 0, false);
    DefineCol(c, "grid", 300, 2, 0, true);
    DrawGrid(c, "grid", 100, 2500);
    DrawRow(c, "grid", 80);
    TextToCell(c, "grid", 0, 0, "cell one");
    TextToCell(c, "grid", 1, 0, "cell two");
    c.SetLineSpacing(20);
    doc.NewSection(1, true);
    c.DefineName(100, 150, "target");
    c.SetBookmark(100, 150, "Second", 1, true);
    c.StretchDrawFromFile({100, 100, 300, 300}, picture);
    c.Font = TVumFont{};
    SelectStyle(c, "Body");
    for (int i = 0; i < 90; ++i)
        WritePara(c, "A paragraph long enough to need more than one line on a page in landscape, number " +
                         std::to_string(i) + ".", "Body");
    WriteRichText(c, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs28 Rich {\\b bold} and {\\i italic} "
                     "words\\par\\qc centred\\par}", "Body");
    c.Font.Size = 9;
    CanvasDrawPageCounter(c, 100, 1900, 0, 2, "Page ", 1, ", section page ", 3, "");
    doc.EndDoc();
}

} // namespace

// The second pass of a counted document is the one-pass document itself:
// the same file, byte for byte, when no total is printed.
TEST(DisplayList, CountedDocumentEqualsTheOnePassOne)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf"}));
    TempDir dir;
    const std::string picture = dir.file("pic.png");
    ASSERT_EQ(runTool({"convert", "-size", "40x30", "gradient:red-blue", picture}).exitCode, 0);
    SetClock([] { return std::chrono::system_clock::time_point(std::chrono::seconds(1700000000)); });
    const std::string file = dir.file("same.pdf");
    std::string written[2];
    for (int counted = 0; counted < 2; ++counted) {
        TPdfVum doc;
        doc.SetFileName(file);
        doc.SetWantPageCount(static_cast<uint8_t>(counted));
        drawSample(doc, picture);
        EXPECT_EQ(qpdfProblems(file), "");
        // The file identifier is new for every document made.
        written[counted] = readFile(file);
        const size_t id = written[counted].find("/ID[");
        ASSERT_NE(id, std::string::npos);
        written[counted].erase(id, written[counted].find(']', id) - id);
        ASSERT_FALSE(written[counted].empty());
        std::filesystem::remove(file);
    }
    SetClock({});
    if (const char* keep = std::getenv("RECORDER_TEST_KEEP")) {
        writeFile(std::string(keep) + "/one-pass.pdf", written[0]);
        writeFile(std::string(keep) + "/counted.pdf", written[1]);
    }
    EXPECT_TRUE(written[0] == written[1]) << "the counted document differs from the one-pass one";
}

// Lists a replay cannot finish: the error reaches the caller, the document
// is closed and its partial file deleted; the list is not freed under the
// run by the abort that the error makes.
TEST(DisplayList, BrokenListsLeaveNoFile)
{
    const Bytes start = Bytes().op(1).b(0);
    const struct {
        const char* what;
        std::string list;
        const char* error;
    } cases[] = {
        {"polygon of one point", Bytes(start).op(20).i32(1).i32(5).i32(5).op(2).s,
         "Bad parameters for method: Polygon"},
        {"record cut short", Bytes(start).op(25).i32(10).raw({1, 0}).s, ""},
        {"no end record", Bytes(start).op(25).i32(10).i32(10).str("x").s, "Internal error: TCustomVum.Replay"},
        {"colour of no object", Bytes(start).op(9).b(4).b(0).i32(0).i32(0).i32(0).i32(0).op(2).s,
         "Internal error: TCustomVumDocument.Run|SetColorEx"},
        {"picture never stored", Bytes(start).op(24).i32(3).i32(0).i32(0).i32(10).i32(10).op(2).s, ""},
        {"empty list", "", "Internal error: TCustomVum.Replay"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TPdfVum doc;
        doc.SetFileName(dir.file("broken.pdf"));
        doc.CreateRecorder();
        doc.Recorder()->Load(c.list);
        const std::string error = errorOf([&] { doc.Replay(); });
        if (*c.error)
            EXPECT_EQ(error, c.error);
        else
            EXPECT_NE(error.find("Internal error"), std::string::npos) << error;
        EXPECT_FALSE(doc.Printing());
        EXPECT_FALSE(doc.Replaying());
        EXPECT_FALSE(std::filesystem::exists(dir.file("broken.pdf")));
    }
}

// Opcodes beyond the table and the top bit of an opcode are passed over.
TEST(DisplayList, UnknownOpcodesAreSkipped)
{
    TempDir dir;
    TPdfVum doc;
    doc.SetFileName(dir.file("skip.pdf"));
    doc.CreateRecorder();
    doc.Recorder()->Load(Bytes().op(1).b(0).op(99).op(0x80 | 25).i32(100).i32(100).str("kept").op(127).op(2).s);
    doc.Replay();
    EXPECT_FALSE(doc.Printing());
    ASSERT_TRUE(toolsInstalled({"pdftotext"}));
    const ToolResult text = runTool({"pdftotext", dir.file("skip.pdf"), "-"});
    EXPECT_NE(text.out.find("kept"), std::string::npos) << text.out << text.err;
}
