#include "engine/fonts/PdfTextString.h"

#include "platform/fonts/Utf8.h"

#include <array>

namespace vum {

namespace {

// PDFDocEncoding 0x80 to 0x9E; 0x9F is unassigned.
constexpr std::array<char16_t, 31> kDocHigh = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E,
};

// The PDFDocEncoding byte of a character, -1 when it has none.
int DocEncodingByte(char32_t c)
{
    if ((c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\n' || c == '\r')
        return static_cast<int>(c);
    if (c >= 0xA1 && c <= 0xFF && c != 0xAD)
        return static_cast<int>(c);
    for (size_t i = 0; i < kDocHigh.size(); ++i)
        if (kDocHigh[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

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
        const int byte = DocEncodingByte(c);
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
