#pragma once

#include "engine/canvas/DrawingTools.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vum {

class TPdfCanvas;
class TParaStyle;

// One action of a field, written when the field is placed.
struct TPdfAction {
    uint8_t Event = 0;  // 0 V, 1 E, 2 X, 3 F, 4 Fo, 5 K, 6 Bl, 7 D, 8 U
    uint8_t Kind = 0;   // 0 link, 1 hide, 2 show, 3 submit, 4 reset, 5 import, 6 script
    std::string Text;
    int32_t ObjectNumber = 0;
};

// A property value as the caller gave it: a number or a text.
struct FieldValue {
    bool IsText = false;
    int64_t Number = 0;
    std::string Text;
};

enum FieldKind : uint8_t {
    fkPushButton = 0,
    fkEditBox = 1,
    fkMemoBox = 2,
    fkListBox = 3,
    fkComboBox = 4,
    fkCheckBox = 5,
    fkRadioButton = 6,
};

// An interactive form field. Defined, then its properties and actions may
// change; once placed it is frozen. Appearances are left to the viewer.
class TPdfField {
public:
    TPdfField(std::string name, const TVumFont& font);
    virtual ~TPdfField() = default;

    // "/CA ..." of the appearance characteristics, or "" for none.
    virtual std::string CaptionLine(const TPdfCanvas& canvas) const;
    // The kind's own lines of the field object; may add flag bits.
    virtual void ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                            uint32_t& flags) const = 0;
    // The label drawn on the page beside or above the field.
    virtual void DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height);
    virtual int32_t DefaultHeight(TPdfCanvas& canvas) const;
    virtual int32_t DefaultWidth(TPdfCanvas& canvas) const;
    virtual bool IsRadioButton() const { return false; }
    virtual bool IsRadioGroup() const { return false; }
    // Push buttons set the label font before their appearance is written.
    virtual bool UsesLabelFontForAppearance() const { return false; }

    // Sets property `id` from a number or a text, with its checks;
    // "Invalid value for property" (property name) when they fail.
    void SetProperty(int id, const FieldValue& value);
    // The properties a paragraph style holds, as SetProperty would set them.
    void ApplyStyle(const TParaStyle& style);
    TVumFont LabelFont() const;

    std::string Name, Label, Hint, DefaultAppearance;
    std::vector<TPdfAction> Actions;
    bool Placed = false;
    int32_t WidgetObject = 0;
    int32_t AppearanceObject = 0;
    class TRadioGroupField* Group = nullptr;  // a radio button's group

    bool Visible = true, ReadOnly = false, Required = false, Password = false;
    bool CanExport = true, CanPrint = true, AllowOutOfList = false;
    int32_t MaxLength = 0;
    uint8_t Alignment = 0, BorderStyle = 0;
    TColor BorderColor = ColorBlack;
    int32_t BorderWidth = 1;
    std::string CheckMark = "4";
    std::string LabelFontName;
    int32_t LabelFontSize = 10;
    TColor LabelFontColor = ColorBlack;
    bool LabelFontBold = false, LabelFontItalic = false;
    int32_t LabelFontCharset = 1;
    std::string Items;
    FieldValue Default;

protected:
    std::vector<std::string> ItemList() const;
    // The label at (x, y) in the label font.
    void LabelAt(TPdfCanvas& canvas, int32_t x, int32_t y, bool labelFont);
};

class TPushButtonField : public TPdfField {
public:
    using TPdfField::TPdfField;
    std::string CaptionLine(const TPdfCanvas& canvas) const override;
    void ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const override;
    void DrawLabel(TPdfCanvas&, int32_t, int32_t, int32_t, int32_t) override {}
    int32_t DefaultHeight(TPdfCanvas& canvas) const override;
    bool UsesLabelFontForAppearance() const override { return true; }
};

class TCustomEditBoxField : public TPdfField {
public:
    using TPdfField::TPdfField;
    void ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                    uint32_t& flags) const override;
    void DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t, int32_t) override;
};

class TEditBoxField : public TCustomEditBoxField {
public:
    using TCustomEditBoxField::TCustomEditBoxField;
};

class TMemoBoxField : public TCustomEditBoxField {
public:
    using TCustomEditBoxField::TCustomEditBoxField;
    void ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                    uint32_t& flags) const override;
    int32_t DefaultHeight(TPdfCanvas& canvas) const override;
};

class TCustomChoiceBoxField : public TPdfField {
public:
    using TPdfField::TPdfField;
    void ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                    uint32_t& flags) const override;
    void DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t, int32_t) override;
};

class TListBoxField : public TCustomChoiceBoxField {
public:
    using TCustomChoiceBoxField::TCustomChoiceBoxField;
    int32_t DefaultHeight(TPdfCanvas& canvas) const override;
};

class TComboBoxField : public TCustomChoiceBoxField {
public:
    using TCustomChoiceBoxField::TCustomChoiceBoxField;
    void ClassLines(TPdfCanvas& canvas, int32_t number, std::vector<std::string>& lines,
                    uint32_t& flags) const override;
};

class TCheckBoxField : public TPdfField {
public:
    using TPdfField::TPdfField;
    std::string CaptionLine(const TPdfCanvas& canvas) const override;
    void ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const override;
    void DrawLabel(TPdfCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t) override;
    int32_t DefaultHeight(TPdfCanvas& canvas) const override;
    int32_t DefaultWidth(TPdfCanvas& canvas) const override;
};

class TRadioButtonField : public TCheckBoxField {
public:
    using TCheckBoxField::TCheckBoxField;
    std::string CaptionLine(const TPdfCanvas&) const override { return {}; }
    void ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const override;
    bool IsRadioButton() const override { return true; }
    // The name of the button's "on" state, slash included: its label (its
    // part of the field name when the label is empty) as a PDF name, unless
    // that is the off state's name "Off" or a name given in its place (see
    // OwnState). Fixed the first time it is asked for, when the button is
    // placed, so that its widget and its group say the same.
    std::string StateName() const;
    // The button is the one its group starts with.
    bool StartsOn() const;

private:
    // Its label or name part, or a name of its own in place of that.
    std::string OwnState() const;

    mutable std::string stateName_;
};

// The parent field of radio buttons, written at the end of the page on
// which its buttons were placed.
class TRadioGroupField : public TPdfField {
public:
    using TPdfField::TPdfField;
    std::string CaptionLine(const TPdfCanvas& canvas) const override;
    void ClassLines(TPdfCanvas&, int32_t, std::vector<std::string>& lines, uint32_t& flags) const override;
    void DrawLabel(TPdfCanvas&, int32_t, int32_t, int32_t, int32_t) override {}
    bool IsRadioGroup() const override { return true; }

    std::vector<TRadioButtonField*> Buttons;  // placed, in order
    std::vector<TRadioButtonField*> Defined;  // defined, in order
    // States its buttons were given in place of their labels, as bytes.
    std::vector<std::string> GivenStates;
    TVumBrush Brush;
    int32_t FieldObject = 0;  // both reserved when the first button is placed
    bool AppearanceWritten = false;
};

// A new field of the kind (0 to 6), null for any other kind.
std::unique_ptr<TPdfField> MakeField(int kind, const std::string& name, const TVumFont& font);

// The names of the properties by id, as errors name them.
const char* FieldPropertyName(int id);

} // namespace vum
