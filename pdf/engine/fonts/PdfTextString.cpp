#include "engine/fonts/PdfTextString.h"

#include "engine/util/PdfDocEncoding.h"
#include "platform/fonts/Utf8.h"

namespace vum {

namespace {

void AppendUtf16(std::string& out, char32_t c)
{
    auto unit = [&out](uint32_t u) {
        out.push_back(static_cast<char>(u >> 8));
        out.push_back(static_cast<char>(u & 0xFF));
    };
    if (c >= 0x10000) {
        c -= 0x10000;
        unit(0xD800 + (c >> 10));
        unit(0xDC00 + (c & 0x3FF));
    } else {
        unit(c);
    }
}

} // namespace

std::string PdfTextStringBytes(std::string_view utf8)
{
    const std::u32string text = fonts::decodeUtf8(utf8);
    std::string doc;
    doc.reserve(text.size());
    bool fits = true;
    for (char32_t c : text) {
        const int byte = PdfDocEncodingByte(c);
        if (byte < 0) {
            fits = false;
            break;
        }
        doc.push_back(static_cast<char>(byte));
    }
    if (fits)
        return doc;
    std::string wide = "\xFE\xFF";
    for (char32_t c : text)
        AppendUtf16(wide, c);
    return wide;
}

std::string PdfName(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    static constexpr std::string_view kDelimiters = "()<>[]{}/%#";
    std::string out = "/";
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x21 || b > 0x7E || kDelimiters.find(ch) != std::string_view::npos) {
            out.push_back('#');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        } else {
            out.push_back(ch);
        }
    }
    return out;
}

} // namespace vum
