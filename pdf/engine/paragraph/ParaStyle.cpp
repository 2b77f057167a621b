#include "engine/paragraph/ParaStyle.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/Colors.h"
#include "engine/util/Geometry.h"
#include "engine/util/TextLists.h"

#include <charconv>

namespace vum {

namespace {

int CharsetFromName(const std::string& name, int current)
{
    static const std::pair<const char*, int> kNames[] = {
        {"ANSI", 0},   {"ARABIC", 178}, {"BALTIC", 186}, {"EASTEUROPE", 238},
        {"GREEK", 161}, {"HEBREW", 177}, {"RUSSIAN", 204}, {"TURKISH", 162},
        {"GB2312", 134}, {"CHINESEBIG5", 136}, {"SHIFTJIS", 128}, {"HANGEUL", 129},
    };
    const std::string upper = AsciiUpper(name);
    for (const auto& [text, value] : kNames)
        if (upper == text)
            return value;
    return current;
}

// True when `style` is `base` or one of the styles `base` builds on: making
// `base` the base style of `style` would close a circle.
bool LeadsBackTo(const TParaStyle* base, const TParaStyle* style)
{
    for (; base; base = base->BaseStyle)
        if (base == style)
            return true;
    return false;
}

// Links `style` to `base`; "Circular reference in style sheet" (the style's
// name) when `base` builds on `style`, and then the link stays as it was.
void LinkBase(TCustomVumCanvas& canvas, TParaStyle& style, TParaStyle* base)
{
    if (LeadsBackTo(base, &style))
        canvas.RaiseMethodError("Circular reference in style sheet", style.Name);
    style.BaseStyle = base;
}

} // namespace

std::string TParaStyle::InheritedValue(const std::string& key) const
{
    // Base styles never form a circle (LinkBase refuses one).
    for (const TParaStyle* style = this; style; style = style->BaseStyle)
        for (const auto& [k, v] : style->Parameters)
            if (SameTextAscii(k, key)) {
                const std::string value = Trim(v);
                if (!value.empty())
                    return value;
                break;
            }
    return {};
}

std::string TParaStyle::GetText(const std::string& key, const std::string& fallback) const
{
    const std::string value = InheritedValue(key);
    return value.empty() ? fallback : value;
}

int32_t TParaStyle::GetInteger(TCustomVumCanvas& canvas, const std::string& key, int32_t fallback) const
{
    const std::string value = InheritedValue(key);
    if (value.empty())
        return fallback;
    int32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        canvas.RaiseMethodError("Numeric value expected for style parameter", key + " = " + value);
    // Margins, indents, sizes and spacings beyond any page would overflow the layout's sums.
    if (!WithinCoordinates(number))
        canvas.RaiseMethodError("Invalid property value", key + " = " + value);
    return number;
}

bool TParaStyle::GetBoolean(const std::string& key, bool fallback) const
{
    return GetText(key, fallback ? "1" : "0") == "1";
}

TParaStyle* ParagraphState::FindStyle(TCustomVumCanvas& canvas, const std::string& name, bool create)
{
    if (name.empty())
        return nullptr;
    for (auto& style : Styles)
        if (SameTextAscii(style->Name, name))
            return style.get();
    if (!create)
        canvas.RaiseMethodError("Invalid style name", name);
    Styles.push_back(std::make_unique<TParaStyle>(name));
    return Styles.back().get();
}

ParagraphState& Paragraphs(TCustomVumCanvas& canvas)
{
    if (!canvas.Paragraphs)
        canvas.Paragraphs = std::make_shared<ParagraphState>();
    return *canvas.Paragraphs;
}

TParaStyle* CurrentStyle(TCustomVumCanvas& canvas)
{
    if (canvas.CurrentStyleName.empty())
        return nullptr;
    ParagraphState& state = Paragraphs(canvas);
    for (auto& style : state.Styles)
        if (SameTextAscii(style->Name, canvas.CurrentStyleName))
            return style.get();
    return nullptr;
}

void SetStyleParameter(TCustomVumCanvas& canvas, TParaStyle& style, const std::string& key,
                       const std::string& value)
{
    ParagraphState& state = Paragraphs(canvas);
    const bool isBase = AsciiUpper(key) == "BASESTYLE";
    TParaStyle* base = isBase ? state.FindStyle(canvas, value, false) : nullptr;
    if (isBase && LeadsBackTo(base, &style))
        canvas.RaiseMethodError("Circular reference in style sheet", style.Name);
    auto& params = style.Parameters;
    auto found = params.begin();
    while (found != params.end() && !SameTextAscii(found->first, key))
        ++found;
    if (value.empty()) {
        if (found != params.end())
            params.erase(found);
    } else if (found != params.end()) {
        found->second = value;
    } else {
        params.emplace_back(key, value);
    }
    if (isBase)
        style.BaseStyle = base;
    else if (AsciiUpper(key) == "BULLETSTYLE")
        style.BulletStyle = state.FindStyle(canvas, value, false);
    if (TCustomVumDocument* recorder = canvas.Recording()) {
        recorder->WriteOpcode(opDefineStyle);
        recorder->WriteStrings({style.Name, key, value});
    }
}

void LinkStyles(TCustomVumCanvas& canvas)
{
    ParagraphState& state = Paragraphs(canvas);
    auto own = [](const TParaStyle& style, const char* key) {
        for (const auto& [k, v] : style.Parameters)
            if (SameTextAscii(k, key))
                return Trim(v);
        return std::string();
    };
    for (auto& style : state.Styles)
        style->BaseStyle = nullptr;
    for (auto& style : state.Styles) {
        LinkBase(canvas, *style, state.FindStyle(canvas, own(*style, "BaseStyle"), false));
        style->BulletStyle = state.FindStyle(canvas, own(*style, "BulletStyle"), false);
    }
}

void ApplyStyleFont(TCustomVumCanvas& canvas, const TParaStyle& style)
{
    TVumFont& font = canvas.Font;
    if (style.HasParameter("FontName"))
        font.Name = style.InheritedValue("FontName");
    if (style.HasParameter("FontSize"))
        font.Size = style.GetInteger(canvas, "FontSize", font.Size);
    if (style.HasParameter("FontColor"))
        font.Color = ParseColor(style.InheritedValue("FontColor"));
    font.Style = (font.Style & ~(fsBold | fsItalic | fsUnderline | fsStrikeOut)) |
                 (style.GetInteger(canvas, "FontBold", 0) == 1 ? fsBold : 0) |
                 (style.GetInteger(canvas, "FontItalic", 0) == 1 ? fsItalic : 0) |
                 (style.GetInteger(canvas, "FontUnderline", 0) == 1 ? fsUnderline : 0) |
                 (style.GetInteger(canvas, "FontStrikeOut", 0) == 1 ? fsStrikeOut : 0);
    font.Charset = static_cast<uint8_t>(CharsetFromName(style.InheritedValue("FontCharset"), 1));
}

void SelectStyle(TCustomVumCanvas& canvas, const std::string& name)
{
    TParaStyle* style = Paragraphs(canvas).FindStyle(canvas, name, false);
    if (!style) {
        canvas.ResetTextState(false);
        return;
    }
    canvas.CurrentStyleName = style->Name;
    ApplyStyleFont(canvas, *style);
    canvas.SetCharacterSpacing(style->GetInteger(canvas, "CharacterSpacing", 0));
    canvas.SetFontDegreeAngle(style->GetInteger(canvas, "FontDegreeAngle", 0));
    canvas.SetLineSpacing(style->GetInteger(canvas, "LineSpacing", 0));
}

StylePositions PositionsOf(TCustomVumCanvas& canvas, const TParaStyle& style)
{
    StylePositions p;
    const int32_t indent = style.GetInteger(canvas, "LeftIndent", style.GetInteger(canvas, "Indent", 0));
    p.LeftPos = style.GetInteger(canvas, "LeftMargin", 0) + indent;
    p.FirstPos = p.LeftPos + style.GetInteger(canvas, "FirstIndent", 0);
    p.RightInset = style.GetInteger(canvas, "RightMargin", 0) + style.GetInteger(canvas, "RightIndent", 0);
    return p;
}

LayoutStyle LayoutStyleOf(TCustomVumCanvas& canvas, const TParaStyle& style)
{
    LayoutStyle s;
    s.BottomMargin = style.GetInteger(canvas, "BottomMargin", 0);
    s.SpaceAfter = style.GetInteger(canvas, "SpaceAfter", 0);
    s.AutoPageFeed = style.GetBoolean("AutoPageFeed", true);
    return s;
}

void PlaceAtPageStart(TCustomVumCanvas& canvas)
{
    if (TParaStyle* style = CurrentStyle(canvas)) {
        canvas.CurrentX = PositionsOf(canvas, *style).LeftPos;
        canvas.CurrentY = style->GetInteger(canvas, "TopMargin", 0);
    } else {
        canvas.CurrentX = 0;
        canvas.CurrentY = 0;
    }
}

} // namespace vum
