#include "PdfApi.h"

#include "TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

PdfApi load()
{
    PdfApi api;
    const std::string path = testenv::binDir() + "/libPDF.so";
    api.library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!api.library) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        std::abort();
    }
#define VUM_BIND(name)                                                                   \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(api.library, #name));        \
    if (!api.name) {                                                                     \
        std::fprintf(stderr, "libPDF.so lacks %s\n", #name);                             \
        std::abort();                                                                    \
    }
    VUM_EXPORTS(VUM_BIND)
#undef VUM_BIND
    return api;
}

} // namespace

const PdfApi& pdf()
{
    static const PdfApi api = load();
    return api;
}

std::string lastError()
{
    char buffer[256];
    pdf().GetErrorMsg(buffer);
    return buffer;
}

PdfHandle::PdfHandle() : h_(pdf().CreateVum(0, 0)) {}

PdfHandle::~PdfHandle()
{
    pdf().FreeVum(h_);
}

void PdfHandle::setFile(const std::string& path) const
{
    pdf().SetStrProp(h_, VUM_FILE_NAME, path.c_str());
}

void PdfHandle::setStr(int32_t id, const std::string& value) const
{
    pdf().SetStrProp(h_, id, value.c_str());
}

std::string PdfHandle::str(int32_t id) const
{
    char buffer[256] = "?";
    if (pdf().GetStrProp(h_, id, buffer) != 0)
        return "<error: " + lastError() + ">";
    return buffer;
}
