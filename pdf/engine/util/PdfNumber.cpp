#include "engine/util/PdfNumber.h"

#include <charconv>
#include <cmath>

namespace vum {

std::string FormatPdfNumber(double value)
{
    if (!std::isfinite(value))
        return "0";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, 3);
    if (ec != std::errc())
        return "0";
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

std::string IntText(int64_t value)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

} // namespace vum
