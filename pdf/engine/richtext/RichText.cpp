#include "engine/richtext/RichText.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/paragraph/Paragraphs.h"
#include "engine/richtext/RtfDocument.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vum {

namespace {

constexpr const char* kWorkStyle = "$";
constexpr const char* kBulletStyle = "$Bullet";
// Rich text files larger than this are not read whole into memory.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

const char* CharsetName(int charset)
{
    switch (charset) {
    case 0: return "ANSI";
    case 178: return "ARABIC";
    case 186: return "BALTIC";
    case 238: return "EASTEUROPE";
    case 161: return "GREEK";
    case 177: return "HEBREW";
    case 204: return "RUSSIAN";
    case 162: return "TURKISH";
    case 134: return "GB2312";
    case 136: return "CHINESEBIG5";
    case 128: return "SHIFTJIS";
    case 129: return "HANGEUL";
    default: return nullptr;
    }
}

// Twips to the document's length units.
int32_t Units(const TCustomVumCanvas& canvas, double twips)
{
    return static_cast<int32_t>(RoundEven(twips / 20.0 / canvas.Document().PointsPerUnit()));
}

// Indents in twips, the first line's relative to the others'.
struct HeldIndents {
    int32_t First = 0, Left = 0, Right = 0;
};

// Negative indents would pull lines out of the column the text was given
// (the rectangle, or the margins of its style), off the paper when they
// are large: each edge is held at the column's, and the first line keeps
// its own place where that lies inside.
HeldIndents HoldIndents(const RtfParaFormat& para)
{
    HeldIndents held;
    held.Left = std::max(para.LeftIndent, 0);
    const int64_t firstLine = std::max<int64_t>(int64_t(para.LeftIndent) + para.FirstIndent, 0);
    held.First = static_cast<int32_t>(firstLine - held.Left);
    held.Right = std::max(para.RightIndent, 0);
    return held;
}

class RunWriter {
public:
    RunWriter(TCustomVumCanvas& canvas, const std::string& baseStyle)
        : canvas_(canvas), noRoomBefore_(Paragraphs(canvas).NoRoomLeavesText)
    {
        ParagraphState& state = Paragraphs(canvas);
        work_ = state.FindStyle(canvas, kWorkStyle, true);
        // After rich text the current style is the working style itself:
        // then the text builds on what that was based on (and the bullet's
        // working style, based on that too, is no base either).
        if (!SameTextAscii(baseStyle, kWorkStyle) && !SameTextAscii(baseStyle, kBulletStyle))
            Set(*work_, "BaseStyle", baseStyle);
        // The base style's own bookmark level, margins and page feed apply
        // (a framed drawing below sets its own, which must not stay for
        // the next text).
        for (const char* key : {"BookmarkLevel", "AutoPageFeed", "LeftMargin", "RightMargin", "TopMargin",
                                "BottomMargin"})
            if (!work_->InheritedValue(key).empty())
                Set(*work_, key, "");
        // Rich text that has no room is text that does not fit, not an
        // error that loses the document. Last: the destructor puts it back.
        state.NoRoomLeavesText = true;
    }

    ~RunWriter() { Paragraphs(canvas_).NoRoomLeavesText = noRoomBefore_; }
    RunWriter(const RunWriter&) = delete;
    RunWriter& operator=(const RunWriter&) = delete;

    TParaStyle& Work() { return *work_; }

    // False once a run did not fit.
    bool Paragraph(const RtfParagraph& p)
    {
        if (p.Runs.empty())
            return Emit(RtfRun{}, p.Format, false, true);
        for (size_t i = 0; i < p.Runs.size(); ++i) {
            const RtfRun& run = p.Runs[i];
            const bool last = i + 1 == p.Runs.size();
            if (!Emit(run, p.Format, run.EndsWithTab, last && !run.EndsWithTab))
                return false;
            if (last && run.EndsWithTab && !Emit(RtfRun{{}, run.Char, false}, p.Format, false, true))
                return false;
        }
        return true;
    }

private:
    void Set(TParaStyle& style, const std::string& key, const std::string& value)
    {
        SetStyleParameter(canvas_, style, key, value);
    }

