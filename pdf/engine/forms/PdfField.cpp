#include "engine/forms/PdfField.h"

#include "engine/document/VumDocument.h"
#include "engine/fonts/PdfTextString.h"
#include "engine/paragraph/CanvasText.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"

#include <algorithm>


namespace vum {

namespace {

// `count` centimetres in the document's length unit.
int32_t Centimetres(const TPdfCanvas& canvas, double count)
{
    const double perCm = canvas.Document().LengthUnit() == 1 ? 72.0 / 2.54 : 100.0;
    return static_cast<int32_t>(RoundEven(count * perCm));
}

// A button without a label is named after its part of the field name, so
// that it still has an "on" state of its own.
std::string WantedState(const TPdfField& button)
{
    return button.Label.empty() ? button.Name.substr(button.Name.find('.') + 1) : button.Label;
}

bool DefaultIsTrue(const FieldValue& v)
{
    if (!v.IsText)
        return v.Number != 0;
    return !v.Text.empty() && v.Text != "0" && v.Text != "False" && v.Text != "FALSE" && v.Text != "false";
}

} // namespace

TPdfField::TPdfField(std::string name, const TVumFont& font)
    : Name(std::move(name)),
      LabelFontName(font.Name),
      LabelFontSize(font.Size),
      LabelFontColor(font.Color),
      LabelFontBold((font.Style & fsBold) != 0),
      LabelFontItalic((font.Style & fsItalic) != 0),
      LabelFontCharset(font.Charset)
{
}

TVumFont TPdfField::LabelFont() const
{
    TVumFont f;
    f.Name = LabelFontName;
    f.Size = LabelFontSize;
    f.Color = LabelFontColor;
    f.Charset = static_cast<uint8_t>(LabelFontCharset);
    f.Style = static_cast<uint8_t>((LabelFontBold ? fsBold : 0) | (LabelFontItalic ? fsItalic : 0));
    return f;
}

std::vector<std::string> TPdfField::ItemList() const
{
    std::vector<std::string> items;
    if (Items.empty())
        return items;
    size_t start = 0;
    for (;;) {
        const size_t bar = Items.find('|', start);
        items.push_back(Items.substr(start, bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return items;
}

std::string TPdfField::CaptionLine(const TPdfCanvas&) const { return {}; }

void TPdfField::DrawLabel(TPdfCanvas&, int32_t, int32_t, int32_t, int32_t) {}

int32_t TPdfField::DefaultHeight(TPdfCanvas& canvas) const
{
    return Centimetres(canvas, 0.3) + CanvasTextHeight(canvas, "A");
}

int32_t TPdfField::DefaultWidth(TPdfCanvas& canvas) const { return Centimetres(canvas, 5); }

void TPdfField::LabelAt(TPdfCanvas& canvas, int32_t x, int32_t y, bool labelFont)
{
    if (Label.empty() || !Visible)
        return;
    if (labelFont)
        canvas.Font = LabelFont();
    canvas.TextOut(x, y, Label);
}

// --- push button -----------------------------------------------------------

std::string TPushButtonField::CaptionLine(const TPdfCanvas& canvas) const
{
    return "/CA " + canvas.TextString(Label, AppearanceObject);
}

void TPushButtonField::ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const
{
    lines.push_back("/FT/Btn");
    flags |= 1u << 16;
}

int32_t TPushButtonField::DefaultHeight(TPdfCanvas& canvas) const
{
    return Centimetres(canvas, 0.4) + CanvasTextHeight(canvas, "A");
}

// --- edit and memo boxes ---------------------------------------------------

void TCustomEditBoxField::ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                                     uint32_t& flags) const
{
    lines.push_back("/FT/Tx");
    const std::string text = Default.IsText ? Default.Text : std::string();
    if (!text.empty()) {
        lines.push_back("/V " + canvas.TextString(text, number));
        lines.push_back("/DV " + canvas.TextString(text, number));
    }
    if (Alignment == 1)
        lines.push_back("/Q 2");
    else if (Alignment == 2)
        lines.push_back("/Q 1");
    if (MaxLength > 0)
        lines.push_back("/MaxLen " + std::to_string(MaxLength));
    if (Password)
        flags |= 1u << 13;
}

void TCustomEditBoxField::DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t, int32_t)
{
    const TVumFont saved = canvas.Font;
    canvas.Font = LabelFont();
    const int32_t top = y - CanvasTextHeight(canvas, "A");
    if (top >= 0)
        LabelAt(canvas, x, top, true);
    canvas.Font = saved;
}

void TMemoBoxField::ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                               uint32_t& flags) const
{
    TCustomEditBoxField::ClassLines(canvas, number, lines, flags);
    flags |= 1u << 12;
}

int32_t TMemoBoxField::DefaultHeight(TPdfCanvas& canvas) const { return Centimetres(canvas, 4); }

// --- list and combo boxes --------------------------------------------------

void TCustomChoiceBoxField::ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                                       uint32_t&) const
{
    const std::vector<std::string> items = ItemList();
    int64_t chosen = -1;
    if (!Default.IsText)
        chosen = Default.Number;
    else if (!Default.Text.empty())
        chosen = std::atoll(Default.Text.c_str());
    if (chosen >= 0 && chosen < static_cast<int64_t>(items.size())) {
        const std::string& item = items[static_cast<size_t>(chosen)];
        lines.push_back("/V " + canvas.TextString(item, number));
        lines.push_back("/DV " + canvas.TextString(item, number));
    }
    lines.push_back("/FT/Ch");
    lines.push_back("/Opt [");
    for (const std::string& item : items)
        lines.push_back(canvas.TextString(item, number));
    lines.push_back("]");
}

