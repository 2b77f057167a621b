// Exports: pictures.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

// There are no device contexts on this platform to copy from.
VUMPDF_API int32_t CopyRect(int32_t h, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t, int32_t)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().RaiseDocumentError("Invalid method call", "CopyRect"); });
}

// No value is a bitmap, icon or metafile handle here: nothing is drawn.
VUMPDF_API int32_t Draw(int32_t h, int32_t, int32_t, int32_t)
{
    return Procedure(h, [](TVumWrapper&) {});
}

VUMPDF_API int32_t StretchDraw(int32_t h, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return Procedure(h, [](TVumWrapper&) {});
}

VUMPDF_API int32_t DrawFromFile(int32_t h, int32_t x, int32_t y, const char* fileName)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DrawFromFile", {x, y});
        w.Document().Canvas().DrawFromFile(x, y, Text(fileName));
    });
}

VUMPDF_API int32_t StretchDrawFromFile(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                       const char* fileName)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "StretchDrawFromFile", {x1, y1, x2, y2});
        w.Document().Canvas().StretchDrawFromFile({x1, y1, x2, y2}, Text(fileName));
    });
}

} // extern "C"
