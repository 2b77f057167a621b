// Exports: rich text.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/richtext/RichText.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t WriteRichText(int32_t h, const char* text, const char* styleName)
{
    return Procedure(h, [&](TVumWrapper& w) { vum::WriteRichText(w.Document().Canvas(), Text(text), Text(styleName)); });
}

VUMPDF_API int32_t DrawRichTextFromFile(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                        const char* fileName)
{
    return WithHandle(h, [&](TVumWrapper& w) {
        return vum::DrawRichTextFromFile(w.Document().Canvas(), x1, y1, x2, y2, Text(fileName));
    });
}

} // extern "C"
