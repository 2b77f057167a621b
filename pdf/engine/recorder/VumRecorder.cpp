#include "engine/recorder/VumRecorder.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vum {

TCustomVumDocument::TCustomVumDocument(TCustomVum& owner) : owner_(owner) {}

void TCustomVumDocument::Load(std::string list)
{
    list_ = std::move(list);
    position_ = 0;
    counterStyles_.clear();
}

void TCustomVumDocument::Rewind(const ListMark& mark)
{
    if (mark.Size > list_.size())
        return;
    list_.resize(mark.Size);
    counterStyles_.resize(std::min(counterStyles_.size(), mark.CounterStyles));
    LastBrush = mark.Brush;
    LastFont = mark.Font;
    LastPen = mark.Pen;
}

void TCustomVumDocument::NoteCounterStyle(const std::string& style)
{
    if (Enabled && !style.empty())
        counterStyles_.emplace_back(list_.size(), style);
}

// --- writers -----------------------------------------------------------------

void TCustomVumDocument::WriteByte(uint8_t value)
{
    if (Enabled)
        list_.push_back(static_cast<char>(value));
}

void TCustomVumDocument::WriteInteger(int32_t value)
{
    if (!Enabled)
        return;
    const auto v = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    list_.append(bytes, 4);
}

void TCustomVumDocument::WriteIntegers(std::initializer_list<int32_t> values)
{
    for (const int32_t v : values)
        WriteInteger(v);
}

