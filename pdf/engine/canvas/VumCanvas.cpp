#include "engine/canvas/VumCanvas.h"
#include "engine/paragraph/ParaStyle.h"

#include "engine/document/VumDocument.h"
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

void TCustomVumCanvas::SetCharacterSpacing(int32_t value)
{
    characterSpacing_ = value;
}

void TCustomVumCanvas::SetFontDegreeAngle(int32_t angle)
{
    fontDegreeAngle_ = angle;
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
    if (Guard())
        PenPos = {x, y};
}

void TCustomVumCanvas::LineTo(int32_t x, int32_t y)
{
    if (Guard())
        PenPos = {x, y};
}

void TCustomVumCanvas::Rectangle(int32_t, int32_t, int32_t, int32_t) { Guard(); }
void TCustomVumCanvas::FillRect(const TRect&) { Guard(); }
void TCustomVumCanvas::FrameRect(const TRect&) { Guard(); }
void TCustomVumCanvas::RoundRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { Guard(); }

void TCustomVumCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (Guard())
        NormalizeRect(x1, y1, x2, y2);
}

void TCustomVumCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t, int32_t, int32_t, int32_t)
{
    if (Guard())
        NormalizeRect(x1, y1, x2, y2);
}

void TCustomVumCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    TCustomVumCanvas::Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCustomVumCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    TCustomVumCanvas::Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCustomVumCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (Guard() && points.size() < 2)
        RaiseMethodError("Bad parameters for method", "Polygon");
}

void TCustomVumCanvas::Polyline(const std::vector<TPoint>& points)
{
    if (Guard() && points.size() < 2)
        RaiseMethodError("Bad parameters for method", "Polyline");
}

void TCustomVumCanvas::PolyBezier(const std::vector<TPoint>& points)
{
    if (Guard() && points.size() < 4)
        RaiseMethodError("Bad parameters for method", "PolyBezier");
}

void TCustomVumCanvas::PolyBezierTo(const std::vector<TPoint>& points)
{
    std::vector<TPoint> withStart;
    withStart.reserve(points.size() + 1);
    withStart.push_back(PenPos);
    withStart.insert(withStart.end(), points.begin(), points.end());
    PolyBezier(withStart);
    if (!points.empty() && document_.Printing())
        PenPos = points.back();
}

void TCustomVumCanvas::TextOut(int32_t, int32_t, const std::string&)
{
    Guard();
}

int32_t TCustomVumCanvas::TextWidth(const std::string& text)
{
    if (!Guard())
        return 1;
    // Without a back end's metrics: an average character of half the size.
    const double pixels = text.size() * Font.Size * 0.5 * kPixelsPerInch / 72.0;
    const auto count = static_cast<int32_t>(text.size());
    return RoundEven(pixels * textFactor_) + (count - 1) * characterSpacing_;
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

void TCustomVumCanvas::DefineField(const std::string&, int, const std::string&, const std::string&,
                                   const std::string&)
{
    Guard();
}

void TCustomVumCanvas::SetFieldProp(const std::string&, int, bool, int64_t, const std::string&) { Guard(); }
void TCustomVumCanvas::SetAction(const std::string&, int, int, const std::string&) { Guard(); }
void TCustomVumCanvas::PutField(const std::string&, int32_t, int32_t, int32_t, int32_t) { Guard(); }

std::function<void()> TCustomVumCanvas::ContentCheckpoint()
{
    return [] {};
}

} // namespace vum
