// Exports: handles, document life, properties, errors, events and the
// finished file.
#include "engine/PdfVumDll/CallFrame.h"

using namespace vum;
using namespace vum::dll;

extern "C" {

VUMPDF_API int32_t CreateVum(int32_t wnd, int32_t msgBase)
{
    return Guarded([&] { return CreateHandle(wnd, msgBase); });
}

VUMPDF_API int32_t CreatePdf(int32_t wnd, int32_t msgBase)
{
    return CreateVum(wnd, msgBase);
}

VUMPDF_API int32_t FreeVum(int32_t h)
{
    return Guarded([&] {
        FreeHandle(h);
        return 0;
    });
}

VUMPDF_API int32_t FreePdf(int32_t h)
{
    return FreeVum(h);
}

VUMPDF_API int32_t BeginDoc(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().BeginDoc(); });
}

VUMPDF_API int32_t EndDoc(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().EndDoc(); });
}

VUMPDF_API int32_t Abort(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().Abort(); });
}

VUMPDF_API int32_t NewPage(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().NewPage(); });
}

VUMPDF_API int32_t NewSection(int32_t h, int32_t orientation, int32_t startSection)
{
    return Procedure(h, [&](TVumWrapper& w) { w.Document().NewSection(Byte(orientation), Flag(startSection)); });
}

VUMPDF_API int32_t SetPageNumberFormat(int32_t h, int32_t pageFormat, int32_t sectionFormat)
{
    return Procedure(h, [&](TVumWrapper& w) { w.Document().SetPageNumberFormat(Byte(pageFormat), Byte(sectionFormat)); });
}

VUMPDF_API int32_t SetOwnerPassword(int32_t h, const char* password)
{
    return Procedure(h, [&](TVumWrapper& w) { w.Document().SetOwnerPassword(Text(password)); });
}

VUMPDF_API int32_t SetUserPassword(int32_t h, const char* password, int32_t canPrint, int32_t canCopy,
                                   int32_t canAnnotate, int32_t canModify)
{
    return Procedure(h, [&](TVumWrapper& w) {
        w.Document().SetUserPassword(Text(password), Flag(canPrint), Flag(canCopy), Flag(canAnnotate),
                                     Flag(canModify));
    });
}

VUMPDF_API int32_t GetNumProp(int32_t h, int32_t id)
{
    return WithHandle(h, [&](TVumWrapper& w) { return w.GetNumProp(id); });
}

VUMPDF_API int32_t SetNumProp(int32_t h, int32_t id, int32_t value)
{
    return Procedure(h, [&](TVumWrapper& w) { w.SetNumProp(id, value); });
}

VUMPDF_API int32_t GetStrProp(int32_t h, int32_t id, char* buffer)
{
    return Procedure(h, [&](TVumWrapper& w) { CopyOut(w.GetStrProp(id), buffer); });
}

VUMPDF_API int32_t SetStrProp(int32_t h, int32_t id, const char* value)
{
    return Procedure(h, [&](TVumWrapper& w) { w.SetStrProp(id, Text(value)); });
}

VUMPDF_API int32_t GetErrorMsg(char* buffer)
{
    try {
        CopyOut(TakeErrorMsg(), buffer);
    } catch (...) {
        if (buffer)
            buffer[0] = '\0';
    }
    return 0;
}

VUMPDF_API int32_t TrapEvent(int32_t h, const char* eventName, VumEventCallback callback)
{
    return WithHandle(h, [&](TVumWrapper& w) { return w.TrapEvent(Text(eventName), callback); });
}

VUMPDF_API int32_t Show(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().Show(); });
}

VUMPDF_API int32_t ShowDoc(int32_t h)
{
    return Show(h);
}

VUMPDF_API int32_t Print(int32_t h)
{
    return Procedure(h, [](TVumWrapper& w) { w.Document().PrintDoc({}); });
}

VUMPDF_API int32_t PrintDoc(int32_t h, const char* printerName)
{
    return Procedure(h, [&](TVumWrapper& w) { w.Document().PrintDoc(Text(printerName)); });
}

VUMPDF_API int32_t EmailDoc(int32_t h, const char* recipients, const char* subject, const char* text,
                            int32_t showDialog)
{
    return WithHandle(h, [&](TVumWrapper& w) -> int32_t {
        return w.Document().EMail(Text(recipients), Text(subject), Text(text), Flag(showDialog)) ? 1 : 0;
    });
}

} // extern "C"
