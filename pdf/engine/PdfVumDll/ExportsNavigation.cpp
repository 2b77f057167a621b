// Exports: named targets, links, bookmarks, notes and stamps.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/paragraph/CanvasText.h"
#include "platform/fonts/Utf8.h"

using namespace vum;
using namespace vum::dll;

namespace {

// Outline titles hold at most 255 characters.
std::string Title(const char* text)
{
    std::u32string chars = fonts::decodeUtf8(Text(text));
    if (chars.size() <= 255)
        return Text(text);
    chars.resize(255);
    return fonts::encodeUtf8(chars);
}

void DrawnBookmark(TVumWrapper& w, int32_t x, int32_t y, const char* text, int32_t level, int32_t open)
{
    TCustomVumCanvas& canvas = w.Document().Canvas();
    const std::string title = Title(text);
    canvas.TextOut(x, y, title);
    canvas.SetBookmark(x, y, title, level, Flag(open));
}

} // namespace

extern "C" {

VUMPDF_API int32_t DefineName(int32_t h, int32_t x, int32_t y, const char* name)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "DefineName", {x, y});
        w.Document().Canvas().DefineName(x, y, Text(name));
    });
}

VUMPDF_API int32_t SetLink(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const char* link)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "SetLink", {x1, y1, x2, y2});
        w.Document().Canvas().SetLink(x1, y1, x2, y2, Text(link));
    });
}

VUMPDF_API int32_t WriteLink(int32_t h, int32_t x, int32_t y, const char* text, const char* link)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "WriteLink", {x, y});
        TCustomVumCanvas& canvas = w.Document().Canvas();
        canvas.TextOut(x, y, Text(text));
        const int32_t width = canvas.TextWidth(Text(text));
        const int32_t height = CanvasTextHeight(canvas, Text(text));
        canvas.SetLink(x, y, x + width, y + height, Text(link));
    });
}

VUMPDF_API int32_t SetBookmark(int32_t h, int32_t x, int32_t y, const char* title, int32_t level, int32_t open)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "SetBookmark", {x, y});
        w.Document().Canvas().SetBookmark(x, y, Title(title), level, Flag(open));
    });
}

VUMPDF_API int32_t WriteBookmark(int32_t h, int32_t x, int32_t y, const char* text, int32_t level, int32_t open)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "WriteBookmark", {x, y});
        DrawnBookmark(w, x, y, text, level, open);
    });
}

VUMPDF_API int32_t PrintBookMark(int32_t h, int32_t x, int32_t y, const char* text, int32_t level, int32_t open)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "PrintBookMark", {x, y});
        DrawnBookmark(w, x, y, text, level, open);
    });
}

VUMPDF_API int32_t Annotation(int32_t h, int32_t x, int32_t y, const char* text, int32_t icon)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "Annotation", {x, y});
        w.Document().Canvas().Annotation(x, y, Text(text), icon);
    });
}

VUMPDF_API int32_t RubberStamp(int32_t h, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const char* text,
                               int32_t stamp)
{
    return Procedure(h, [&](TVumWrapper& w) {
        CheckCoordinates(w, "RubberStamp", {x1, y1, x2, y2});
        w.Document().Canvas().RubberStamp(x1, y1, x2, y2, Text(text), stamp);
    });
}

} // extern "C"
