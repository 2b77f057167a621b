// Interactive form fields of the PDF writer: defining, properties, actions,
// placing (field objects written at once), radio groups at the end of their
// page, and the form dictionary at the end of the document.
#include "engine/pdf/PdfCanvas.h"

#include "engine/document/VumDocument.h"
#include "engine/forms/FieldActions.h"
#include "engine/forms/PdfField.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"

#include <cmath>

namespace vum {

TPdfField* TPdfCanvas::FindField(const std::string& name) const
{
    for (const auto& f : formFields_)
        if (f->Name == name)
            return f.get();
    return nullptr;
}

TPdfField& TPdfCanvas::DefinedField(const std::string& name) const
{
    TPdfField* field = FindField(name);
    if (!field)
        RaiseContextError("Field not defined", name);
    return *field;
}

bool TPdfCanvas::HasPlacedFields() const
{
    for (const auto& f : formFields_)
        if (f->Placed)
            return true;
    return false;
}

void TPdfCanvas::DefineField(const std::string& name, int kind, const std::string& label, const std::string& hint,
                             const std::string& styleName)
{
    if (!Guard())
        return;
    if (FindField(name))
        RaiseContextError("Duplicate name", name);
    std::unique_ptr<TPdfField> field = MakeField(kind, name, Font);
    if (!field)
        RaiseContextError("Invalid method call", "DefineField");
    if (kind == fkRadioButton) {
        const size_t dot = name.find('.');
        if (dot == std::string::npos)
            RaiseContextError("Bad RadioButton name (must be prefixed by RadioGroup name)", name);
        const std::string groupName = name.substr(0, dot);
        TPdfField* group = FindField(groupName);
        if (group && !group->IsRadioGroup())
            RaiseContextError("Duplicate name", groupName);
        if (!group) {
            formFields_.push_back(std::make_unique<TRadioGroupField>(groupName, Font));
            group = formFields_.back().get();
        }
        if (group->Placed)
            RaiseContextError("Radio groups must be defined after their radio buttons", groupName);
        field->Group = static_cast<TRadioGroupField*>(group);
        field->Group->Defined.push_back(static_cast<TRadioButtonField*>(field.get()));
    }
    field->Label = label;
    field->Hint = hint;
    if (!styleName.empty())
        field->ApplyStyle(*vum::Paragraphs(*this).FindStyle(*this, styleName, false));
    formFields_.push_back(std::move(field));
    TCustomVumCanvas::DefineField(name, kind, label, hint, styleName);
}

void TPdfCanvas::SetFieldProp(const std::string& name, int id, bool isText, int64_t number, const std::string& text)
{
    if (!Guard())
        return;
    TPdfField& field = DefinedField(name);
    if (field.Placed)
        RaiseContextError("SetField or SetAction method called after PutField", name);
    field.SetProperty(id, FieldValue{isText, number, text});
    TCustomVumCanvas::SetFieldProp(name, id, isText, number, text);
}

void TPdfCanvas::SetAction(const std::string& fieldName, int event, int kind, const std::string& text)
{
    if (!Guard())
        return;
    TPdfField& field = DefinedField(fieldName);
    if (field.Placed)
        RaiseContextError("SetField or SetAction method called after PutField", "SetAction");
    if (event < 0 || event > 8 || kind < 0 || kind > 6)
        RaiseContextError("Invalid method call", "SetAction");
    field.Actions.push_back(TPdfAction{static_cast<uint8_t>(event), static_cast<uint8_t>(kind), text, 0});
    TCustomVumCanvas::SetAction(fieldName, event, kind, text);
}

void TPdfCanvas::PutField(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!Guard())
        return;
    TPdfField& field = DefinedField(name);
    if (field.Placed)
        RaiseContextError("Field already put on form", name);
    if (field.IsRadioGroup())
        RaiseContextError("Invalid method call", "PutField");
    if (field.IsRadioButton() && field.Group->Placed)
        RaiseContextError("Field already put on form", field.Group->Name);
    const int32_t givenWidth = width, givenHeight = height;
    if (width == 0)
        width = field.DefaultWidth(*this);
    if (height == 0)
        height = field.DefaultHeight(*this);
    PlaceField(field, x, y, width, height);
    TCustomVumCanvas::PutField(name, x, y, givenWidth, givenHeight);
}

