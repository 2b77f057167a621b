#include "engine/paragraph/Paragraphs.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/paragraph/CanvasText.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "platform/fonts/Utf8.h"

#include <filesystem>
#include <fstream>

namespace vum {

int AlignmentFromStyle(const TParaStyle& style);

namespace {

constexpr int32_t kNoBottom = 2147483647;

void Select(TCustomVumCanvas& canvas, const std::string& style)
{
    if (!style.empty())
        SelectStyle(canvas, style);
}

LayoutRequest ParagraphRequest(TCustomVumCanvas& canvas, const std::string& text, const std::string& link)
{
    LayoutRequest r;
    r.Top = canvas.CurrentY;
    r.StartX = canvas.CurrentX;
    r.Text = text;
    r.Link = link;
    r.AutoFeed = true;
    r.NoRoomLeavesText = Paragraphs(canvas).NoRoomLeavesText;
    const int32_t pageWidth = canvas.Document().PageWidth();
    if (TParaStyle* style = CurrentStyle(canvas)) {
        const StylePositions p = PositionsOf(canvas, *style);
        r.FirstX = Paragraphs(canvas).ParaFirstLine ? p.FirstPos : p.LeftPos;
        r.NextX = p.LeftPos;
        r.Right = pageWidth - p.RightInset;
        r.HAlign = static_cast<uint8_t>(AlignmentFromStyle(*style));
        r.Render = static_cast<uint8_t>(style->GetInteger(canvas, "Render", 2));
    } else {
        r.Right = pageWidth;
    }
    return r;
}

void WriteBullet(TCustomVumCanvas& canvas, TParaStyle& paragraphStyle)
{
    TParaStyle& bullet = *paragraphStyle.BulletStyle;
    canvas.CurrentStyleName = bullet.Name;
    ApplyStyleFont(canvas, bullet);
    std::string text = bullet.GetText("Bullet", ".");
    if (!text.empty() && text[0] == '1')
        text = IntText(canvas.BulletNumber++) + text.substr(1);
    const StylePositions p = PositionsOf(canvas, bullet);
    LayoutRequest r;
    r.FirstX = p.FirstPos;
    r.NextX = p.LeftPos;
    r.Top = canvas.CurrentY;
    r.Right = canvas.Document().PageWidth() - p.RightInset;
    r.StartX = p.FirstPos;
    r.Text = text;
    r.AutoFeed = true;
    r.NoRoomLeavesText = Paragraphs(canvas).NoRoomLeavesText;
    CanvasLayoutText(canvas, r);
    Paragraphs(canvas).ParaFirstLine = false;
    Paragraphs(canvas).LineEmpty = false;
    canvas.CurrentStyleName = paragraphStyle.Name;
    ApplyStyleFont(canvas, paragraphStyle);
}

void AppendWithLink(TCustomVumCanvas& canvas, const std::string& text, const std::string& style,
                    const std::string& link)
{
    if (!canvas.Guard())
        return;
    Select(canvas, style);
    if (TParaStyle* current = CurrentStyle(canvas); current && !text.empty())
        if (const int32_t level = current->GetInteger(canvas, "BookmarkLevel", 0); level > 0)
            canvas.SetBookmark(canvas.CurrentX, canvas.CurrentY, fonts::encodeUtf8(fonts::decodeUtf8(text).substr(0, 255)),
                               level, true);
    const int32_t before = canvas.CurrentY;
    CanvasLayoutText(canvas, ParagraphRequest(canvas, text, link));
    if (CurrentStyle(canvas) && canvas.CurrentY != before)
        Paragraphs(canvas).ParaFirstLine = false;
    if (!text.empty())
        Paragraphs(canvas).LineEmpty = false;
}

// Default tab stop n: every half inch from the left indent.
int32_t TabStopPosition(TCustomVumCanvas& canvas, const TParaStyle& style, int32_t n)
{
    const int32_t halfInch = canvas.Document().LengthUnit() == 1 ? 36 : 127;
    const StylePositions p = PositionsOf(canvas, style);
    int32_t value = style.GetInteger(canvas, "LeftIndent", style.GetInteger(canvas, "Indent", 0));
    if (canvas.CurrentX < p.LeftPos)
        value -= halfInch;
    value += n * halfInch;
    return value > canvas.Document().PageWidth() - p.RightInset ? -1 : value;
}

} // namespace

void BeginPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    if (!canvas.Guard())
        return;
    Select(canvas, style);
    ParagraphState& state = Paragraphs(canvas);
    state.LastTabIndex = 0;
    state.ParaFirstLine = true;
    state.LineEmpty = true;
    if (TParaStyle* current = CurrentStyle(canvas)) {
        canvas.CurrentY += current->GetInteger(canvas, "SpaceBefore", 0);
        canvas.CurrentX = PositionsOf(canvas, *current).FirstPos;
        if (current->BulletStyle)
            WriteBullet(canvas, *current);
    } else {
        canvas.CurrentX = 0;
    }
    AppendPara(canvas, text, {});
}

void AppendPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    AppendWithLink(canvas, text, style, {});
}

void AppendLinkPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style,
                    const std::string& destination)
{
    AppendWithLink(canvas, text, style, destination);
}

void AppendTabPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    if (!canvas.Guard())
        return;
    ParagraphState& state = Paragraphs(canvas);
    if (TParaStyle* current = CurrentStyle(canvas)) {
        const int32_t leftMargin = current->GetInteger(canvas, "LeftMargin", 0);
        int32_t n = state.LastTabIndex + 1;
        // Bounded: a style whose stops all lie left of the text must not hang.
        for (int guard = 0; guard < 10000; ++guard) {
            state.LastTabIndex = n;
            const int32_t stop = current->GetInteger(canvas, "Tab" + IntText(n), TabStopPosition(canvas, *current, n));
            if (stop < 0) {
                EndPara(canvas, {}, style);
                BeginPara(canvas, {}, style);
                n = 1;
                continue;
            }
            if (leftMargin + stop < canvas.CurrentX) {
                ++n;
                continue;
            }
            canvas.CurrentX = leftMargin + stop;
            break;
        }
    }
    AppendPara(canvas, text, style);
}

void EndPara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    AppendPara(canvas, text, style);
    if (!canvas.Guard())
        return;
    ParagraphState& state = Paragraphs(canvas);
    if (state.LineEmpty) {
        // A paragraph without text still takes its line: it moves to a new
        // page, or counts as left over, as a line of text would.
        LayoutRequest r = ParagraphRequest(canvas, {}, {});
        r.EmptyLine = true;
        CanvasLayoutText(canvas, r);
    }
    state.LineEmpty = true;
    const int32_t lineHeight = CanvasLineHeight(canvas);
    if (TParaStyle* current = CurrentStyle(canvas)) {
        canvas.CurrentX = PositionsOf(canvas, *current).LeftPos;
        canvas.CurrentY += lineHeight + current->GetInteger(canvas, "SpaceAfter", 0);
    } else {
        canvas.CurrentX = 0;
        canvas.CurrentY += lineHeight;
    }
}

void WritePara(TCustomVumCanvas& canvas, const std::string& text, const std::string& style)
{
    BeginPara(canvas, text, style);
    EndPara(canvas, {}, {});
}

void NameNextPara(TCustomVumCanvas& canvas, const std::string& name)
{
    Paragraphs(canvas).NextParaName = name;
}

int32_t ParaHeight(TCustomVumCanvas& canvas, const std::string& text)
{
    if (!canvas.Guard())
        return 1;
    LayoutRequest r;
    r.Top = 0;
    r.Bottom = kNoBottom;
    r.StartX = 0;
    r.Text = text;
    r.Render = 0;
    r.Right = canvas.Document().PageWidth();
    TParaStyle* style = CurrentStyle(canvas);
    if (style) {
        const StylePositions p = PositionsOf(canvas, *style);
        r.FirstX = p.FirstPos;
        r.NextX = p.LeftPos;
        r.StartX = p.LeftPos;
        r.Right -= p.RightInset;
    }
    const int32_t savedY = canvas.CurrentY;
    const int32_t height = CanvasLayoutText(canvas, r);
    canvas.CurrentY = savedY;
    if (!style)
        return height;
    return height + style->GetInteger(canvas, "SpaceBefore", 0) + style->GetInteger(canvas, "SpaceAfter", 0);
}

void DefineStyle(TCustomVumCanvas& canvas, const std::string& style, const std::string& key,
                 const std::string& value)
{
    if (style.empty())
        canvas.RaiseMethodError("Invalid style name");
    TParaStyle* target = Paragraphs(canvas).FindStyle(canvas, style, true);
    SetStyleParameter(canvas, *target, key, value);
}

void LoadStyleSheet(TCustomVumCanvas& canvas, const std::string& fileName)
{
    ParagraphState& state = Paragraphs(canvas);
    state.Styles.clear();
    canvas.CurrentStyleName.clear();
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error))
        canvas.RaiseMethodError("File not found", fileName);
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        canvas.RaiseMethodError("Can't open file", fileName);
    TParaStyle* section = nullptr;
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = state.FindStyle(canvas, Trim(line.substr(1, line.size() - 2)), true);
            if (section)
                section->Parameters.clear();
            continue;
        }
        const size_t equals = line.find('=');
        if (section && equals != std::string::npos && equals > 0)
            section->Parameters.emplace_back(Trim(line.substr(0, equals)), line.substr(equals + 1));
    }
    LinkStyles(canvas);
    if (TCustomVumDocument* recorder = canvas.Recording())
        RecordStyles(*recorder, canvas);
}

std::string StyleParameter(TCustomVumCanvas& canvas, const std::string& key)
{
    TParaStyle* style = CurrentStyle(canvas);
    return style ? style->InheritedValue(key) : std::string();
}

int AlignmentFromStyle(const TParaStyle& style)
{
    return AlignmentFromText(style.GetText("Alignment", "Left"));
}

} // namespace vum
