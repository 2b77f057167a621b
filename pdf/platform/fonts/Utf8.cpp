#include "platform/fonts/Utf8.h"

#include "platform/fonts/CodePages.h"

namespace vum::fonts {

namespace {

// Length of the well-formed sequence at text[i] and its value; 0 when the
// bytes there are not one (overlong forms, surrogates and values beyond
// U+10FFFF included).
size_t readSequence(std::string_view text, size_t i, char32_t& value)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        value = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t value = 0;
        const size_t length = readSequence(text, i, value);
        if (length == 0) {
            const auto byte = static_cast<uint8_t>(text[i]);
            const char32_t fallback = toUnicode(1252, byte);
            out.push_back(fallback ? fallback : byte);
            ++i;
        } else {
            out.push_back(value);
            i += length;
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string encodeUtf8(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        appendUtf8(out, c);
    return out;
}

size_t countCodePoints(std::string_view text)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        char32_t value = 0;
        const size_t length = readSequence(text, i, value);
        i += length ? length : 1;
    }
    return count;
}

} // namespace vum::fonts
