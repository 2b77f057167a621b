// Exports: paragraphs and paragraph styles.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/paragraph/Paragraphs.h"

using namespace vum;
using namespace vum::dll;

namespace {

template <class Call>
int32_t ParagraphCall(int32_t h, Call&& call)
{
    return Procedure(h, [&](TVumWrapper& w) { call(w.Document().Canvas()); });
}

} // namespace

extern "C" {

VUMPDF_API int32_t BeginPara(int32_t h, const char* text, const char* styleName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::BeginPara(c, Text(text), Text(styleName)); });
}

VUMPDF_API int32_t AppendPara(int32_t h, const char* text, const char* styleName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::AppendPara(c, Text(text), Text(styleName)); });
}

VUMPDF_API int32_t AppendTabPara(int32_t h, const char* text, const char* styleName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::AppendTabPara(c, Text(text), Text(styleName)); });
}

VUMPDF_API int32_t EndPara(int32_t h, const char* text, const char* styleName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::EndPara(c, Text(text), Text(styleName)); });
}

VUMPDF_API int32_t WritePara(int32_t h, const char* text, const char* styleName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::WritePara(c, Text(text), Text(styleName)); });
}

VUMPDF_API int32_t AppendLinkPara(int32_t h, const char* text, const char* styleName, const char* link)
{
    return ParagraphCall(
        h, [&](TCustomVumCanvas& c) { vum::AppendLinkPara(c, Text(text), Text(styleName), Text(link)); });
}

VUMPDF_API int32_t ParaHeight(int32_t h, const char* text)
{
    return WithHandle(h, [&](TVumWrapper& w) { return vum::ParaHeight(w.Document().Canvas(), Text(text)); });
}

VUMPDF_API int32_t NameNextPara(int32_t h, const char* name)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::NameNextPara(c, Text(name)); });
}

VUMPDF_API int32_t DefineStyle(int32_t h, const char* styleName, const char* key, const char* value)
{
    return ParagraphCall(
        h, [&](TCustomVumCanvas& c) { vum::DefineStyle(c, Text(styleName), Text(key), Text(value)); });
}

VUMPDF_API int32_t LoadStyleSheet(int32_t h, const char* fileName)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { vum::LoadStyleSheet(c, Text(fileName)); });
}

VUMPDF_API int32_t StyleParameter(int32_t h, const char* name, char* buffer)
{
    return ParagraphCall(h, [&](TCustomVumCanvas& c) { CopyOut(vum::StyleParameter(c, Text(name)), buffer); });
}

} // extern "C"
