#include "engine/canvas/VumCanvas.h"
#include "engine/grids/VumGrid.h"

#include "platform/fonts/Utf8.h"
#include "engine/paragraph/ParaStyle.h"

#include "engine/document/VumDocument.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/VumError.h"

#include <cmath>
#include <numbers>

namespace vum {

TCustomVumCanvas::TCustomVumCanvas(TCustomVum& document) : document_(document)
{
    ResetPageSettings();
}

TCustomVumCanvas::~TCustomVumCanvas() = default;

void TCustomVumCanvas::RaiseMethodError(const std::string& message, const std::string& context) const
{
    document_.RaiseDocumentError(message, context);
}

bool TCustomVumCanvas::Guard() const
{
    if (document_.Printing())
        return true;
    if (document_.Aborted())
        return false;
    RaiseMethodError("Document not opened");
}

TCustomVumDocument* TCustomVumCanvas::Recording() const
{
    TCustomVumDocument* recorder = document_.Recorder();
    return recorder && recorder->Enabled ? recorder : nullptr;
}

void TCustomVumCanvas::RecordShape(uint8_t opcode, std::initializer_list<int32_t> values) const
{
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteBrushPenDeltas(*this);
        recorder->WriteOpcode(opcode);
        recorder->WriteIntegers(values);
    }
}

void TCustomVumCanvas::RecordPoints(uint8_t opcode, const std::vector<TPoint>& points) const
{
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteBrushPenDeltas(*this);
        recorder->WriteOpcode(opcode);
        recorder->WritePoints(points);
    }
}

void TCustomVumCanvas::ResetTextState(bool withBrushAndPen)
{
    Font = TVumFont{};
    characterSpacing_ = 0;
    fontDegreeAngle_ = 0;
    LineSpacing = 0;
    if (withBrushAndPen) {
        Brush = TVumBrush{};
        Pen = TVumPen{};
    }
    CurrentStyleName.clear();
}

void TCustomVumCanvas::ResetDocument()
{
    CurrentStyleName.clear();
    Grids.clear();
    ClearNavigation();
    if (!Closing) {
        ResetTextState(true);
        ResetPageSettings();
    }
}

void TCustomVumCanvas::ResetPageSettings()
{
    BulletNumber = 1;
    ImageHorzAlign = 2;
    ImageVertAlign = 2;
    PenPos = {};
}

void TCustomVumCanvas::OpenDocument()
{
    ResetDocument();
    const double k = document_.LengthUnit() == 1 ? 72.0 : 254.0;
    textFactor_ = k / kPixelsPerInch;
    horzFactor_ = k / kPixelsPerInch;
    vertFactor_ = k / kPixelsPerInch;
}

void TCustomVumCanvas::CloseDocument(bool final)
{
    if (final)
        ClosePage();
}

void TCustomVumCanvas::CloseDocumentGuarded(bool final)
{
    Closing = true;
    try {
        CloseDocument(final);
    } catch (...) {
        Closing = false;
        throw;
    }
    Closing = false;
}

void TCustomVumCanvas::OpenPage()
{
    StartGridsOnNewPage(*this);
    document_.CountOpenedPage();
    if (characterSpacing_ != 0) {
        const int32_t spacing = characterSpacing_;
        characterSpacing_ = 0;
        SetCharacterSpacing(spacing);
    }
    PlaceAtPageStart(*this);
}

void TCustomVumCanvas::ClosePage()
{
    if (OutputActive() || document_.WantPageCount())
        document_.CountClosedPage();
}

void TCustomVumCanvas::SetEnableOutput(uint8_t value)
{
    if (document_.Printing())
        RaiseMethodError("Can't modify property when active", "EnableOutput");
    enableOutput_ = value;
}

namespace {

void RecordInteger(TCustomVumDocument* recorder, uint8_t opcode, int32_t value)
{
    if (recorder) {
        recorder->WriteOpcode(opcode);
        recorder->WriteInteger(value);
    }
}

void RecordByte(TCustomVumDocument* recorder, uint8_t opcode, uint8_t value)
{
    if (recorder) {
        recorder->WriteOpcode(opcode);
        recorder->WriteByte(value);
    }
}

} // namespace

