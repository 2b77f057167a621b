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

std::string TPdfCanvas::InfoString(const std::string& utf8)
{
    // PDFDocEncoding when the text fits it, else UTF-16BE behind its
    // byte-order mark, written in hexadecimal.
    const std::string bytes = PdfTextStringBytes(utf8);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xFE\xFF") != 0)
        return LiteralString(bytes);
    static const char* const hex = "0123456789ABCDEF";
    std::string out = "<";
    for (const char c : bytes) {
        out += hex[static_cast<unsigned char>(c) >> 4];
        out += hex[static_cast<unsigned char>(c) & 0xF];
    }
    return out + ">";
}

} // namespace vum
