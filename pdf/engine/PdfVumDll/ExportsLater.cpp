// Exports whose engine is not part of this build yet: each fails with
// "Function not available: <name>" after the handle check.
#include "engine/PdfVumDll/CallFrame.h"

using namespace vum::dll;

#define VUM_NOT_AVAILABLE(name, ...)                                                   \
    VUMPDF_API int32_t name(int32_t h, __VA_ARGS__)                                     \
    {                                                                                  \
        return Procedure(h, [](TVumWrapper&) { NotAvailable(#name); });               \
    }

using cstr = const char*;

extern "C" {


// Grids.
VUM_NOT_AVAILABLE(DefineGrid, cstr, int32_t, int32_t)
VUM_NOT_AVAILABLE(DefineCol, cstr, int32_t, int32_t, int32_t, int32_t)
VUM_NOT_AVAILABLE(DrawGrid, cstr, int32_t, int32_t)
VUM_NOT_AVAILABLE(DrawRow, cstr, int32_t)
VUM_NOT_AVAILABLE(TextToCell, cstr, int32_t, int32_t, cstr)
VUM_NOT_AVAILABLE(CellTextHeight, cstr, int32_t, cstr)
VUM_NOT_AVAILABLE(CellX, cstr, int32_t, int32_t, int32_t)
VUM_NOT_AVAILABLE(CellY, cstr, int32_t, int32_t, int32_t)

// Links, named targets, bookmarks and annotations.
VUM_NOT_AVAILABLE(DefineName, int32_t, int32_t, cstr)
VUM_NOT_AVAILABLE(SetLink, int32_t, int32_t, int32_t, int32_t, cstr)
VUM_NOT_AVAILABLE(WriteLink, int32_t, int32_t, cstr, cstr)
VUM_NOT_AVAILABLE(SetBookmark, int32_t, int32_t, cstr, int32_t, int32_t)
VUM_NOT_AVAILABLE(WriteBookmark, int32_t, int32_t, cstr, int32_t, int32_t)
VUM_NOT_AVAILABLE(PrintBookMark, int32_t, int32_t, cstr, int32_t, int32_t)
VUM_NOT_AVAILABLE(Annotation, int32_t, int32_t, cstr, int32_t)
VUM_NOT_AVAILABLE(RubberStamp, int32_t, int32_t, int32_t, int32_t, cstr, int32_t)

} // extern "C"
