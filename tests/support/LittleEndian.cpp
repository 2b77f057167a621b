#include "LittleEndian.h"

std::string le(uint32_t v, int bytes)
{
    std::string s;
    // Wider fields (a bitmap header's reserved 8 bytes) are zero past the fourth byte.
    for (int i = 0; i < bytes; ++i)
        s += i < 4 ? char(v >> (8 * i) & 0xFF) : '\0';
    return s;
}

uint32_t readLe(const std::string& b, std::size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | uint8_t(b.at(at + std::size_t(i)));
    return v;
}

void putLe(std::string& b, std::size_t at, uint32_t v, int bytes)
{
    b.replace(at, std::size_t(bytes), le(v, bytes));
}
