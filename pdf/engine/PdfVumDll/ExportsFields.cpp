// Exports: interactive form fields.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t DefineField(int32_t h, const char* name, int32_t kind, const char* label, const char* hint,
                               const char* styleName)
{
    return Procedure(h, [&](TVumWrapper& w) {
        w.Document().Canvas().DefineField(Text(name), Byte(kind), Text(label), Text(hint), Text(styleName));
    });
}

VUMPDF_API int32_t PutField(int32_t h, const char* name, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "PutField", {x, y, width, height});
        w.Document().Canvas().PutField(Text(name), x, y, width, height);
    });
}

VUMPDF_API int32_t SetAction(int32_t h, const char* fieldName, int32_t event, int32_t kind, const char* text)
{
    return Procedure(h, [&](TVumWrapper& w) {
        w.Document().Canvas().SetAction(Text(fieldName), Byte(event), Byte(kind), Text(text));
    });
}

VUMPDF_API int32_t SetNumFieldProp(int32_t h, const char* fieldName, int32_t propId, int32_t value)
{
    return Procedure(h, [&](TVumWrapper& w) {
        w.Document().Canvas().SetFieldProp(Text(fieldName), Byte(propId), false, value, {});
    });
}

VUMPDF_API int32_t SetStrFieldProp(int32_t h, const char* fieldName, int32_t propId, const char* value)
{
    return Procedure(h, [&](TVumWrapper& w) {
        w.Document().Canvas().SetFieldProp(Text(fieldName), Byte(propId), true, 0, Text(value));
    });
}

} // extern "C"
