// Exports: lines, shapes and colours.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"

using namespace vum;
using namespace vum::dll;

namespace {

TCustomVumCanvas& CanvasOf(TVumWrapper& w)
{
    return w.Document().Canvas();
}

// The polygon calls take the points added so far; the buffer is emptied
// once they are drawn (after a failure they stay for the next call).
template <class F>
int32_t WithPoints(int32_t h, F&& draw)
{
    return Procedure(h, [&](TVumWrapper& w) {
        draw(CanvasOf(w), w.Points);
        w.Points.clear();
    });
}

} // namespace

extern "C" {

VUMPDF_API int32_t MoveTo(int32_t h, int32_t x, int32_t y)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "MoveTo", {x, y});
        CanvasOf(w).MoveTo(x, y);
    });
}

VUMPDF_API int32_t LineTo(int32_t h, int32_t x, int32_t y)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "LineTo", {x, y});
        CanvasOf(w).LineTo(x, y);
    });
}

VUMPDF_API int32_t Rectangle(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Rectangle", {x1, y1, x2, y2});
        CanvasOf(w).Rectangle(x1, y1, x2, y2);
    });
}

VUMPDF_API int32_t Ellipse(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Ellipse", {x1, y1, x2, y2});
        CanvasOf(w).Ellipse(x1, y1, x2, y2);
    });
}

VUMPDF_API int32_t FillRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "FillRect", {x1, y1, x2, y2});
        CanvasOf(w).FillRect({x1, y1, x2, y2});
    });
}

VUMPDF_API int32_t FrameRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "FrameRect", {x1, y1, x2, y2});
        CanvasOf(w).FrameRect({x1, y1, x2, y2});
    });
}

VUMPDF_API int32_t RoundRect(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "RoundRect", {x1, y1, x2, y2, x3, y3});
        CanvasOf(w).RoundRect(x1, y1, x2, y2, x3, y3);
    });
}

VUMPDF_API int32_t Arc(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                       int32_t x4, int32_t y4)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Arc", {x1, y1, x2, y2, x3, y3, x4, y4});
        CanvasOf(w).Arc(x1, y1, x2, y2, x3, y3, x4, y4);
    });
}

VUMPDF_API int32_t Chord(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                         int32_t x4, int32_t y4)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Chord", {x1, y1, x2, y2, x3, y3, x4, y4});
        CanvasOf(w).Chord(x1, y1, x2, y2, x3, y3, x4, y4);
    });
}

VUMPDF_API int32_t Pie(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                       int32_t x4, int32_t y4)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Pie", {x1, y1, x2, y2, x3, y3, x4, y4});
        CanvasOf(w).Pie(x1, y1, x2, y2, x3, y3, x4, y4);
    });
}

VUMPDF_API int32_t AddPoint(int32_t h, int32_t x, int32_t y)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "AddPoint", {x, y});
        w.Points.push_back({x, y});
    });
}

VUMPDF_API int32_t Polygon(int32_t h)
{
    return WithPoints(h, [](TCustomVumCanvas& c, const std::vector<TPoint>& p) { c.Polygon(p); });
}

VUMPDF_API int32_t Polyline(int32_t h)
{
    return WithPoints(h, [](TCustomVumCanvas& c, const std::vector<TPoint>& p) { c.Polyline(p); });
}

VUMPDF_API int32_t PolyBezier(int32_t h)
{
    return WithPoints(h, [](TCustomVumCanvas& c, const std::vector<TPoint>& p) { c.PolyBezier(p); });
}

VUMPDF_API int32_t PolyBezierTo(int32_t h)
{
    return WithPoints(h, [](TCustomVumCanvas& c, const std::vector<TPoint>& p) { c.PolyBezierTo(p); });
}

VUMPDF_API int32_t SetColorEx(int32_t h, int32_t target, int32_t mode, int32_t c1, int32_t c2, int32_t c3,
                              int32_t c4)
{
    return Procedure(h, [&](TVumWrapper& w) { CanvasOf(w).SetColorEx(target, Byte(mode), c1, c2, c3, c4); });
}

} // extern "C"