    void FillStyle(const RtfRun& run, const RtfParaFormat& para, bool tab)
    {
        TParaStyle& s = *work_;
        const RtfCharFormat& c = run.Char;
        Set(s, "FontName", c.FontName);
        Set(s, "FontSize", IntText(static_cast<int64_t>(std::lround(c.FontSize))));
        if (const char* name = CharsetName(c.Charset))
            Set(s, "FontCharset", name);
        Set(s, "FontColor", IntText(RedOf(c.Color)) + "," + IntText(GreenOf(c.Color)) + "," + IntText(BlueOf(c.Color)));
        Set(s, "FontBold", c.Bold ? "1" : "0");
        Set(s, "FontItalic", c.Italic ? "1" : "0");
        Set(s, "FontUnderline", c.Underline ? "1" : "0");
        Set(s, "FontStrikeOut", c.StrikeOut ? "1" : "0");
        const char* align = para.Alignment == 1 ? "Right" : para.Alignment == 2 ? "Center" : "Left";
        Set(s, "Alignment", (tab || !para.Tabs.empty()) ? "Left" : align);

        const HeldIndents held = HoldIndents(para);
        int32_t first = Units(canvas_, held.First);
        int32_t left = Units(canvas_, held.Left);
        const int32_t right = Units(canvas_, held.Right);
        if (para.Bullet && first == 0) {
            const int32_t eighth = Units(canvas_, 1440 / 8.0);
            first = -eighth;
            left = std::max(left, eighth);
        }
        Set(s, "FirstIndent", IntText(first));
        Set(s, "LeftIndent", IntText(left));
        Set(s, "RightIndent", IntText(right));

        if (para.Bullet && !run.Text.empty()) {
            TParaStyle* bullet = Paragraphs(canvas_).FindStyle(canvas_, kBulletStyle, true);
            Set(*bullet, "BaseStyle", s.BaseStyle ? s.BaseStyle->Name : std::string());
            Set(*bullet, "Bullet", "\xE2\x80\xA2");  // U+2022, drawn in the text's own font
            Set(*bullet, "FirstIndent", IntText(first));
            Set(*bullet, "LeftIndent", IntText(left));
            Set(*bullet, "RightIndent", IntText(right));
            Set(*bullet, "LeftMargin", s.InheritedValue("LeftMargin"));
            Set(s, "BulletStyle", kBulletStyle);
        } else {
            Set(s, "BulletStyle", "");
        }

        size_t k = 0;
        for (; k < para.Tabs.size(); ++k)
            Set(s, "Tab" + IntText(static_cast<int64_t>(k + 1)), IntText(Units(canvas_, para.Tabs[k])));
        for (size_t n = k + 1; !s.InheritedValue("Tab" + IntText(static_cast<int64_t>(n))).empty() && n < 1000; ++n)
            Set(s, "Tab" + IntText(static_cast<int64_t>(n)), "");
    }

    bool Emit(const RtfRun& run, const RtfParaFormat& para, bool tab, bool paraEnd)
    {
        FillStyle(run, para, tab);
        if (!open_) {
            BeginPara(canvas_, "", kWorkStyle);
            open_ = true;
        }
        AppendPara(canvas_, run.Text, kWorkStyle);
        if (canvas_.LeftoverCount > 0)
            return false;
        if (tab)
            AppendTabPara(canvas_, "", kWorkStyle);
        if (paraEnd) {
            EndPara(canvas_, "", kWorkStyle);
            open_ = false;
            Paragraphs(canvas_).LastTabIndex = 0;
        }
        return canvas_.LeftoverCount == 0;
    }

    TCustomVumCanvas& canvas_;
    const bool noRoomBefore_;
    TParaStyle* work_ = nullptr;
    bool open_ = false;
};

std::string ReadWhole(const std::string& path, const char* failure, const std::string& context)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes)
        RaiseContextError(failure, context);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        RaiseContextError(failure, context);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