void TCustomVumDocument::WriteDouble(double value)
{
    if (!Enabled)
        return;
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        list_.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

void TCustomVumDocument::WriteRect(const TRect& rect)
{
    WriteIntegers({rect.Left, rect.Top, rect.Right, rect.Bottom});
}

void TCustomVumDocument::WritePoints(const std::vector<TPoint>& points)
{
    WriteInteger(static_cast<int32_t>(points.size()));
    for (const TPoint& p : points)
        WriteIntegers({p.X, p.Y});
}

void TCustomVumDocument::WriteString(std::string_view text)
{
    if (!Enabled)
        return;
    // A zero byte ends the text in the list: what follows it cannot be kept.
    list_.append(text.substr(0, text.find('\0')));
    list_.push_back('\0');
}

void TCustomVumDocument::WriteStrings(std::initializer_list<std::string_view> texts)
{
    for (const std::string_view text : texts)
        WriteString(text);
}

void TCustomVumDocument::WriteVariant(const RecordVariant& value)
{
    switch (value.Type) {
    case vtSmallInt:
    case vtInteger:
        WriteInteger(value.Type);
        WriteInteger(static_cast<int32_t>(value.Integer));
        return;
    case vtSingle:
    case vtDouble:
    case vtCurrency:
    case vtDate:
        WriteInteger(value.Type);
        WriteDouble(value.Real);
        return;
    case vtOleText:
    case vtText:
        WriteInteger(value.Type);
        WriteString(value.Text);
        return;
    case vtBoolean:
        WriteInteger(value.Type);
        WriteBoolean(value.Boolean ? 1 : 0);
        return;
    default:
        RaiseContextError("Internal error", "TCustomVumDocument.WriteVariant [" + IntText(value.Type) + "]");
    }
}

void TCustomVumDocument::WriteBrushPenDeltas(const TCustomVumCanvas& canvas)
{
    if (!Enabled)
        return;
    const TVumBrush& brush = canvas.Brush;
    if (brush.Color != LastBrush.Color) {
        WriteOpcode(opBrushColor);
        WriteInteger(static_cast<int32_t>(brush.Color));
    }
    if (brush.Style != LastBrush.Style) {
        WriteOpcode(opBrushStyle);
        WriteByte(brush.Style);
    }
    LastBrush = brush;
    const TVumPen& pen = canvas.Pen;
    if (pen.Color != LastPen.Color) {
        WriteOpcode(opPenColor);
        WriteInteger(static_cast<int32_t>(pen.Color));
    }
    if (pen.Style != LastPen.Style) {
        WriteOpcode(opPenStyle);
        WriteByte(pen.Style);
    }
    if (pen.Width != LastPen.Width) {
        WriteOpcode(opPenWidth);
        WriteInteger(pen.Width);
    }
    LastPen = pen;
}

void TCustomVumDocument::WriteFontDeltas(const TCustomVumCanvas& canvas)
{
    if (!Enabled)
        return;
    const TVumFont& font = canvas.Font;
    if (font.Color != LastFont.Color) {
        WriteOpcode(opFontColor);
        WriteInteger(static_cast<int32_t>(font.Color));
    }
    if (font.Style != LastFont.Style) {
        WriteOpcode(opFontStyle);
        WriteBoolean((font.Style & fsBold) ? 1 : 0);
        WriteBoolean((font.Style & fsItalic) ? 1 : 0);
        WriteBoolean((font.Style & fsUnderline) ? 1 : 0);
        WriteBoolean((font.Style & fsStrikeOut) ? 1 : 0);
    }
    if (font.Size != LastFont.Size) {
        WriteOpcode(opFontSize);
        WriteInteger(font.Size);
    }
    if (font.Charset != LastFont.Charset) {
        WriteOpcode(opFontCharset);
        WriteInteger(font.Charset);
    }
    if (font.Name != LastFont.Name) {
        WriteOpcode(opFontName);
        WriteString(font.Name);
    }
    LastFont = font;
}

// --- readers -----------------------------------------------------------------

void TCustomVumDocument::Need(size_t bytes) const
{
    if (position_ > list_.size() || list_.size() - position_ < bytes)
        RaiseContextError("Internal error", "TCustomVumDocument: record past the end of the list");
}

uint8_t TCustomVumDocument::ReadByte()
{
    Need(1);
    return static_cast<uint8_t>(list_[position_++]);
}

int32_t TCustomVumDocument::ReadInteger()
{
    Need(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(list_[position_ + static_cast<size_t>(i)]);
    position_ += 4;
    return static_cast<int32_t>(v);
}

std::vector<int32_t> TCustomVumDocument::ReadIntegers(size_t count)
{
    Need(count * 4);
    std::vector<int32_t> values(count);
    for (int32_t& v : values)
        v = ReadInteger();
    return values;
}

double TCustomVumDocument::ReadDouble()
{
    Need(8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<uint8_t>(list_[position_ + static_cast<size_t>(i)]);
    position_ += 8;
    return std::bit_cast<double>(bits);
}

TRect TCustomVumDocument::ReadRect()
{
    TRect r;
    r.Left = ReadInteger();
    r.Top = ReadInteger();
    r.Right = ReadInteger();
    r.Bottom = ReadInteger();
    return r;
}

std::vector<TPoint> TCustomVumDocument::ReadPoints()
{
    const int32_t count = ReadInteger();
    // A count the rest of the list cannot hold is a broken list, not a
    // reason to allocate.
    if (count < 0)
        RaiseContextError("Internal error", "TCustomVumDocument: bad point count");
    Need(static_cast<size_t>(count) * 8);
    std::vector<TPoint> points(static_cast<size_t>(count));
    for (TPoint& p : points) {
        p.X = ReadInteger();
        p.Y = ReadInteger();
    }
    return points;
}

std::string TCustomVumDocument::ReadString()
{
    Need(1);
    const size_t end = list_.find('\0', position_);
    if (end == std::string::npos)
        RaiseContextError("Internal error", "TCustomVumDocument: text past the end of the list");
    std::string text = list_.substr(position_, end - position_);
    position_ = end + 1;
    return text;
}

std::vector<std::string> TCustomVumDocument::ReadStrings(size_t count)
{
    std::vector<std::string> texts;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i)
        texts.push_back(ReadString());
    return texts;
}

RecordVariant TCustomVumDocument::ReadVariant()
{
    RecordVariant value;
    value.Type = ReadInteger();
    switch (value.Type) {
    case vtSmallInt:
    case vtInteger:
        value.Integer = ReadInteger();
        break;
    case vtSingle:
    case vtDouble:
    case vtCurrency:
    case vtDate:
        value.Real = ReadDouble();
        break;
    case vtOleText:
    case vtText:
        value.Text = ReadString();
        break;
    case vtBoolean:
        value.Boolean = ReadBoolean();
        break;
    default:
        RaiseContextError("Internal error", "TCustomVumDocument.ReadVariant " + IntText(value.Type));
    }
    return value;
}

// --- the document's records ----------------------------------------------------

void TCustomVumDocument::Reset()
{
    list_.clear();
    position_ = 0;
    counterStyles_.clear();
    LastFont = TVumFont{};
    LastBrush = TVumBrush{};
    LastPen = TVumPen{};
    const TCustomVumCanvas& canvas = owner_.Canvas();
    WriteOpcode(opImageCompressMode);
    WriteByte(owner_.ImageCompressMode());
    WriteOpcode(opJpegQuality);
    WriteInteger(owner_.JpegQuality());
    WriteOpcode(opSmartStretchDraw);
    WriteBoolean(owner_.SmartStretchDraw());
    WriteOpcode(opCharacterSpacing);
    WriteInteger(canvas.CharacterSpacing());
    WriteOpcode(opLineSpacing);
    WriteInteger(canvas.LineSpacing);
    WriteOpcode(opMetafileResolution);
    WriteInteger(canvas.MetafileResolution);
    WriteOpcode(opNoImageReuse);
    WriteBoolean(canvas.NoImageReuse);
    WriteOpcode(opImageHorzAlign);
    WriteByte(canvas.ImageHorzAlign);
    WriteOpcode(opImageVertAlign);
    WriteByte(canvas.ImageVertAlign);
}

void RecordDocumentStart(TCustomVumDocument& recorder, TCustomVum& document)
{
    std::string fonts;
    for (const std::string& name : document.NonEmbeddedFonts())
        fonts += name + "\r\n";
    recorder.WriteOpcode(opDocumentInfo);
    recorder.WriteStrings({document.Author(), fonts, document.Keywords(), document.Producer(),
                           document.Subject(), document.Title()});
    recorder.WriteByte(document.LengthUnit());
    recorder.WriteBoolean(document.EmbedFonts());
    recorder.WriteBoolean(document.WantPageCount());
    RecordStyles(recorder, document.Canvas());
    recorder.WriteOpcode(opDocumentOrientation);
    recorder.WriteByte(document.Orientation());
}

void RecordStyles(TCustomVumDocument& recorder, TCustomVumCanvas& canvas)
{
    if (!recorder.Enabled)
        return;
    for (const auto& style : Paragraphs(canvas).Styles) {
        std::string lines;
        for (const auto& [key, value] : style->Parameters)
            lines += key + "=" + value + "\r\n";
        recorder.WriteOpcode(opParagraphStyle);
        recorder.WriteStrings({style->Name, lines});
    }
    recorder.WriteOpcode(opEndOfParagraphStyles);
}

RecordingPause::RecordingPause(TCustomVum& document) : document_(document)
{
    if (TCustomVumDocument* recorder = document_.Recorder()) {
        wasEnabled_ = recorder->Enabled;
        recorder->Enabled = false;
    }
}

RecordingPause::RecordingPause(const TCustomVumCanvas& canvas) : RecordingPause(canvas.Document()) {}

RecordingPause::~RecordingPause()
{
    // Looked up again: the recorder may have been replaced meanwhile.
    if (TCustomVumDocument* recorder = document_.Recorder())
        recorder->Enabled = wasEnabled_;
}

} // namespace vum
