#include "engine/util/PdfDocEncoding.h"

#include "platform/fonts/Utf8.h"

#include <array>

namespace vum {

namespace {

// 0x18 to 0x1F: the spacing accents.
constexpr std::array<char16_t, 8> kDocAccents = {
    0x02D8, 0x02C7, 0x02C6, 0x02D9, 0x02DD, 0x02DB, 0x02DA, 0x02DC,
};

// 0x80 to 0x9E; 0x9F is unassigned.
constexpr std::array<char16_t, 31> kDocHigh = {
    0x2022, 0x2020, 0x2021, 0x2026, 0x2014, 0x2013, 0x0192, 0x2044, 0x2039, 0x203A, 0x2212,
    0x2030, 0x201E, 0x201C, 0x201D, 0x2018, 0x2019, 0x201A, 0x2122, 0xFB01, 0xFB02, 0x0141,
    0x0152, 0x0160, 0x0178, 0x017D, 0x0131, 0x0142, 0x0153, 0x0161, 0x017E,
};

constexpr char32_t kEuro = 0x20AC; // 0xA0

int IndexIn(const auto& table, char32_t c)
{
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i] == c)
            return static_cast<int>(i);
    return -1;
}

} // namespace

int PdfDocEncodingByte(char32_t c)
{
    if ((c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\n' || c == '\r')
        return static_cast<int>(c);
    if (c >= 0xA1 && c <= 0xFF && c != 0xAD)
        return static_cast<int>(c);
    if (c == kEuro)
        return 0xA0;
    if (const int i = IndexIn(kDocHigh, c); i >= 0)
        return 0x80 + i;
    if (const int i = IndexIn(kDocAccents, c); i >= 0)
        return 0x18 + i;
    return -1;
}

std::optional<std::string> PdfDocEncodedPassword(std::string_view utf8)
{
    std::string bytes;
    for (const char32_t c : fonts::decodeUtf8(utf8)) {
        const int byte = c < 0x80 ? static_cast<int>(c) : PdfDocEncodingByte(c);
        if (byte < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

} // namespace vum
