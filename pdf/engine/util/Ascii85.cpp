#include "engine/util/Ascii85.h"

#include <cstdint>

namespace vum {

namespace {

void AppendGroup(std::string& out, uint32_t value, size_t characters)
{
    char digits[5];
    for (int i = 4; i >= 0; --i) {
        digits[i] = static_cast<char>('!' + value % 85);
        value /= 85;
    }
    out.append(digits, characters);
}

} // namespace

std::string Ascii85Encode(std::string_view input)
{
    std::string out;
    out.reserve(input.size() / 4 * 5 + 8);
    size_t i = 0;
    for (; i + 4 <= input.size(); i += 4) {
        uint32_t value = 0;
        for (size_t k = 0; k < 4; ++k)
            value = (value << 8) | static_cast<unsigned char>(input[i + k]);
        if (value == 0)
            out += 'z';
        else
            AppendGroup(out, value, 5);
    }
    const size_t left = input.size() - i;
    if (left > 0) {
        uint32_t value = 0;
        for (size_t k = 0; k < 4; ++k)
            value = (value << 8) | (k < left ? static_cast<unsigned char>(input[i + k]) : 0u);
        AppendGroup(out, value, left + 1);
    }
    out += "~>";
    return out;
}

} // namespace vum
