// Interactive form fields written through the C interface and read back by
// qpdf: kinds, flags, values, radio groups, actions and the errors.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

namespace {

enum Prop { Visible = 0, ReadOnly = 1, Required = 2, Password = 3, CanExport = 4, AllowOutOfList = 6,
            MaxLength = 7, Alignment = 8, BorderStyle = 9, BorderWidth = 11, Items = 19, Default = 20 };

std::string fieldsOf(const std::string& file, const std::string& password = {})
{
    std::vector<std::string> args = {"qpdf", "--json", "--json-key=acroform"};
    if (!password.empty())
        args.push_back("--password=" + password);
    args.push_back(file);
    const ToolResult r = runTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

// The acroform entry of one field in qpdf's JSON (keys in alphabetical
// order, "alternativename" first).
std::string fieldJson(const std::string& json, const std::string& name)
{
    const size_t at = json.find("\"fullname\": \"" + name + "\"");
    if (at == std::string::npos)
        return {};
    const size_t start = json.rfind("\"alternativename\"", at);
    const size_t end = json.find("\"alternativename\"", at);
    return json.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The entries of the array a submit action's /Fields refers to, joined.
std::string submittedFields(const std::string& raw)
{
    std::smatch ref;
    if (!std::regex_search(raw, ref, std::regex(R"(/Fields (\d+) 0 R)")))
        return "no /Fields reference";
    std::smatch array;
    if (!std::regex_search(raw, array, std::regex(std::string("\n").append(ref[1].str()).append(R"( 0 obj\n\[\n([^\]]*)\]\nendobj)"))))
        return std::string("no array object ").append(ref[1].str());
    std::string joined = array[1];
    joined.erase(std::remove(joined.begin(), joined.end(), '\n'), joined.end());
    return joined;
}

void expectHas(const std::string& text, const std::string& part)
{
    EXPECT_NE(text.find(part), std::string::npos) << "missing " << part << " in\n" << text;
}

// Every match of the first group of `pattern` in `text`, in order.
std::vector<std::string> allOf(const std::string& text, const std::string& pattern)
{
    const std::regex re(pattern);
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
}

// Clicks widgets of page 1 in mupdf one after the other, as a viewer's user
// would, and saves what the viewer made of it.
std::string clickedInViewer(const TempDir& dir, const std::string& file, const std::vector<int>& widgets)
{
    const std::string script = dir.file("click.js");
    writeFile(script,
              "var doc = new PDFDocument(scriptArgs[0]);\n"
              "var widgets = doc.loadPage(0).getWidgets();\n"
              "for (var i = 2; i < scriptArgs.length; ++i) widgets[parseInt(scriptArgs[i])].toggle();\n"
              "doc.save(scriptArgs[1]);\n");
    const std::string out = dir.file("clicked.pdf");
    std::vector<std::string> args = {"mutool", "run", script, file, out};
    for (int w : widgets)
        args.push_back(std::to_string(w));
    const ToolResult r = runTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    return out;
}

} // namespace

TEST(PdfForms, EveryKindReadsBackWithItsFlagsAndValues)
{
    ASSERT_TRUE(toolsInstalled({"qpdf"}));
    TempDir dir;
    const std::string file = dir.file("form.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineField(h, "name", 1, "Your name", "Full name", ""), 0) << lastError();
        ASSERT_EQ(pdf().SetStrFieldProp(h, "name", Default, "Bob & (Alice)"), 0) << lastError();
        ASSERT_EQ(pdf().SetNumFieldProp(h, "name", MaxLength, 20), 0);
        ASSERT_EQ(pdf().SetStrFieldProp(h, "name", Alignment, "center"), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "name", Required, 1), 0);
        ASSERT_EQ(pdf().DefineField(h, "notes", 2, "Notes", "", ""), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "notes", ReadOnly, 1), 0);
        ASSERT_EQ(pdf().DefineField(h, "agree", 5, "I agree", "", ""), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "agree", Default, 1), 0);
        ASSERT_EQ(pdf().DefineField(h, "colour", 4, "Colour", "", ""), 0);
        ASSERT_EQ(pdf().SetStrFieldProp(h, "colour", Items, "red|green|blue"), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "colour", Default, 1), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "colour", AllowOutOfList, 1), 0);
        ASSERT_EQ(pdf().DefineField(h, "size", 3, "Size", "", ""), 0);
        ASSERT_EQ(pdf().SetStrFieldProp(h, "size", Items, "S|M|L"), 0);
        ASSERT_EQ(pdf().DefineField(h, "g.a", 6, "Alpha", "", ""), 0);
        ASSERT_EQ(pdf().DefineField(h, "g.b", 6, "Beta two", "", ""), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "g.b", Default, 1), 0);
        ASSERT_EQ(pdf().DefineField(h, "send", 0, "Send", "", ""), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "notes", CanExport, 0), 0);
        ASSERT_EQ(pdf().SetAction(h, "send", 8, 3, "https://example.org/submit"), 0) << lastError();
        ASSERT_EQ(pdf().SetAction(h, "send", 0, 4, ""), 0);

        int y = 300;
        for (const char* f : {"name", "notes", "agree", "colour", "size", "g.a", "g.b", "send"}) {
            ASSERT_EQ(pdf().PutField(h, f, 300, y, 0, 0), 0) << f << ": " << lastError();
            y += 250;
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    ASSERT_EQ(qpdfProblems(file), "");
    const std::string json = fieldsOf(file);

    const std::string name = fieldJson(json, "name");
    expectHas(name, "\"fieldtype\": \"/Tx\"");
    expectHas(name, "\"fieldflags\": 2");
    expectHas(name, "\"value\": \"u:Bob & (Alice)\"");
    expectHas(name, "\"alternativename\": \"Full name\"");
    expectHas(fieldJson(json, "notes"), "\"fieldflags\": 4101");  // read-only, no export, multi-line
    const std::string agree = fieldJson(json, "agree");
    expectHas(agree, "\"fieldtype\": \"/Btn\"");
    expectHas(agree, "\"value\": \"/Yes\"");
    expectHas(agree, "\"ischeckbox\": true");
    const std::string colour = fieldJson(json, "colour");
    expectHas(colour, "\"fieldtype\": \"/Ch\"");
    expectHas(colour, "\"fieldflags\": 393216");  // combo and edit
    expectHas(colour, "\"value\": \"u:green\"");
    expectHas(colour, "\"green\"");
    expectHas(fieldJson(json, "size"), "\"fieldtype\": \"/Ch\"");
    const std::string a = fieldJson(json, "g");
    expectHas(a, "\"isradiobutton\": true");
    expectHas(a, "\"value\": \"/Beta two\"");  // the state name /Beta#20two
    expectHas(fieldJson(json, "send"), "\"fieldflags\": 65536");  // push button

    const std::string raw = readFile(file);
    EXPECT_NE(raw.find("/NeedAppearances true"), std::string::npos);
    EXPECT_NE(raw.find("/S/SubmitForm"), std::string::npos);
    EXPECT_EQ(submittedFields(raw), "(name)(agree)(colour)(size)(g)(send)")
        << "the submit action lists the exported fields of the file, the radio group by its own name";
    EXPECT_TRUE(std::regex_search(raw, std::regex(R"(/AA<<\n/U \d+ 0 R\n/V \d+ 0 R\n>>)")));
}