void TPdfCanvas::WriteAppearance(TPdfField& field)
{
    if (field.UsesLabelFontForAppearance())
        Font = field.LabelFont();
    const int index = FontIndex(CurrentPdfFont());
    field.DefaultAppearance = "/F" + IntText(index) + " " + IntText(std::abs(int64_t(Font.Size))) + " Tf " +
                              FontColorEncoder.Encode(Font.Color, false, true);
    // The buttons of a group share the group's object, written once with the
    // group's caption when its first button is placed.
    TRadioGroupField* group = field.IsRadioButton() ? field.Group
                              : field.IsRadioGroup() ? &static_cast<TRadioGroupField&>(field)
                                                     : nullptr;
    if (group) {
        field.AppearanceObject = group->AppearanceObject;
        if (group->AppearanceWritten)
            return;
        group->AppearanceWritten = true;
        writer_.BeginReservedObject(group->AppearanceObject);
    } else {
        field.AppearanceObject = writer_.BeginObject();
    }
    const TPdfField& shown = group ? static_cast<const TPdfField&>(*group) : field;
    const TColor border = ColorToRGB(shown.BorderColor);
    const TVumBrush brush = group ? group->Brush : Brush;
    const TColor back = ColorToRGB(brush.Color);
    writer_.WriteLine("/BC [" + FormatPdfNumber(RedOf(border) / 255.0) + " " + FormatPdfNumber(GreenOf(border) / 255.0) +
                      " " + FormatPdfNumber(BlueOf(border) / 255.0) + "]");
    writer_.WriteLine("/BG [" + FormatPdfNumber(RedOf(back) / 255.0) + " " + FormatPdfNumber(GreenOf(back) / 255.0) +
                      " " + FormatPdfNumber(BlueOf(back) / 255.0) + "]");
    const std::string caption = shown.CaptionLine(*this);
    if (!caption.empty())
        writer_.WriteLine(caption);
    writer_.EndObject();
}

std::vector<int32_t> TPdfCanvas::WriteFieldActions(TPdfField& field)
{
    std::vector<int32_t> numbers;
    for (TPdfAction& action : field.Actions) {
        action.ObjectNumber = writer_.BeginObject();
        for (const std::string& line : FieldActionLines(*this, action))
            writer_.WriteLine(line);
        writer_.EndObject();
        numbers.push_back(action.ObjectNumber);
    }
    return numbers;
}

int32_t TPdfCanvas::SubmittedFieldsObject()
{
    if (submittedFields_ == 0)
        submittedFields_ = writer_.ReserveObjectNumber();
    return submittedFields_;
}

void TPdfCanvas::WriteSubmittedFields()
{
    // Known only at the end: a field placed after the submit button is in
    // the file too, one defined but never placed is not.
    writer_.BeginReservedObject(submittedFields_, "[");
    for (const auto& f : formFields_)
        if (f->Placed && !f->IsRadioButton() && f->CanExport)
            writer_.WriteLine(TextString(f->Name, submittedFields_));
    writer_.EndObject("]");
}

