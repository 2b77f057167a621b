// Exports: text lines, text blocks and fonts.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/fonts/PdfTextFonts.h"
#include "engine/paragraph/CanvasText.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t TextOut(int32_t h, int32_t x, int32_t y, const char* text)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "TextOut", {x, y});
        w.Document().Canvas().TextOut(x, y, Text(text));
    });
}

VUMPDF_API int32_t TextWidth(int32_t h, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) { return w.Document().Canvas().TextWidth(Text(text)); });
}

VUMPDF_API int32_t TextHeight(int32_t h, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) { return CanvasTextHeight(w.Document().Canvas(), Text(text)); });
}

VUMPDF_API int32_t DrawText(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t horzAlign,
                            int32_t vertAlign, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DrawText", {x1, y1, x2, y2});
        return CanvasDrawText(w.Document().Canvas(), x1, y1, x2, y2, static_cast<uint8_t>(horzAlign),
                              static_cast<uint8_t>(vertAlign), Text(text));
    });
}

VUMPDF_API int32_t DrawPageCounter(int32_t h, int32_t x, int32_t y, int32_t x2, int32_t horzAlign,
                                   const char* prefix, int32_t kind1, const char* separator, int32_t kind2,
                                   const char* suffix)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DrawPageCounter", {x, y, x2});
        CanvasDrawPageCounter(w.Document().Canvas(), x, y, x2, static_cast<uint8_t>(horzAlign), Text(prefix),
                              kind1 & 0xFF, Text(separator), kind2 & 0xFF, Text(suffix));
    });
}

VUMPDF_API int32_t DeclareSymbolicFont(int32_t h, const char* fontName)
{
    return Procedure(h, [&](TVumWrapper& w) { DeclareSymbolicFont(w.Document(), Text(fontName)); });
}

} // extern "C"
