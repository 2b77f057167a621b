#include "engine/util/Warnings.h"

#include "engine/util/VumError.h"

#include <cstdio>

namespace vum {
namespace {
WarningSink& Sink()
{
    static WarningSink sink;
    return sink;
}
} // namespace

void SetWarningSink(WarningSink sink)
{
    Sink() = std::move(sink);
}

void ShowWarning(const std::string& message, const std::string& context)
{
    const std::string text = WithContext(message, context);
    if (Sink())
        Sink()(text);
    else
        std::fprintf(stderr, "libPDF warning: %s\n", text.c_str());
}

} // namespace vum