void TCustomVumCanvas::SetCharacterSpacing(int32_t value)
{
    characterSpacing_ = value;
    RecordInteger(Recording(), opCharacterSpacing, value);
}

void TCustomVumCanvas::SetFontDegreeAngle(int32_t angle)
{
    fontDegreeAngle_ = angle;
    RecordInteger(Recording(), opFontDegreeAngle, angle);
}

void TCustomVumCanvas::SetLineSpacing(int32_t value)
{
    LineSpacing = value;
    RecordInteger(Recording(), opLineSpacing, value);
}

void TCustomVumCanvas::SetMetafileResolution(int32_t value)
{
    MetafileResolution = static_cast<uint16_t>(value & 0xFFFF);
    RecordInteger(Recording(), opMetafileResolution, MetafileResolution);
}

void TCustomVumCanvas::SetNoImageReuse(uint8_t value)
{
    NoImageReuse = value;
    RecordByte(Recording(), opNoImageReuse, value);
}

void TCustomVumCanvas::SetImageHorzAlign(uint8_t value)
{
    ImageHorzAlign = value;
    RecordByte(Recording(), opImageHorzAlign, value);
}

void TCustomVumCanvas::SetImageVertAlign(uint8_t value)
{
    ImageVertAlign = value;
    RecordByte(Recording(), opImageVertAlign, value);
}

double TCustomVumCanvas::FontRadians() const
{
    return fontDegreeAngle_ * std::numbers::pi / 180;
}

void TCustomVumCanvas::NormalizeRect(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) const
{
    if (x1 == x2 || y1 == y2)
        RaiseMethodError("Bad rectangle definition");
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
}

void TCustomVumCanvas::MoveTo(int32_t x, int32_t y)
{
    if (!Guard())
        return;
    PenPos = {x, y};
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opMoveTo);
        recorder->WriteIntegers({x, y});
    }
}

void TCustomVumCanvas::LineTo(int32_t x, int32_t y)
{
    if (!Guard())
        return;
    PenPos = {x, y};
    RecordShape(opLineTo, {x, y});
}

void TCustomVumCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (Guard())
        RecordShape(opRectangle, {x1, y1, x2, y2});
}

void TCustomVumCanvas::FillRect(const TRect& r)
{
    if (Guard())
        RecordShape(opFillRect, {r.Left, r.Top, r.Right, r.Bottom});
}

void TCustomVumCanvas::FrameRect(const TRect& r)
{
    if (Guard())
        RecordShape(opFrameRect, {r.Left, r.Top, r.Right, r.Bottom});
}

void TCustomVumCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    if (Guard())
        RecordShape(opRoundRect, {x1, y1, x2, y2, x3, y3});
}

void TCustomVumCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    RecordShape(opEllipse, {x1, y1, x2, y2});
}

void TCustomVumCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    RecordShape(opArc, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCustomVumCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    RecordShape(opChord, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCustomVumCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    RecordShape(opPie, {x1, y1, x2, y2, x3, y3, x4, y4});
}

void TCustomVumCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (!Guard())
        return;
    if (points.size() < 2)
        RaiseMethodError("Bad parameters for method", "Polygon");
    RecordPoints(opPolygon, points);
}

void TCustomVumCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (!Guard())
        return;
    if (points.size() < 2)
        RaiseMethodError("Bad parameters for method", "Polyline");
    RecordPoints(opPolyline, points);
}

void TCustomVumCanvas::PolyBezier(const std::vector<TPoint>& points)
{
    if (!Guard())
        return;
    if (points.size() < 4)
        RaiseMethodError("Bad parameters for method", "PolyBezier");
    RecordPoints(opPolyBezier, points);
}

void TCustomVumCanvas::PolyBezierTo(const std::vector<TPoint>& points)
{
    std::vector<TPoint> withStart;
    withStart.reserve(points.size() + 1);
    withStart.push_back(PenPos);
    withStart.insert(withStart.end(), points.begin(), points.end());
    PolyBezier(withStart);
    if (!points.empty() && document_.Printing()) {
        PenPos = points.back();
        // A replay draws the curve with PolyBezier, which leaves the pen
        // where it was: the move is recorded so the next line starts right.
        if (TCustomVumDocument* recorder = Recording()) {
            recorder->WriteOpcode(opMoveTo);
            recorder->WriteIntegers({PenPos.X, PenPos.Y});
        }
    }
}

