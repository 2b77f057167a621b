// Shapes of the page content: each adds its operator lines to ContentLines.
#include "engine/document/VumDocument.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/PdfNumber.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vum {

namespace {

constexpr double kBezierCircle = 0.5522847498;
// An arc never gets more points than this, whatever its size.
constexpr double kMaxArcPoints = 100000;

bool DashedStyle(uint8_t style)
{
    return style != psSolid && style != psClear && style != 6; // 6: inside frame is solid
}

} // namespace

std::string TPdfCanvas::PreparePaint(bool wantStroke, bool wantFill)
{
    const bool fill = wantFill && Brush.Style != bsClear;
    const bool stroke = wantStroke && Pen.Style != psClear && Pen.Width > 0;
    if (fill)
        ContentLines.push_back(BrushColorEncoder.Encode(Brush.Color, false));
    if (stroke) {
        ContentLines.push_back(PenColorEncoder.Encode(Pen.Color, true));
        ContentLines.push_back(DashedStyle(Pen.Style) ? "[3 3]0 d" : "[]0 d");
        ContentLines.push_back(Len(Pen.Width) + " w");
    }
    return fill && stroke ? "B" : stroke ? "S" : fill ? "f" : "";
}

void TPdfCanvas::Line(double x1, double y1, double x2, double y2, const std::string& op)
{
    ContentLines.push_back(X(x1) + " " + Y(y1) + " m");
    ContentLines.push_back(X(x2) + " " + Y(y2) + " l " + op);
}

void TPdfCanvas::CurveQuarter(double x0, double y0, double dx1, double dy1, double dx2, double dy2,
                              double x3, double y3, const std::string& op)
{
    const double x1 = x0 + RoundEven(dx1 * kBezierCircle);
    const double y1 = y0 + RoundEven(dy1 * kBezierCircle);
    const double x2 = x3 + RoundEven(dx2 * kBezierCircle);
    const double y2 = y3 + RoundEven(dy2 * kBezierCircle);
    ContentLines.push_back(X(x0) + " " + Y(y0) + " m " + X(x1) + " " + Y(y1) + " " + X(x2) + " " +
                           Y(y2) + " " + X(x3) + " " + Y(y3) + " c " + op);
}

void TPdfCanvas::LineTo(int32_t x, int32_t y)
{
    const TPoint from = PenPos;
    TCustomVumCanvas::LineTo(x, y);
    if (!Document().Printing())
        return;
    const std::string op = PreparePaint(true, false);
    if (!op.empty())
        Line(from.X, from.Y, x, y, op);
}

void TPdfCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    TCustomVumCanvas::Rectangle(x1, y1, x2, y2);
    if (!Guard())
        return;
    if ((x1 == x2 || y1 == y2) && Pen.Style != psClear) {
        const RecordingPause drawnAsLine(*this);
        MoveTo(x1, y1);
        LineTo(x2, y2);
        return;
    }
    const double left = std::min(x1, x2), right = std::max(x1, x2);
    const double top = std::min(y1, y2), bottom = std::max(y1, y2);
    const std::string op = PreparePaint(true, true);
    if (!op.empty())
        ContentLines.push_back(X(left) + " " + Y(bottom) + " " + Len(right - left) + " " +
                               Len(bottom - top) + " re " + op);
}

void TPdfCanvas::FillRect(const TRect& r)
{
    TCustomVumCanvas::FillRect(r);
    if (!Guard())
        return;
    const std::string op = PreparePaint(false, true);
    if (!op.empty())
        ContentLines.push_back(X(r.Left) + " " + Y(r.Bottom) + " " + Len(double(r.Right) - r.Left) + " " +
                               Len(double(r.Bottom) - r.Top) + " re " + op);
}

void TPdfCanvas::FrameRect(const TRect& r)
{
    TCustomVumCanvas::FrameRect(r);
    if (!Guard())
        return;
    ContentLines.push_back(BrushColorEncoder.Encode(Brush.Color, true));
    ContentLines.push_back("[]0 d");
    ContentLines.push_back(Len(1) + " w");
    ContentLines.push_back(X(r.Left) + " " + Y(r.Bottom) + " " + Len(double(r.Right) - r.Left) + " " +
                           Len(double(r.Bottom) - r.Top) + " re S");
}

void TPdfCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    TCustomVumCanvas::Ellipse(x1, y1, x2, y2);
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    const double rx = RoundEven((double(x2) - x1) / 2), ry = RoundEven((double(y2) - y1) / 2);
    const double cx = x1 + rx, cy = y1 + ry;
    const std::string op = PreparePaint(true, true);
    if (op.empty())
        return;
    CurveQuarter(x1, cy, 0, -ry, -rx, 0, cx, y1, "");
    CurveQuarter(cx, y1, rx, 0, 0, -ry, x2, cy, "");
    CurveQuarter(x2, cy, 0, ry, rx, 0, cx, y2, "");
    CurveQuarter(cx, y2, -rx, 0, 0, ry, x1, cy, op);
    if (Brush.Style != bsClear) {
        ContentLines.push_back(X(x1) + " " + Y(cy) + " m");
        ContentLines.push_back(X(cx) + " " + Y(y1) + " l");
        ContentLines.push_back(X(x2) + " " + Y(cy) + " l");
        ContentLines.push_back(X(cx) + " " + Y(y2) + " l");
        ContentLines.push_back(X(x1) + " " + Y(cy) + " l");
        ContentLines.push_back("f");
    }
}

void TPdfCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    TCustomVumCanvas::Arc(x1, y1, x2, y2, x3, y3, x4, y4);
    ArcPoints(0, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPdfCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    TCustomVumCanvas::Pie(x1, y1, x2, y2, x3, y3, x4, y4);
    ArcPoints(1, x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPdfCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    TCustomVumCanvas::Chord(x1, y1, x2, y2, x3, y3, x4, y4);
    ArcPoints(2, x1, y1, x2, y2, x3, y3, x4, y4);
}

// kind 0 arc, 1 pie, 2 chord. Points run counter-clockwise on the page from
// the direction of (x3, y3) to that of (x4, y4).
void TPdfCanvas::ArcPoints(int kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                           int32_t y3, int32_t x4, int32_t y4)
{
    if (!Guard())
        return;
    NormalizeRect(x1, y1, x2, y2);
    const double halfW = (double(x2) - x1) / 2, halfH = (double(y2) - y1) / 2;
    const double cx = RoundEven(halfW) + double(x1), cy = RoundEven(halfH) + double(y1);
    // A rectangle one unit wide has a radius that rounds to nothing; keep
    // the radii positive so no division by zero reaches the page.
    const double rx = std::max(halfW, 0.5), ry = std::max(halfH, 0.5);
    auto angleOf = [&](double x, double y) {
        if (x == cx)
            return y <= cy ? std::numbers::pi / 2 : -std::numbers::pi / 2;
        return std::atan((cy - y) / (x - cx)) + (x < cx ? std::numbers::pi : 0.0);
    };
    const double start = angleOf(x3, y3);
    double end = angleOf(x4, y4);
    if (end <= start)
        end += 2 * std::numbers::pi;
    const double step = std::max(1 / (rx + ry), (end - start) / kMaxArcPoints);
    const std::string op = PreparePaint(true, kind != 0);
    if (op.empty())
        return;
    auto pointAt = [&](double t) {
        const double c = std::cos(t), s = std::sin(t);
        const double r = 1 / std::sqrt((c / rx) * (c / rx) + (s / ry) * (s / ry));
        return std::pair<double, double>(cx + RoundEven(r * c), cy - RoundEven(r * s));
    };
    const auto first = pointAt(start);
    ContentLines.push_back(X(first.first) + " " + Y(first.second) + " m");
    auto last = first;
    double t = start;
    do {
        t += step;
        last = pointAt(t);
        ContentLines.push_back(X(last.first) + " " + Y(last.second) + " l");
    } while (t < end);
    if (kind == 0) {
        ContentLines.push_back(op);
    } else if (kind == 1) {
        ContentLines.push_back(X(RoundEven((double(x1) + x2) / 2)) + " " + Y(RoundEven((double(y1) + y2) / 2)) + " l");
        ContentLines.push_back(X(first.first) + " " + Y(first.second) + " l " + op);
    } else {
        ContentLines.push_back(X(first.first) + " " + Y(first.second) + " m");
        ContentLines.push_back(X(last.first) + " " + Y(last.second) + " l " + op);
    }
}

void TPdfCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    TCustomVumCanvas::RoundRect(x1, y1, x2, y2, x3, y3);
    if (!Guard())
        return;
    if (x1 == x2 || y1 == y2) {
        const RecordingPause drawnAsRectangle(*this);
        Rectangle(x1, y1, x2, y2);
        return;
    }
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const double rx = std::clamp(double(x3), 0.0, (double(x2) - x1) / 2);
    const double ry = std::clamp(double(y3), 0.0, (double(y2) - y1) / 2);
    const bool fill = Brush.Style != bsClear;
    const bool stroke = Pen.Style != psClear && Pen.Width > 0;
    if (PreparePaint(true, true).empty())
        return;
    const std::string op = !fill ? "S" : !stroke ? "f" : "B";
    const double l = x1, t = y1, r = x2, b = y2;
    CurveQuarter(l, t + ry, 0, -ry, -rx, 0, l + rx, t, op);
    CurveQuarter(r - rx, t, rx, 0, 0, -ry, r, t + ry, op);
    CurveQuarter(r, b - ry, 0, ry, rx, 0, r - rx, b, op);
    CurveQuarter(l + rx, b, -rx, 0, 0, ry, l, b - ry, op);
    if (fill) {
        ContentLines.push_back(X(l + rx) + " " + Y(t) + " m");
        const double corners[6][2] = {{r - rx, t}, {r, t + ry}, {r, b - ry}, {r - rx, b}, {l + rx, b}, {l, b - ry}};
        for (const auto& p : corners)
            ContentLines.push_back(X(p[0]) + " " + Y(p[1]) + " l");
        ContentLines.push_back(X(l) + " " + Y(t + ry) + " l f");
    }
    if (stroke) {
        const double e = RoundEven(Pen.Width * 0.45);
        Line(l + rx - e, t, r - rx + e, t, "S");
        Line(r, t + ry - e, r, b - ry + e, "S");
        Line(r - rx + e, b, l + rx - e, b, "S");
        Line(l, b - ry + e, l, t + ry - e, "S");
    }
}

