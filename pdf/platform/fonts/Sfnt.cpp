#include "platform/fonts/Sfnt.h"

#include "platform/fonts/FontError.h"

#include <algorithm>

namespace vum::fonts {

namespace {

void need(std::string_view data, size_t offset, size_t size)
{
    if (offset > data.size() || data.size() - offset < size)
        throw FontError("font table too short");
}

uint32_t checksum(std::string_view data)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < data.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < data.size() ? uint8_t(data[i + k]) : 0);
        sum += word;
    }
    return sum;
}

} // namespace

uint16_t readU16(std::string_view data, size_t offset)
{
    need(data, offset, 2);
    return uint16_t((uint8_t(data[offset]) << 8) | uint8_t(data[offset + 1]));
}

int16_t readS16(std::string_view data, size_t offset)
{
    return static_cast<int16_t>(readU16(data, offset));
}

uint32_t readU32(std::string_view data, size_t offset)
{
    return (uint32_t(readU16(data, offset)) << 16) | readU16(data, offset + 2);
}

void writeU16(std::string& data, size_t offset, uint16_t value)
{
    need(data, offset, 2);
    data[offset] = static_cast<char>(value >> 8);
    data[offset + 1] = static_cast<char>(value & 0xFF);
}

void writeU32(std::string& data, size_t offset, uint32_t value)
{
    writeU16(data, offset, uint16_t(value >> 16));
    writeU16(data, offset + 2, uint16_t(value & 0xFFFF));
}

void appendU16(std::string& data, uint16_t value)
{
    data.push_back(static_cast<char>(value >> 8));
    data.push_back(static_cast<char>(value & 0xFF));
}

void appendU32(std::string& data, uint32_t value)
{
    appendU16(data, uint16_t(value >> 16));
    appendU16(data, uint16_t(value & 0xFFFF));
}

std::string buildSfnt(std::vector<SfntTable> tables)
{
    std::sort(tables.begin(), tables.end(),
              [](const SfntTable& a, const SfntTable& b) { return a.tag < b.tag; });
    const auto count = static_cast<uint16_t>(tables.size());
    uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= count)
        ++entrySelector;
    const uint16_t searchRange = count ? uint16_t(16u << entrySelector) : 0;

    std::string out;
    appendU32(out, 0x00010000);
    appendU16(out, count);
    appendU16(out, searchRange);
    appendU16(out, entrySelector);
    appendU16(out, uint16_t(count * 16 - searchRange));

    size_t offset = 12 + 16 * tables.size();
    size_t headOffset = 0;
    for (SfntTable& table : tables) {
        if (table.tag == sfntTag("head") && table.data.size() >= 12) {
            writeU32(table.data, 8, 0); // the adjustment is computed over the file with it zeroed
            headOffset = offset;
        }
        appendU32(out, table.tag);
        appendU32(out, checksum(table.data));
        appendU32(out, static_cast<uint32_t>(offset));
        appendU32(out, static_cast<uint32_t>(table.data.size()));
        offset += (table.data.size() + 3) & ~size_t(3);
    }
    for (const SfntTable& table : tables) {
        out += table.data;
        out.append((4 - table.data.size() % 4) % 4, '\0');
    }
    if (headOffset)
        writeU32(out, headOffset + 8, 0xB1B0AFBAu - checksum(out));
    return out;
}

} // namespace vum::fonts