void TPdfCanvas::PlaceField(TPdfField& field, int32_t x, int32_t y, int32_t width, int32_t height)
{
    field.Placed = true;
    // The label drawn here is drawn again when the placing is replayed.
    const RecordingPause drawnByThePlacing(*this);
    const TVumFont savedFont = Font;
    const TVumBrush savedBrush = Brush;
    const TVumPen savedPen = Pen;

    if (field.IsRadioButton()) {
        TRadioGroupField& group = *field.Group;
        if (group.FieldObject == 0) {
            group.FieldObject = writer_.ReserveObjectNumber();
            group.AppearanceObject = writer_.ReserveObjectNumber();
            group.Brush = Brush;
            group.Hint = field.Hint;
        }
        group.Buttons.push_back(static_cast<TRadioButtonField*>(&field));
    }
    if (checkMarkFont_ == 0 && dynamic_cast<const TCheckBoxField*>(&field))
        checkMarkFont_ = writer_.ReserveObjectNumber();
    WriteAppearance(field);
    WriteFieldActions(field);

    uint32_t flags = 0;
    if (!field.IsRadioButton()) {
        if (field.ReadOnly)
            flags |= 1;
        if (field.Required)
            flags |= 2;
        if (!field.CanExport)
            flags |= 4;
    }
    std::vector<std::string> lines;
    const bool reserved = field.IsRadioGroup();
    int32_t number = 0;
    if (reserved) {
        number = static_cast<TRadioGroupField&>(field).FieldObject;
        writer_.BeginReservedObject(number);
    } else {
        number = writer_.BeginObject();
        field.WidgetObject = number;
        lines.push_back("/Type/Annot");
        lines.push_back("/Subtype/Widget");
        lines.push_back("/Rect[" + X(x) + " " + Y(y) + " " + X(double(x) + width) + " " + Y(double(y) + height) + "]");
        lines.push_back("/MK " + PdfObjectWriter::ObjectRef(field.AppearanceObject));
        const int annotationFlags = (field.Visible ? 0 : 2) | (field.CanPrint ? 4 : 0);
        if (annotationFlags != 0)
            lines.push_back("/F " + IntText(annotationFlags));
    }
    if (!field.IsRadioButton()) {
        lines.push_back("/T " + TextString(field.Name, number));
        if (!field.Hint.empty())
            lines.push_back("/TU " + TextString(field.Hint, number));
    }
    std::string border = "/BS <<";
    if (field.BorderWidth == 0)
        border += "/W 0";
    else
        border += (field.BorderWidth != 1 ? "/W " + IntText(field.BorderWidth) + " " : std::string()) + "/S/" +
                  std::string(1, "SDBIU"[field.BorderStyle]);
    lines.push_back(border + ">>");
    lines.push_back("/DA " + EncodeString(field.DefaultAppearance, number));
    if (!field.Actions.empty()) {
        lines.push_back("/AA<<");
        for (const TPdfAction& action : field.Actions)
            lines.push_back(std::string("/") + ActionEventKey(action.Event) + " " +
                            PdfObjectWriter::ObjectRef(action.ObjectNumber));
        lines.push_back(">>");
    }
    field.ClassLines(*this, number, lines, flags);
    if (flags != 0)
        lines.push_back("/Ff " + IntText(static_cast<int64_t>(flags)));
    for (const std::string& line : lines)
        writer_.WriteLine(line);
    writer_.EndObject();

    field.DrawLabel(*this, x, y, width, height);
    if (!reserved)
        pageAnnots_.push_back(number);
    Font = savedFont;
    Brush = savedBrush;
    Pen = savedPen;
}

void TPdfCanvas::CheckPageCanClose() const
{
    // Said at the call that ends the page, which then stays open: another
    // button may still be placed.
    for (const auto& f : formFields_)
        if (f->IsRadioGroup() && !f->Placed && static_cast<const TRadioGroupField&>(*f).Buttons.size() == 1)
            RaiseContextError("A radio group needs at least two buttons on its page", f->Name);
}

void TPdfCanvas::PlaceRadioGroups()
{
    for (const auto& f : formFields_) {
        if (!f->IsRadioGroup() || f->Placed)
            continue;
        auto& group = static_cast<TRadioGroupField&>(*f);
        if (group.FieldObject == 0)
            continue;
        // A group is one choice among several buttons; with one it would be
        // a check box that cannot be turned off.
        if (group.Buttons.size() < 2)
            RaiseMethodError("A radio group needs at least two buttons on its page", group.Name);
        group.Brush = Brush;
        PlaceField(group, 0, 0, 0, 0);
    }
}

void TPdfCanvas::WriteFormDictionary()
{
    writer_.BeginReservedObject(4);
    writer_.WriteLine("/Fields[");
    for (const auto& f : formFields_)
        if (f->Placed && !f->IsRadioButton())
            writer_.WriteLine(PdfObjectWriter::ObjectRef(f->IsRadioGroup()
                                                             ? static_cast<TRadioGroupField&>(*f).FieldObject
                                                             : f->WidgetObject));
    writer_.WriteLine("]");
    writer_.WriteLine("/NeedAppearances true");
    writer_.WriteLine("/DR 3 0 R");
    writer_.EndObject();
    if (submittedFields_ != 0)
        WriteSubmittedFields();
    if (checkMarkFont_ != 0) {
        // Viewers that draw the buttons themselves take their check mark
        // from this font.
        writer_.BeginReservedObject(checkMarkFont_);
        writer_.WriteLine("/Type/Font");
        writer_.WriteLine("/Subtype/Type1");
        writer_.WriteLine("/BaseFont/ZapfDingbats");
        writer_.EndObject();
    }
}

} // namespace vum
