#include "engine/fonts/CidFontParts.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vum {

namespace {

std::string Hex4(uint32_t value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

std::string Utf16Hex(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            out += Hex4(0xD800 + ((c - 0x10000) >> 10));
            out += Hex4(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += Hex4(c);
        }
    }
    return out;
}

} // namespace

std::string ToUnicodeCMap(const std::map<uint32_t, std::u32string>& textOfGlyph)
{
    std::string out =
        "/CIDInit /ProcSet findresource begin\n"
        "12 dict begin\n"
        "begincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n"
        "/CMapType 2 def\n"
        "1 begincodespacerange\n"
        "<0000> <FFFF>\n"
        "endcodespacerange\n";
    std::vector<std::pair<uint32_t, const std::u32string*>> entries;
    for (const auto& [glyph, text] : textOfGlyph)
        if (!text.empty() && glyph <= 0xFFFF)
            entries.emplace_back(glyph, &text);
    // A bfchar block holds at most 100 entries.
    for (size_t start = 0; start < entries.size(); start += 100) {
        const size_t end = std::min(entries.size(), start + 100);
        out += std::to_string(end - start) + " beginbfchar\n";
        for (size_t i = start; i < end; ++i)
            out.append("<").append(Hex4(entries[i].first)).append("> <").append(Utf16Hex(*entries[i].second)).append(">\n");
        out += "endbfchar\n";
    }
    out += "endcmap\n"
           "CMapName currentdict /CMapResource defineresource pop\n"
           "end\n"
           "end\n";
    return out;
}

std::string CidWidthsArray(const std::map<uint32_t, int>& widthOfGlyph)
{
    std::string out = "[";
    uint32_t next = 0;
    bool open = false;
    for (const auto& [glyph, width] : widthOfGlyph) {
        if (!open || glyph != next) {
            if (open)
                out += "]";
            if (out.size() > 1)
                out += "\n";
            out.append(std::to_string(glyph)).append(" [");
            open = true;
        } else {
            out += " ";
        }
        out += std::to_string(width);
        next = glyph + 1;
    }
    if (open)
        out += "]";
    return out + "]";
}

std::string SubsetTag(const std::string& fontName, const std::set<uint32_t>& glyphs)
{
    // FNV-1a over the name and the glyph numbers.
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    for (char c : fontName)
        mix(static_cast<uint8_t>(c));
    for (uint32_t glyph : glyphs)
        for (int shift = 0; shift < 32; shift += 8)
            mix(static_cast<uint8_t>(glyph >> shift));
    std::string tag;
    for (int i = 0; i < 6; ++i) {
        tag.push_back(static_cast<char>('A' + hash % 26));
        hash /= 26;
    }
    return tag;
}

} // namespace vum
