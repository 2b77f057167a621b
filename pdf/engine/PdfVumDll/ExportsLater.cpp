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

// Rich text.
VUM_NOT_AVAILABLE(DrawRichTextFromFile, int32_t, int32_t, int32_t, int32_t, cstr)
VUM_NOT_AVAILABLE(WriteRichText, cstr, cstr)

} // extern "C"