void TCustomChoiceBoxField::DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t, int32_t)
{
    const int32_t top = y - CanvasTextHeight(canvas, "A");
    if (top >= 0)
        LabelAt(canvas, x, top, false);
}

int32_t TListBoxField::DefaultHeight(TPdfCanvas& canvas) const { return Centimetres(canvas, 4); }

void TComboBoxField::ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                                uint32_t& flags) const
{
    TCustomChoiceBoxField::ClassLines(canvas, number, lines, flags);
    flags |= 1u << 17;
    if (AllowOutOfList)
        flags |= 1u << 18;
}

// --- check boxes and radio buttons -----------------------------------------

std::string TCheckBoxField::CaptionLine(const TPdfCanvas& canvas) const
{
    return "/CA " + canvas.EncodeString(CheckMark, AppearanceObject);
}

void TCheckBoxField::ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t&) const
{
    const char* state = DefaultIsTrue(Default) ? "Yes" : "Off";
    lines.push_back("/FT/Btn");
    lines.push_back(std::string("/V /") + state);
    lines.push_back(std::string("/DV /") + state);
    lines.push_back("/AP << /N << /Yes /null >> >>");
    lines.push_back(std::string("/AS /") + state);
}

void TCheckBoxField::DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t)
{
    const TVumFont saved = canvas.Font;
    LabelAt(canvas, x + width + Centimetres(canvas, 0.2), y, true);
    canvas.Font = saved;
}

int32_t TCheckBoxField::DefaultHeight(TPdfCanvas& canvas) const { return canvas.TextWidth("aa"); }
int32_t TCheckBoxField::DefaultWidth(TPdfCanvas& canvas) const { return canvas.TextWidth("aa"); }

std::string TRadioButtonField::StateName() const
{
    if (stateName_.empty())
        stateName_ = PdfName(OwnState());
    return stateName_;
}

std::string TRadioButtonField::OwnState() const
{
    const std::string wanted = WantedState(*this);
    std::vector<std::string>& given = Group->GivenStates;
    const auto isGiven = [&](const std::string& state) {
        return std::find(given.begin(), given.end(), state) != given.end();
    };
    // "Off" is the name of every button's off state: a button that took it
    // could never be told from the others when off, nor be chosen.
    if (wanted != "Off" && !isGiven(wanted))
        return wanted;
    // A name no other button of the group has, nor will take from its label.
    const auto claimed = [&](const std::string& state) {
        return isGiven(state) || std::any_of(Group->Defined.begin(), Group->Defined.end(), [&](const TRadioButtonField* b) {
                   return b != this && WantedState(*b) == state;
               });
    };
    std::string state;
    for (int64_t n = 1; state.empty() || claimed(state); ++n)
        state = wanted + "_" + IntText(n);
    given.push_back(state);
    return state;
}

bool TRadioButtonField::StartsOn() const
{
    if (!DefaultIsTrue(Default))
        return false;
    // The group's value is the last button set on; the others start off.
    const auto self = std::find(Group->Defined.begin(), Group->Defined.end(), this);
    return std::none_of(self + (self != Group->Defined.end() ? 1 : 0), Group->Defined.end(),
                        [](const TRadioButtonField* b) { return DefaultIsTrue(b->Default); });
}

void TRadioButtonField::ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t&) const
{
    const std::string state = StateName();
    lines.push_back("/AP << /N << " + state + " /null >> >>");
    lines.push_back("/AS " + (StartsOn() ? state : std::string("/Off")));
    lines.push_back("/Parent " + PdfObjectWriter::ObjectRef(Group->FieldObject));
}

// --- radio groups -----------------------------------------------------------

std::string TRadioGroupField::CaptionLine(const TPdfCanvas& canvas) const
{
    return "/CA " + canvas.EncodeString("l", AppearanceObject);
}

void TRadioGroupField::ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const
{
    lines.push_back("/FT/Btn");
    const TRadioButtonField* on = nullptr;
    for (const TRadioButtonField* b : Buttons)
        if (DefaultIsTrue(b->Default))
            on = b;
    if (on) {
        lines.push_back("/V " + on->StateName());
        lines.push_back("/DV " + on->StateName());
    }
    lines.push_back("/Kids [");
    for (const TRadioButtonField* b : Buttons)
        lines.push_back(PdfObjectWriter::ObjectRef(b->WidgetObject));
    lines.push_back("]");
    flags |= 1u << 15;
}

std::unique_ptr<TPdfField> MakeField(int kind, const std::string& name, const TVumFont& font)
{
    std::unique_ptr<TPdfField> field;
    switch (kind) {
    case fkPushButton: field = std::make_unique<TPushButtonField>(name, font); break;
    case fkEditBox: field = std::make_unique<TEditBoxField>(name, font); break;
    case fkMemoBox: field = std::make_unique<TMemoBoxField>(name, font); break;
    case fkListBox: field = std::make_unique<TListBoxField>(name, font); break;
    case fkComboBox: field = std::make_unique<TComboBoxField>(name, font); break;
    case fkCheckBox: field = std::make_unique<TCheckBoxField>(name, font); break;
    case fkRadioButton: field = std::make_unique<TRadioButtonField>(name, font); break;
    default: break;
    }
    if (field && kind != fkEditBox && kind != fkMemoBox) {
        field->Default.IsText = false;
        field->Default.Number = (kind == fkListBox || kind == fkComboBox) ? -1 : 0;
    }
    if (field && (kind == fkEditBox || kind == fkMemoBox))
        field->Default.IsText = true;
    return field;
}

} // namespace vum
