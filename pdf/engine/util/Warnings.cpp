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
// One warning stays one line: control characters and the backslash of the
// context are written as escapes ("\n", "\x01", "\\").
std::string OneLine(const std::string& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (ch == '\t')
            out += "\\t";
        else if (b < 0x20 || b == 0x7F)
            out += std::string("\\x") + kHex[b >> 4] + kHex[b & 0x0F];
        else
            out += ch;
    }
    return out;
}
} // namespace

void SetWarningSink(WarningSink sink)
{
    Sink() = std::move(sink);
}

void ShowWarning(const std::string& message, const std::string& context)
{
    const std::string text = WithContext(message, OneLine(context));
    if (Sink())
        Sink()(text);
    else
        std::fprintf(stderr, "libPDF warning: %s\n", text.c_str());
}

} // namespace vum
