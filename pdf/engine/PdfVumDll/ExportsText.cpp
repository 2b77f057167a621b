// Exports: text lines, text blocks and fonts.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t TextOut(int32_t h, int32_t x, int32_t y, const char* text)
{
    return Procedure(h, [&](TVumWrapper& w) { w.Document().Canvas().TextOut(x, y, Text(text)); });
}

VUMPDF_API int32_t TextWidth(int32_t h, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) { return w.Document().Canvas().TextWidth(Text(text)); });
}

VUMPDF_API int32_t TextHeight(int32_t h, const char*)
{
    return Procedure(h, [](TVumWrapper&) { NotAvailable("TextHeight"); });
}

VUMPDF_API int32_t DrawText(int32_t h, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, const char*)
{
    return Procedure(h, [](TVumWrapper&) { NotAvailable("DrawText"); });
}

VUMPDF_API int32_t DrawPageCounter(int32_t h, int32_t, int32_t, int32_t, int32_t, const char*, int32_t,
                                   const char*, int32_t, const char*)
{
    return Procedure(h, [](TVumWrapper&) { NotAvailable("DrawPageCounter"); });
}

VUMPDF_API int32_t DeclareSymbolicFont(int32_t h, const char*)
{
    return Procedure(h, [](TVumWrapper&) { NotAvailable("DeclareSymbolicFont"); });
}

} // extern "C"
