// Exports: grids (tables drawn row by row).
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/grids/VumGrid.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t DefineGrid(int32_t h, const char* gridName, int32_t align, int32_t margin)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DefineGrid", {margin});
        vum::DefineGrid(w.Document().Canvas(), Text(gridName), Byte(align), margin);
    });
}

VUMPDF_API int32_t DefineCol(int32_t h, const char* gridName, int32_t width, int32_t horzAlign, int32_t vertAlign,
                             int32_t wrap)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DefineCol", {width});
        vum::DefineCol(w.Document().Canvas(), Text(gridName), width, Byte(horzAlign), Byte(vertAlign), Flag(wrap));
    });
}

VUMPDF_API int32_t DrawGrid(int32_t h, const char* gridName, int32_t x, int32_t y)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DrawGrid", {x, y});
        vum::DrawGrid(w.Document().Canvas(), Text(gridName), x, y);
    });
}

VUMPDF_API int32_t DrawRow(int32_t h, const char* gridName, int32_t height)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DrawRow", {height});
        vum::DrawRow(w.Document().Canvas(), Text(gridName), height);
    });
}

VUMPDF_API int32_t TextToCell(int32_t h, const char* gridName, int32_t col, int32_t row, const char* text)
{
    return Procedure(h, [&](TVumWrapper& w) {
        vum::TextToCell(w.Document().Canvas(), Text(gridName), col, row, Text(text));
    });
}

VUMPDF_API int32_t CellTextHeight(int32_t h, const char* gridName, int32_t col, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) {
        return vum::CellTextHeight(w.Document().Canvas(), Text(gridName), col, Text(text));
    });
}

VUMPDF_API int32_t CellX(int32_t h, const char* gridName, int32_t col, int32_t row, int32_t corner)
{
    return WithHandle(h, [&](TVumWrapper& w) { return vum::CellX(w.Document().Canvas(), Text(gridName), col, row, corner); });
}

VUMPDF_API int32_t CellY(int32_t h, const char* gridName, int32_t col, int32_t row, int32_t corner)
{
    return WithHandle(h, [&](TVumWrapper& w) { return vum::CellY(w.Document().Canvas(), Text(gridName), col, row, corner); });
}

} // extern "C"