// Labels name the buttons' states: every byte a PDF name cannot hold as it
// is (delimiters, '#', blanks, non-ASCII) is escaped, and each button and
// check box starts in the state its default says.
TEST(PdfForms, RadioLabelsWithDelimitersNameValidStates)
{
    ASSERT_TRUE(toolsInstalled({"qpdf"}));
    TempDir dir;
    const std::string file = dir.file("labels.pdf");
    const std::vector<std::string> labels = {"Yes/No", "50%", "(optional)", "#1", "[a]<b>{c}", "北京 Ja", ""};
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        int y = 100;
        for (size_t i = 0; i < labels.size(); ++i) {
            const std::string name = "g.b" + std::to_string(i);
            ASSERT_EQ(pdf().DefineField(h, name.c_str(), 6, labels[i].c_str(), "", ""), 0) << lastError();
            if (labels[i] == "(optional)") {
                ASSERT_EQ(pdf().SetNumFieldProp(h, name.c_str(), Default, 1), 0);
            }
            ASSERT_EQ(pdf().PutField(h, name.c_str(), 100, y, 0, 0), 0) << lastError();
            y += 150;
        }
        for (const auto& [box, on] : {std::pair{"yes", 1}, std::pair{"no", 0}}) {
            ASSERT_EQ(pdf().DefineField(h, box, 5, box, "", ""), 0);
            ASSERT_EQ(pdf().SetNumFieldProp(h, box, Default, on), 0);
            ASSERT_EQ(pdf().PutField(h, box, 100, y, 0, 0), 0);
            y += 150;
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    ASSERT_EQ(qpdfProblems(file), "");
    const std::string json = fieldsOf(file);
    const std::string group = fieldJson(json, "g");
    expectHas(group, "\"isradiobutton\": true");
    expectHas(group, "\"value\": \"/(optional)\"");
    // Each widget carries the state it starts in, and its own "on" state.
    const std::string raw = readFile(file);
    for (const char* state : {"/Yes#2FNo", "/50#25", "/#28optional#29", "/#231", "/#5Ba#5D#3Cb#3E#7Bc#7D",
                              "/#E5#8C#97#E4#BA#AC#20Ja", "/b6"})
        expectHas(raw, std::string("/AP << /N << ") + state + " /null >> >>");
    std::smatch m;
    std::string rest = raw;
    std::vector<std::string> states;
    while (std::regex_search(rest, m, std::regex(R"(/AS (/\S+))"))) {
        states.push_back(m[1]);
        rest = m.suffix();
    }
    EXPECT_EQ(states, (std::vector<std::string>{"/Off", "/Off", "/#28optional#29", "/Off", "/Off", "/Off", "/Off",
                                                "/Yes", "/Off"}));
    expectHas(fieldJson(json, "yes"), "\"appearancestate\": \"/Yes\"");
    expectHas(fieldJson(json, "no"), "\"appearancestate\": \"/Off\"");
    // A viewer that draws the buttons itself finds every state and the
    // check mark's font: poppler renders without a word.
    ASSERT_TRUE(toolsInstalled({"pdftoppm"}));
    const ToolResult render = runTool({"pdftoppm", "-r", "20", file, dir.file("page")});
    EXPECT_EQ(render.exitCode, 0);
    EXPECT_EQ(render.err, "");
}

// "Off" is the off state of every button: a button labelled so (or named so,
// without a label) gets a state name of its own, distinct from its
// siblings', and keeps its label on the page; a viewer can choose it.
TEST(PdfForms, ARadioButtonLabelledOffCanBeChosen)
{
    ASSERT_TRUE(toolsInstalled({"qpdf", "mutool", "pdftotext"}));
    TempDir dir;
    const std::string file = dir.file("off.pdf");
    // Label, field name; "Off_1" comes after the "Off" button was placed.
    const std::vector<std::pair<std::string, std::string>> buttons = {
        {"On", "g.on"}, {"Off", "g.off"}, {"", "g.Off"}, {"Off_1", "g.x"}};
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        int y = 100;
        for (const auto& [label, name] : buttons) {
            ASSERT_EQ(pdf().DefineField(h, name.c_str(), 6, label.c_str(), "", ""), 0) << lastError();
            if (label == "Off") {
                ASSERT_EQ(pdf().SetNumFieldProp(h, name.c_str(), Default, 1), 0);
            }
            ASSERT_EQ(pdf().PutField(h, name.c_str(), 100, y, 0, 0), 0) << lastError();
            y += 200;
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    ASSERT_EQ(qpdfProblems(file), "");
    const std::string raw = readFile(file);
    const std::vector<std::string> states = allOf(raw, R"(/AP << /N << (/\S+) /null >> >>)");
    ASSERT_EQ(states.size(), buttons.size()) << raw;
    for (size_t i = 0; i < states.size(); ++i) {
        EXPECT_NE(states[i], "/Off") << "button " << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(states[i], states[j]) << "buttons " << j << " and " << i;
    }
    const std::string json = fieldsOf(file);
    EXPECT_EQ(allOf(json, R"re("appearancestate": "([^"]*)")re"),
              (std::vector<std::string>{"/Off", states[1], "/Off", "/Off"}));
    EXPECT_EQ(allOf(json, R"re("value": "([^"]*)")re"), std::vector<std::string>(buttons.size(), states[1]))
        << "the group's value is the state of the button that starts on";
    const std::string text = runTool({"pdftotext", file, "-"}).out;
    for (const char* label : {"On", "Off", "Off_1"})
        EXPECT_TRUE(std::regex_search(text, std::regex(std::string("(^|\\s)") + label + "\n"))) << label << " in\n" << text;

    // Another button first: clicking the one that is on may turn it off.
    const int count = static_cast<int>(buttons.size());
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("clicked button " + std::to_string(i));
        const std::string clicked = fieldsOf(clickedInViewer(dir, file, {(i + 1) % count, i}));
        std::vector<std::string> expected(buttons.size(), "/Off");
        expected[i] = states[i];
        EXPECT_EQ(allOf(clicked, R"re("appearancestate": "([^"]*)")re"), expected);
        EXPECT_EQ(allOf(clicked, R"re("value": "([^"]*)")re"), std::vector<std::string>(buttons.size(), states[i]));
    }
}

TEST(PdfForms, BorderLinesAndDefaultSizes)
{
    TempDir dir;
    const std::string file = dir.file("borders.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        const struct { const char* name; int width; } cases[] = {{"one", 1}, {"three", 3}, {"zero", 0}};
        int y = 200;
        for (const auto& c : cases) {
            ASSERT_EQ(pdf().DefineField(h, c.name, 5, "", "", ""), 0);
            ASSERT_EQ(pdf().SetStrFieldProp(h, c.name, BorderStyle, "dashed"), 0);
            ASSERT_EQ(pdf().SetNumFieldProp(h, c.name, BorderWidth, c.width), 0);
            ASSERT_EQ(pdf().PutField(h, c.name, 100, y, 0, 0), 0);
            y += 200;
        }
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    const std::string raw = readFile(file);
    EXPECT_NE(raw.find("/BS <</S/D>>"), std::string::npos);
    EXPECT_NE(raw.find("/BS <</W 3 /S/D>>"), std::string::npos);
    EXPECT_NE(raw.find("/BS <</W 0>>"), std::string::npos);
    // A check box placed with no size is as wide and as high as "aa".
    std::smatch m;
    ASSERT_TRUE(std::regex_search(raw, m, std::regex(R"(/Rect\[([\d.]+) ([\d.]+) ([\d.]+) ([\d.]+)\])")));
    EXPECT_NEAR(std::stod(m[3]) - std::stod(m[1]), std::stod(m[2]) - std::stod(m[4]), 0.01);
    EXPECT_GT(std::stod(m[3]) - std::stod(m[1]), 0);
    EXPECT_EQ(qpdfProblems(file), "");
}

TEST(PdfForms, MistakesAreRefusedWithTheirMessage)
{
    TempDir dir;
    PdfHandle h;
    h.setFile(dir.file("errors.pdf"));
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    ASSERT_EQ(pdf().DefineField(h, "f", 1, "", "", ""), 0);
    const std::vector<std::pair<std::function<int32_t()>, std::string>> cases = {
        {[&] { return pdf().DefineField(h, "f", 1, "", "", ""); }, "Duplicate name: f"},
        {[&] { return pdf().DefineField(h, "k", 7, "", "", ""); }, "Invalid method call: DefineField"},
        {[&] { return pdf().DefineField(h, "nodot", 6, "", "", ""); },
         "Bad RadioButton name (must be prefixed by RadioGroup name): nodot"},
        {[&] { return pdf().SetNumFieldProp(h, "missing", MaxLength, 1); }, "Field not defined: missing"},
        {[&] { return pdf().SetNumFieldProp(h, "f", BorderWidth, 6); }, "Invalid value for property: BorderWidth"},
        {[&] { return pdf().SetNumFieldProp(h, "f", MaxLength, -1); }, "Invalid value for property: MaxLength"},
        {[&] { return pdf().SetStrFieldProp(h, "f", BorderStyle, "x"); }, "Invalid value for property: BorderStyle"},
        {[&] { return pdf().SetStrFieldProp(h, "f", Visible, "maybe"); }, "Invalid value for property: Visible"},
    };
    for (const auto& [call, message] : cases) {
        EXPECT_EQ(call(), -1) << message;
        EXPECT_EQ(lastError(), message);
    }
    ASSERT_EQ(pdf().PutField(h, "f", 10, 10, 100, 50), 0) << lastError();
    EXPECT_EQ(pdf().PutField(h, "f", 10, 10, 100, 50), -1);
    EXPECT_EQ(lastError(), "Field already put on form: f");
    EXPECT_EQ(pdf().SetNumFieldProp(h, "f", MaxLength, 3), -1);
    EXPECT_EQ(lastError(), "SetField or SetAction method called after PutField: f");
    EXPECT_EQ(pdf().SetAction(h, "f", 0, 4, ""), -1);
    EXPECT_EQ(lastError(), "SetField or SetAction method called after PutField: SetAction");

}

// A group with a single button cannot end its page: the call that ends it
// says so and the document stays open, so a second button mends it.
TEST(PdfForms, ARadioGroupOfOneButtonIsRefusedByTheCallThatEndsThePage)
{
    ASSERT_TRUE(toolsInstalled({"qpdf"}));
    TempDir dir;
    const std::string file = dir.file("solo.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        for (const char* b : {"solo.a", "solo.b", "last.a", "last.b"})
            ASSERT_EQ(pdf().DefineField(h, b, 6, b, "", ""), 0);
        ASSERT_EQ(pdf().PutField(h, "solo.a", 10, 100, 0, 0), 0);
        EXPECT_EQ(pdf().NewPage(h), -1);
        EXPECT_EQ(lastError(), "A radio group needs at least two buttons on its page: solo");
        EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 1) << "the document is still open";
        ASSERT_EQ(pdf().PutField(h, "solo.b", 10, 300, 0, 0), 0) << lastError();
        ASSERT_EQ(pdf().NewPage(h), 0) << lastError();

        ASSERT_EQ(pdf().PutField(h, "last.a", 10, 100, 0, 0), 0);
        EXPECT_EQ(pdf().EndDoc(h), -1);
        EXPECT_EQ(lastError(), "A radio group needs at least two buttons on its page: last");
        ASSERT_EQ(pdf().PutField(h, "last.b", 10, 300, 0, 0), 0) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    EXPECT_EQ(qpdfProblems(file), "");
    const std::string json = fieldsOf(file);
    for (const char* group : {"solo", "last"})
        expectHas(fieldJson(json, group), "\"isradiobutton\": true");
}

TEST(PdfForms, ButtonPlacedAfterItsGroupWasWrittenIsRefused)
{
    TempDir dir;
    const std::string file = dir.file("late.pdf");
    PdfHandle h;
    h.setFile(file);
    ASSERT_EQ(pdf().BeginDoc(h), 0);
    for (const char* b : {"g.a", "g.b", "g.c"})
        ASSERT_EQ(pdf().DefineField(h, b, 6, b, "", ""), 0);
    ASSERT_EQ(pdf().PutField(h, "g.a", 10, 100, 0, 0), 0);
    ASSERT_EQ(pdf().PutField(h, "g.b", 10, 300, 0, 0), 0);
    ASSERT_EQ(pdf().NewPage(h), 0) << lastError();
    EXPECT_EQ(pdf().PutField(h, "g.c", 10, 100, 0, 0), -1);
    EXPECT_EQ(lastError(), "Field already put on form: g");
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    EXPECT_EQ(qpdfProblems(file), "");
}

TEST(PdfForms, FieldsOfAnEncryptedDocumentReadBack)
{
    ASSERT_TRUE(toolsInstalled({"qpdf"}));
    TempDir dir;
    const std::string file = dir.file("secret-form.pdf");
    {
        PdfHandle h;
        h.setFile(file);
        ASSERT_EQ(pdf().SetUserPassword(h, "u", 1, 1, 1, 1), 0);
        ASSERT_EQ(pdf().BeginDoc(h), 0);
        ASSERT_EQ(pdf().DefineField(h, "city", 4, "City", "Where you live", ""), 0);
        ASSERT_EQ(pdf().SetStrFieldProp(h, "city", Items, "Berlin|北京|Paris"), 0);
        ASSERT_EQ(pdf().SetNumFieldProp(h, "city", Default, 2), 0);
        ASSERT_EQ(pdf().PutField(h, "city", 100, 100, 0, 0), 0) << lastError();
        ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    }
    const ToolResult check = runTool({"qpdf", "--check", "--password=u", file});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    const std::string city = fieldJson(fieldsOf(file, "u"), "city");
    expectHas(city, "\"value\": \"u:Paris\"");
    expectHas(city, "\"北京\"");
    expectHas(city, "\"alternativename\": \"Where you live\"");
}