RtfDocument ReadDocument(const std::string& content)
{
    return IsRtfSource(content) ? ReadRtf(content) : ReadPlainText(content);
}

void Lay(TCustomVumCanvas& canvas, const RtfDocument& doc, RunWriter& writer)
{
    canvas.LeftoverCount = 0;
    for (const RtfParagraph& p : doc.Paragraphs)
        if (!writer.Paragraph(p))
            break;
}

} // namespace

void WriteRichText(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    if (!canvas.Guard())
        return;
    RtfDocument doc;
    try {
        if (IsRtfSource(text)) {
            doc = ReadRtf(text);
        } else {
            std::error_code ec;
            const std::string local = std::filesystem::is_regular_file(text, ec)
                                          ? text
                                          : canvas.Document().DownloadToTempFile(text);
            doc = ReadDocument(ReadWhole(local, "File format not supported", text));
        }
    } catch (const RtfLimitError& e) {
        // Named after the file; source text is no name to repeat.
        canvas.RaiseMethodError(e.what(), IsRtfSource(text) ? std::string() : text);
    } catch (const VumError&) {
        canvas.RaiseMethodError("File format not supported", text);
    }
    RunWriter writer(canvas, style);
    Lay(canvas, doc, writer);
    // With page feeds on, text is left over only when no page has room for
    // it (indents beyond the paper): say so, rather than drop it silently.
    // The document stays open with what was written before.
    if (canvas.LeftoverCount > 0 && writer.Work().GetBoolean("AutoPageFeed", true))
        RaiseContextError("Invalid style sheet margins: no space left on paper sheet");
}

int32_t DrawRichTextFromFile(TCustomVumCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             const std::string& fileName)
{
    if (!canvas.Guard())
        return 0;
    std::error_code ec;
    const std::string local =
        std::filesystem::is_regular_file(fileName, ec) ? fileName : canvas.Document().DownloadToTempFile(fileName);
    if (!std::filesystem::is_regular_file(local, ec))
        canvas.RaiseMethodError("File not found", fileName);
    RtfDocument doc;
    try {
        doc = ReadDocument(ReadWhole(local, "Can't open file", fileName));
    } catch (const RtfLimitError& e) {
        canvas.RaiseMethodError(e.what(), fileName);
    } catch (const VumError&) {
        canvas.RaiseMethodError("Can't open file", fileName);
    }

    const int32_t bottom = y2 == 0 ? canvas.Document().PageHeight() : y2;
    RunWriter writer(canvas, canvas.CurrentStyleName);
    TParaStyle& work = writer.Work();
    SetStyleParameter(canvas, work, "AutoPageFeed", "0");
    // Text that may be taken back again makes no bookmarks.
    SetStyleParameter(canvas, work, "BookmarkLevel", "0");
    SetStyleParameter(canvas, work, "LeftMargin", IntText(std::min(x1, x2)));
    SetStyleParameter(canvas, work, "RightMargin", IntText(canvas.Document().PageWidth() - std::max(x1, x2)));
    SetStyleParameter(canvas, work, "BottomMargin", IntText(canvas.Document().PageHeight() - bottom));
    SetStyleParameter(canvas, work, "TopMargin", IntText(y1));

    // One pass that draws; when the text did not fit, what it drew is taken
    // back, so the page shows all of it or nothing.
    const int32_t savedX = canvas.CurrentX, savedY = canvas.CurrentY;
    const TVumFont savedFont = canvas.Font;
    const std::string savedStyle = canvas.CurrentStyleName;
    auto restore = canvas.ContentCheckpoint();
    canvas.CurrentY = y1;
    Lay(canvas, doc, writer);
    if (canvas.LeftoverCount > 0) {
        restore();
        canvas.CurrentX = savedX;
        canvas.CurrentY = savedY;
        canvas.Font = savedFont;
        canvas.CurrentStyleName = savedStyle;
        canvas.LeftoverCount = 0;
        return 0;
    }
    return 1;
}

} // namespace vum
