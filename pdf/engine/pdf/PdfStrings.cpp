#include "engine/pdf/PdfCanvas.h"

namespace vum {

std::string TPdfCanvas::LiteralString(const std::string& bytes)
{
    std::string out = "(";
    for (const char c : bytes) {
        switch (c) {
        case '\b': out += "\\b"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\f': out += "\\f"; break;
        case '\r': out += "\\r"; break;
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out + ")";
}

namespace {

// Decodes UTF-8 into code points; invalid bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + static_cast<size_t>(extra) >= text.size())) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80)
                valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid || cp > 0x10FFFF) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += cp;
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

} // namespace

std::string TPdfCanvas::InfoString(const std::string& utf8)
{
    bool ascii = true;
    for (const char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80)
            ascii = false;
    if (ascii)
        return LiteralString(utf8);
    static const char* const hex = "0123456789ABCDEF";
    std::string out = "<FEFF";
    auto unit = [&](unsigned v) {
        for (int shift = 12; shift >= 0; shift -= 4)
            out += hex[(v >> shift) & 0xF];
    };
    for (char32_t cp : DecodeUtf8(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + static_cast<unsigned>(cp >> 10));
            unit(0xDC00 + static_cast<unsigned>(cp & 0x3FF));
        } else {
            unit(static_cast<unsigned>(cp));
        }
    }
    return out + ">";
}

} // namespace vum
