#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vum::fonts {

// Big-endian fields of TrueType/OpenType tables. Reads beyond the data throw
// FontError, so a damaged font cannot send a reader past its buffer.
uint16_t readU16(std::string_view data, size_t offset);
int16_t readS16(std::string_view data, size_t offset);
uint32_t readU32(std::string_view data, size_t offset);
void writeU16(std::string& data, size_t offset, uint16_t value);
void writeU32(std::string& data, size_t offset, uint32_t value);
void appendU16(std::string& data, uint16_t value);
void appendU32(std::string& data, uint32_t value);

constexpr uint32_t sfntTag(const char (&name)[5])
{
    return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) |
           (uint32_t(uint8_t(name[2])) << 8) | uint32_t(uint8_t(name[3]));
}

struct SfntTable {
    uint32_t tag = 0;
    std::string data;
};

// A standalone TrueType file holding the tables: directory sorted by tag,
// tables padded to four bytes, checksums and the 'head' adjustment set.
std::string buildSfnt(std::vector<SfntTable> tables);

} // namespace vum::fonts
