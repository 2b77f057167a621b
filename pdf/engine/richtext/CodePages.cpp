#include "engine/richtext/CodePages.h"

#include <cstdint>
#include <cerrno>
#include <iconv.h>

namespace vum {

int CodePageOfCharset(int charset)
{
    switch (charset) {
    case 0: case 1: return 1252;
    case 2: return 0;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 1252;
    }
}

std::string Utf8Of(uint32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

namespace {

const char* IconvName(int codePage)
{
    switch (codePage) {
    case 936: return "GBK";
    case 950: return "BIG5";
    case 932: return "SHIFT_JIS";
    case 949: return "CP949";
    case 10000: return "MACINTOSH";
    case 874: return "CP874";
    default: return nullptr;
    }
}

} // namespace

std::string CodePageToUtf8(std::string_view bytes, int codePage)
{
    std::string out;
    if (codePage == 0) {
        for (const unsigned char c : bytes)
            out += Utf8Of(c);
        return out;
    }
    const std::string name = IconvName(codePage) ? IconvName(codePage) : "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        cd = iconv_open("UTF-8", "CP1252");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (const unsigned char c : bytes)
            out += c < 0x80 ? std::string(1, static_cast<char>(c)) : Utf8Of(0xFFFD);
        return out;
    }
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char buffer[256];
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, sizeof buffer - oLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // A byte that does not convert (or a lead byte at the end).
            out += Utf8Of(0xFFFD);
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace vum
