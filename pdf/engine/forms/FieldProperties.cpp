// The 21 properties of a field: conversion of the caller's number or text to
// the property's type, and the checks that keep a field writable.
#include "engine/forms/PdfField.h"

#include "engine/paragraph/ParaStyle.h"
#include "engine/util/Colors.h"
#include "engine/util/VumError.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vum {

namespace {

const char* const kNames[] = {"Visible",       "ReadOnly",      "Required",        "Password",
                              "CanExport",     "CanPrint",      "AllowOutOfList",  "MaxLength",
                              "Alignment",     "BorderStyle",   "BorderColor",     "BorderWidth",
                              "CheckMark",     "LabelFontName", "LabelFontSize",   "LabelFontColor",
                              "LabelFontBold", "LabelFontItalic", "LabelFontCharset", "Items",
                              "Default"};
constexpr int kCount = static_cast<int>(std::size(kNames));

[[noreturn]] void Invalid(int id)
{
    RaiseContextError("Invalid value for property", FieldPropertyName(id));
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int64_t Integer(int id, const FieldValue& v)
{
    if (!v.IsText)
        return v.Number;
    const std::string t = Trimmed(v.Text);
    int64_t n = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        Invalid(id);
    return n;
}

bool Boolean(int id, const FieldValue& v)
{
    if (!v.IsText)
        return v.Number != 0;
    const std::string t = Upper(Trimmed(v.Text));
    if (t == "TRUE")
        return true;
    if (t == "FALSE")
        return false;
    return Integer(id, v) != 0;
}

TColor Colour(int id, const FieldValue& v)
{
    if (!v.IsText)
        return static_cast<TColor>(v.Number);
    try {
        return ParseColor(v.Text);
    } catch (const VumError&) {
        Invalid(id);
    }
}

int32_t Int32(int id, int64_t n)
{
    if (n < INT32_MIN || n > INT32_MAX)
        Invalid(id);
    return static_cast<int32_t>(n);
}

} // namespace

const char* FieldPropertyName(int id)
{
    return id >= 0 && id < kCount ? kNames[id] : "";
}

void TPdfField::SetProperty(int id, const FieldValue& v)
{
    switch (id) {
    case 0: Visible = Boolean(id, v); break;
    case 1: ReadOnly = Boolean(id, v); break;
    case 2: Required = Boolean(id, v); break;
    case 3: Password = Boolean(id, v); break;
    case 4: CanExport = Boolean(id, v); break;
    case 5: CanPrint = Boolean(id, v); break;
    case 6: AllowOutOfList = Boolean(id, v); break;
    case 7: {
        const int64_t n = Integer(id, v);
        if (n < 0)
            Invalid(id);
        MaxLength = Int32(id, n);
        break;
    }
    case 8:
        if (v.IsText) {
            const std::string t = Upper(Trimmed(v.Text));
            Alignment = t == "CENTER" ? 2 : t == "RIGHT" ? 1 : 0;
        } else {
            Alignment = static_cast<uint8_t>(v.Number);
        }
        break;
    case 9:
        if (v.IsText) {
            const std::string t = Upper(Trimmed(v.Text));
            const auto at = t.empty() ? std::string::npos : std::string("SDBIU").find(t[0]);
            if (at == std::string::npos)
                Invalid(id);
            BorderStyle = static_cast<uint8_t>(at);
        } else {
            BorderStyle = static_cast<uint8_t>(v.Number);
        }
        // Only the five styles have a letter to write.
        if (BorderStyle > 4)
            Invalid(id);
        break;
    case 10: BorderColor = Colour(id, v); break;
    case 11: {
        const int64_t n = Integer(id, v);
        if (n < 0 || n > 5)
            Invalid(id);
        BorderWidth = static_cast<int32_t>(n);
        break;
    }
    case 12: {
        const std::string t = v.IsText ? v.Text : std::to_string(v.Number);
        if (t.empty())
            Invalid(id);
        CheckMark = t.substr(0, 1);
        break;
    }
    case 13: LabelFontName = v.IsText ? v.Text : std::to_string(v.Number); break;
    case 14: LabelFontSize = Int32(id, Integer(id, v)); break;
    case 15: LabelFontColor = Colour(id, v); break;
    case 16: LabelFontBold = Boolean(id, v); break;
    case 17: LabelFontItalic = Boolean(id, v); break;
    case 18: {
        const int64_t n = Integer(id, v);
        if (n < 0 || n > 255)
            Invalid(id);
        LabelFontCharset = static_cast<int32_t>(n);
        break;
    }
    case 19: Items = v.IsText ? v.Text : std::to_string(v.Number); break;
    case 20: Default = v; break;
    default: RaiseContextError("Invalid value for property", std::to_string(id));
    }
}

void TPdfField::ApplyStyle(const TParaStyle& style)
{
    // Booleans and the integer properties from their number form, the rest
    // as text, as SetProperty reads them.
    for (int id = 0; id <= 18; ++id) {
        const std::string value = style.InheritedValue(FieldPropertyName(id));
        if (value.empty())
            continue;
        SetProperty(id, FieldValue{true, 0, value});
    }
}

} // namespace vum