void TCustomVumCanvas::TextOut(int32_t x, int32_t y, const std::string& text)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteFontDeltas(*this);
        recorder->WriteOpcode(opTextOut);
        recorder->WriteIntegers({x, y});
        recorder->WriteString(text);
    }
}

void TCustomVumCanvas::PrefixTextWidths(const std::u32string& text, size_t begin,
                                        const std::function<bool(size_t, int32_t)>& each)
{
    std::string utf8;
    for (size_t k = 1; begin + k <= text.size(); ++k) {
        utf8 += fonts::encodeUtf8(text.substr(begin + k - 1, 1));
        if (!each(k, TextWidth(utf8)))
            return;
    }
}

int32_t TCustomVumCanvas::TextWidth(const std::string& text)
{
    if (!Guard())
        return 1;
    // Without a back end's metrics: an average character of half the size.
    const double pixels = text.size() * Font.Size * 0.5 * kPixelsPerInch / 72.0;
    const auto count = static_cast<int32_t>(text.size());
    return ClampToInt32(int64_t(RoundEven(pixels * textFactor_)) + int64_t(count - 1) * characterSpacing_);
}

TRect TCustomVumCanvas::ImageRect(TRect rect, int32_t pixelWidth, int32_t pixelHeight) const
{
    if (pixelWidth == 0 || pixelHeight == 0)
        return rect;
    // A rectangle empty in either direction asks for the natural size at its
    // top-left corner.
    if (rect.Left == rect.Right || rect.Top == rect.Bottom) {
        rect.Right = rect.Left + RoundEven(pixelWidth * horzFactor_);
        rect.Bottom = rect.Top + RoundEven(pixelHeight * vertFactor_);
        return rect;
    }
    if (document_.SmartStretchDraw())
        return FitRect(rect, pixelWidth, pixelHeight, ImageHorzAlign, ImageVertAlign);
    return rect;
}

int32_t TCustomVumCanvas::ScaleX(double value) const
{
    return RoundEven(value / horzFactor_);
}

int32_t TCustomVumCanvas::ScaleY(double value) const
{
    return RoundEven(value / vertFactor_);
}

} // namespace vum

namespace vum {

void TCustomVumCanvas::DrawFromFile(int32_t x, int32_t y, const std::string& fileName)
{
    StretchDrawFromFile({x, y, x, y}, fileName);
}

// The field calls record themselves once they have succeeded (back ends
// call these last): a refused call must not come back in a replay.
void TCustomVumCanvas::DefineField(const std::string& name, int kind, const std::string& label,
                                   const std::string& hint, const std::string& styleName)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opDefineField);
        recorder->WriteByte(static_cast<uint8_t>(kind));
        recorder->WriteStrings({name, label, hint, styleName});
    }
}

void TCustomVumCanvas::SetFieldProp(const std::string& name, int id, bool isText, int64_t number,
                                    const std::string& text)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        RecordVariant value;
        value.Type = isText ? vtText : vtInteger;
        value.Integer = number;
        value.Text = text;
        recorder->WriteOpcode(opSetFieldProp);
        recorder->WriteString(name);
        recorder->WriteByte(static_cast<uint8_t>(id));
        recorder->WriteVariant(value);
    }
}

void TCustomVumCanvas::SetAction(const std::string& fieldName, int event, int kind, const std::string& text)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opSetAction);
        recorder->WriteStrings({fieldName, text});
        recorder->WriteByte(static_cast<uint8_t>(event));
        recorder->WriteByte(static_cast<uint8_t>(kind));
    }
}

void TCustomVumCanvas::PutField(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (!Guard())
        return;
    if (TCustomVumDocument* recorder = Recording()) {
        recorder->WriteOpcode(opPutField);
        recorder->WriteString(name);
        recorder->WriteIntegers({x, y, width, height});
    }
}

std::function<void()> TCustomVumCanvas::ContentCheckpoint()
{
    // What is taken back from the page is taken back from the display list
    // too, or a replay would draw it.
    TCustomVumDocument* recorder = Recording();
    if (!recorder)
        return [] {};
    return [this, recorder, mark = recorder->Mark()] {
        if (document_.Recorder() == recorder)
            recorder->Rewind(mark);
    };
}

} // namespace vum
