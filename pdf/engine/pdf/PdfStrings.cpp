#include "engine/fonts/PdfTextString.h"
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

std::string TPdfCanvas::EncodeString(const std::string& bytes, int32_t number) const
{
    return LiteralString(security_.Encrypt(number, bytes));
}

namespace {

// PDFDocEncoding text as a literal string; UTF-16BE (behind its byte-order
// mark) in hexadecimal.
std::string StringOfTextBytes(const std::string& bytes, bool utf16)
{
    if (!utf16)
        return TPdfCanvas::LiteralString(bytes);
    static const char* const hex = "0123456789ABCDEF";
    std::string out = "<";
    for (const char c : bytes) {
        out += hex[static_cast<unsigned char>(c) >> 4];
        out += hex[static_cast<unsigned char>(c) & 0xF];
    }
    return out + ">";
}

bool IsUtf16(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes.compare(0, 2, "\xFE\xFF") == 0;
}

} // namespace

std::string TPdfCanvas::InfoString(const std::string& utf8)
{
    const std::string bytes = PdfTextStringBytes(utf8);
    return StringOfTextBytes(bytes, IsUtf16(bytes));
}

std::string TPdfCanvas::TextString(const std::string& utf8, int32_t number) const
{
    const std::string bytes = PdfTextStringBytes(utf8);
    return StringOfTextBytes(security_.Encrypt(number, bytes), IsUtf16(bytes));
}

} // namespace vum
