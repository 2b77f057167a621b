// Running a display list again against its document: each record becomes
// the call it was made from.
#include "engine/recorder/VumRecorder.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/PictureHolder.h"
#include "engine/document/VumDocument.h"
#include "engine/fonts/PdfTextFonts.h"
#include "engine/paragraph/CanvasText.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/paragraph/Paragraphs.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"

#include <cmath>

namespace vum {

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

void TCustomVumDocument::Run()
{
    if (list_.empty())
        RaiseContextError("Document not opened");
    position_ = 0;
    counterCursor_ = 0;
    ReplayPageNumber = ReplaySectionNumber = ReplaySectionPageNumber = 1;
    TCustomVumCanvas& canvas = owner_.Canvas();
    canvas.ResetDocument();
    canvas.ResetTextState(true);
    // The owner's Abort only asks the run to stop: this list stays alive
    // until the run has returned.
    while (!AtEnd() && !owner_.ReplayStopped()) {
        const uint8_t opcode = ReadOpcode() & 0x7F;
        if (opcode == opDocumentEnd) {
            owner_.EndDoc();
            return;
        }
        RunRecord(opcode);
    }
}

void TCustomVumDocument::RunRecord(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    switch (opcode) {
    case opDocumentInfo: RunDocumentInfo(); return;
    case opDocumentOrientation:
        owner_.SetOrientation(ReadByte());
        owner_.BeginDoc();
        return;
    case opNewPage: RunPageStart(); return;
    case opDrawPageCounter: RunPageCounter(); return;
    case opSetPageNumberFormat: {
        const uint8_t page = ReadByte();
        owner_.SetPageNumberFormat(page, ReadByte());
        return;
    }
    case opDeclareSymbolicFont: DeclareSymbolicFont(owner_, ReadString()); return;
    case opDefineName:
    case opSetBookmark:
    case opSetLink:
    case opAnnotation:
    case opRubberStamp: RunStructure(opcode); return;
    case opSetColorEx: {
        const uint8_t target = ReadByte();
        const uint8_t mode = ReadByte();
        const auto v = ReadIntegers(4);
        if (target < 1 || target > 3)
            RaiseContextError("Internal error", "TCustomVumDocument.Run|SetColorEx");
        canvas.SetColorEx(target - 1, mode, v[0], v[1], v[2], v[3]);
        return;
    }
    case opDrawImage: {
        const int32_t index = ReadInteger();
        const TRect rect = ReadRect();
        if (index < 0 || static_cast<size_t>(index) >= owner_.Images.size())
            RaiseContextError("Internal error", "TCustomVumDocument.Run|DrawImage");
        canvas.DrawImage(rect, static_cast<TCustomVumImage&>(*owner_.Images[static_cast<size_t>(index)]));
        return;
    }
    case opTextOut: {
        const auto v = ReadIntegers(2);
        canvas.TextOut(v[0], v[1], ReadString());
        return;
    }
    case opDefineField:
    case opPutField:
    case opSetFieldProp:
    case opSetAction: RunField(opcode); return;
    case opDefineStyle:
    case opParagraphStyle:
    case opEndOfParagraphStyles: RunStyle(opcode); return;
    default:
        break;
    }
    if (opcode >= opArc && opcode <= opRoundRect)
        RunShape(opcode);
    else if (opcode >= opImageCompressMode && opcode <= opPenWidth)
        RunState(opcode);
    // Opcodes beyond the table carry no operands and do nothing.
}

void TCustomVumDocument::RunStructure(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    switch (opcode) {
    case opDefineName: {
        const auto v = ReadIntegers(2);
        canvas.DefineName(v[0], v[1], ReadString());
        return;
    }
    case opSetBookmark: {
        const auto v = ReadIntegers(2);
        // Recorded as the calls cut it (255 characters, not bytes).
        const std::string title = ReadString();
        const int32_t level = ReadInteger();
        const bool open = ReadBoolean();
        canvas.SetBookmark(v[0], v[1], title, level, open);
        return;
    }
    case opSetLink: {
        const auto v = ReadIntegers(4);
        canvas.SetLink(v[0], v[1], v[2], v[3], ReadString());
        return;
    }
    case opAnnotation: {
        const auto v = ReadIntegers(2);
        const std::string text = ReadString();
        canvas.Annotation(v[0], v[1], text, ReadByte());
        return;
    }
    case opRubberStamp: {
        const auto v = ReadIntegers(4);
        const std::string text = ReadString();
        canvas.RubberStamp(v[0], v[1], v[2], v[3], text, ReadByte());
        return;
    }
    default: return;
    }
}

void TCustomVumDocument::RunDocumentInfo()
{
    const std::vector<std::string> texts = ReadStrings(6);
    const uint8_t unit = ReadByte();
    const uint8_t embed = ReadByte();
    const bool wantPageCount = ReadBoolean();
    if (owner_.Printing())
        return;
    owner_.SetAuthor(texts[0]);
    owner_.SetNonEmbeddedFonts(Lines(texts[1]));
    owner_.SetKeywords(texts[2]);
    owner_.SetProducer(texts[3]);
    owner_.SetSubject(texts[4]);
    owner_.SetTitle(texts[5]);
    owner_.SetLengthUnit(unit);
    owner_.SetEmbedFonts(embed);
    if (wantPageCount)
        owner_.SetWantPageCount(1);
}

void TCustomVumDocument::RunPageStart()
{
    ++ReplayPageNumber;
    ++ReplaySectionPageNumber;
    const uint8_t orientation = ReadByte();
    const auto size = ReadIntegers(2);
    ReadBoolean();
    const bool newSection = ReadBoolean();
    const std::string styleName = ReadString();
    if (newSection) {
        ++ReplaySectionNumber;
        ReplaySectionPageNumber = 1;
    }
    owner_.StartPage(orientation, size[0], size[1], newSection);
    // Only the name: the font of the page's text is in the records that
    // follow, measured against what was recorded, not against the style.
    TCustomVumCanvas& canvas = owner_.Canvas();
    TParaStyle* style = Paragraphs(canvas).FindStyle(canvas, styleName, false);
    canvas.CurrentStyleName = style ? style->Name : std::string();
}

void TCustomVumDocument::RunPageCounter()
{
    const size_t at = position_ - 1;
    const auto v = ReadIntegers(6);
    const std::vector<std::string> texts = ReadStrings(3);
    TCustomVumCanvas& canvas = owner_.Canvas();
    // The position was recorded as it was resolved: a top of 0 is the top.
    if (v[1] == 0)
        canvas.CurrentY = 0;
    // Laid out in the style it was drawn in (its margins and page feed
    // apply to the line), then the page's style again.
    const std::string pageStyle = canvas.CurrentStyleName;
    while (counterCursor_ < counterStyles_.size() && counterStyles_[counterCursor_].first < at)
        ++counterCursor_;
    if (counterCursor_ < counterStyles_.size() && counterStyles_[counterCursor_].first == at)
        canvas.CurrentStyleName = counterStyles_[counterCursor_].second;
    CanvasDrawPageCounter(canvas, v[0], v[1], v[2], static_cast<uint8_t>(v[3]), texts[0], v[4], texts[1], v[5],
                          texts[2]);
    canvas.CurrentStyleName = pageStyle;
}

void TCustomVumDocument::RunShape(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    switch (opcode) {
    case opArc:
    case opChord:
    case opPie: {
        const auto v = ReadIntegers(8);
        if (opcode == opArc)
            canvas.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        else if (opcode == opChord)
            canvas.Chord(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        else
            canvas.Pie(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        return;
    }
    case opEllipse:
    case opRectangle: {
        const auto v = ReadIntegers(4);
        if (opcode == opEllipse)
            canvas.Ellipse(v[0], v[1], v[2], v[3]);
        else
            canvas.Rectangle(v[0], v[1], v[2], v[3]);
        return;
    }
    case opFillRect: canvas.FillRect(ReadRect()); return;
    case opFrameRect: canvas.FrameRect(ReadRect()); return;
    case opLineTo:
    case opMoveTo: {
        const auto v = ReadIntegers(2);
        if (opcode == opLineTo)
            canvas.LineTo(v[0], v[1]);
        else
            canvas.MoveTo(v[0], v[1]);
        return;
    }
    case opPolyBezier: canvas.PolyBezier(ReadPoints()); return;
    case opPolygon: canvas.Polygon(ReadPoints()); return;
    case opPolyline: canvas.Polyline(ReadPoints()); return;
    case opRoundRect: {
        const auto v = ReadIntegers(6);
        canvas.RoundRect(v[0], v[1], v[2], v[3], v[4], v[5]);
        return;
    }
    default: return;
    }
}

void TCustomVumDocument::RunState(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    switch (opcode) {
    case opImageCompressMode: owner_.SetImageCompressMode(ReadByte()); return;
    case opJpegQuality: owner_.SetJpegQuality(ReadInteger()); return;
    case opSmartStretchDraw: owner_.SetSmartStretchDraw(ReadByte()); return;
    case opCharacterSpacing: canvas.SetCharacterSpacing(ReadInteger()); return;
    case opLineSpacing: canvas.SetLineSpacing(ReadInteger()); return;
    case opMetafileResolution: canvas.SetMetafileResolution(ReadInteger()); return;
    case opNoImageReuse: canvas.SetNoImageReuse(ReadByte()); return;
    case opImageHorzAlign: canvas.SetImageHorzAlign(ReadByte()); return;
    case opImageVertAlign: canvas.SetImageVertAlign(ReadByte()); return;
    case opFontCharset: canvas.Font.Charset = static_cast<uint8_t>(ReadInteger()); return;
    case opFontColor: canvas.Font.Color = static_cast<TColor>(ReadInteger()); return;
    case opFontDegreeAngle: canvas.SetFontDegreeAngle(ReadInteger()); return;
    case opFontName: canvas.Font.Name = ReadString(); return;
    case opFontSize: canvas.Font.Size = ReadInteger(); return;
    case opFontStyle: {
        uint8_t style = 0;
        for (const uint8_t bit : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
            if (ReadBoolean())
                style |= bit;
        canvas.Font.Style = style;
        return;
    }
    case opBrushColor: canvas.Brush.Color = static_cast<TColor>(ReadInteger()); return;
    case opBrushStyle: canvas.Brush.Style = ReadByte(); return;
    case opPenColor: canvas.Pen.Color = static_cast<TColor>(ReadInteger()); return;
    case opPenStyle: canvas.Pen.Style = ReadByte(); return;
    case opPenWidth: canvas.Pen.Width = ReadInteger(); return;
    default: return;
    }
}

void TCustomVumDocument::RunField(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    switch (opcode) {
    case opDefineField: {
        const uint8_t kind = ReadByte();
        const std::vector<std::string> t = ReadStrings(4);
        canvas.DefineField(t[0], kind, t[1], t[2], t[3]);
        return;
    }
    case opPutField: {
        const std::string name = ReadString();
        const auto v = ReadIntegers(4);
        canvas.PutField(name, v[0], v[1], v[2], v[3]);
        return;
    }
    case opSetFieldProp: {
        const std::string name = ReadString();
        const uint8_t id = ReadByte();
        const RecordVariant value = ReadVariant();
        const bool isText = value.Type == vtText || value.Type == vtOleText;
        int64_t number = value.Integer;
        if (value.Type == vtBoolean)
            number = value.Boolean ? 1 : 0;
        else if (value.Type >= vtSingle && value.Type <= vtDate)
            number = std::llround(value.Real);
        canvas.SetFieldProp(name, id, isText, number, value.Text);
        return;
    }
    case opSetAction: {
        const std::vector<std::string> t = ReadStrings(2);
        const uint8_t event = ReadByte();
        canvas.SetAction(t[0], event, ReadByte(), t[1]);
        return;
    }
    default: return;
    }
}

void TCustomVumDocument::RunStyle(uint8_t opcode)
{
    TCustomVumCanvas& canvas = owner_.Canvas();
    if (opcode == opDefineStyle) {
        const std::vector<std::string> t = ReadStrings(3);
        DefineStyle(canvas, t[0], t[1], t[2]);
    } else if (opcode == opParagraphStyle) {
        const std::vector<std::string> t = ReadStrings(2);
        TParaStyle* style = Paragraphs(canvas).FindStyle(canvas, t[0], true);
        if (!style)
            return;
        style->Parameters.clear();
        for (const std::string& line : Lines(t[1])) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos && equals > 0)
                style->Parameters.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        }
    } else {
        LinkStyles(canvas);
    }
}

} // namespace vum