void TPdfCanvas::Polygon(const std::vector<TPoint>& points)
{
    TCustomVumCanvas::Polygon(points);
    if (!Document().Printing())
        return;
    const std::string op = PreparePaint(true, true);
    if (op.empty())
        return;
    ContentLines.push_back(X(points[0].X) + " " + Y(points[0].Y) + " m");
    for (size_t i = 1; i < points.size(); ++i)
        ContentLines.push_back(X(points[i].X) + " " + Y(points[i].Y) + " l");
    ContentLines.push_back(X(points[0].X) + " " + Y(points[0].Y) + " l");
    ContentLines.push_back(op);
}

void TPdfCanvas::Polyline(const std::vector<TPoint>& points)
{
    TCustomVumCanvas::Polyline(points);
    if (!Document().Printing())
        return;
    const std::string op = PreparePaint(true, false);
    if (op.empty())
        return;
    ContentLines.push_back(X(points[0].X) + " " + Y(points[0].Y) + " m");
    for (size_t i = 1; i < points.size(); ++i)
        ContentLines.push_back(X(points[i].X) + " " + Y(points[i].Y) + " l");
    ContentLines.push_back(op);
}

void TPdfCanvas::PolyBezier(const std::vector<TPoint>& points)
{
    TCustomVumCanvas::PolyBezier(points);
    if (!Document().Printing())
        return;
    const std::string op = PreparePaint(true, false);
    if (op.empty())
        return;
    ContentLines.push_back(X(points[0].X) + " " + Y(points[0].Y) + " m");
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
        std::string line;
        for (size_t k = i; k < i + 3; ++k)
            line += X(points[k].X) + " " + Y(points[k].Y) + " ";
        ContentLines.push_back(line + "c");
    }
    ContentLines.push_back(op);
}

void TPdfCanvas::SetColorEx(int target, int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4)
{
    TCustomVumCanvas::SetColorEx(target, model, v1, v2, v3, v4);
    TPdfColor& encoder = target == 0 ? BrushColorEncoder : target == 1 ? PenColorEncoder : FontColorEncoder;
    const TColor resulting = target == 0 ? Brush.Color : target == 1 ? Pen.Color : Font.Color;
    encoder.Set(model, v1, v2, v3, v4, resulting);
}

void TPdfCanvas::SetCharacterSpacing(int32_t value)
{
    if (value != CharacterSpacing())
        ContentLines.push_back(Len(value) + " Tc");
    TCustomVumCanvas::SetCharacterSpacing(value);
}

} // namespace vum
