#include "CraftedGifs.h"

#include <vector>

namespace craftedgifs {

namespace {

std::string le16(int v)
{
    return {char(v & 0xFF), char(v >> 8 & 0xFF)};
}

// The data of a frame whose pixels are indices 0 to 3, coded so plainly that
// no encoder is needed: every pixel is a literal 3-bit code, and a clear code
// before every second one keeps the code table from growing wider.
std::string frameData(const std::vector<int>& pixels)
{
    std::string codes;
    uint32_t bits = 0;
    int count = 0;
    const auto put = [&](int code) {
        bits |= uint32_t(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            codes += char(bits & 0xFF);
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0)
            put(4);  // clear
        put(pixels[i]);
    }
    put(5);  // end of the data
    if (count > 0)
        codes += char(bits & 0xFF);
    std::string out(1, char(2));  // the smallest code size
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::string block = codes.substr(at, 255);
        out += char(block.size()) + block;
    }
    return out + std::string(1, '\0');
}

} // namespace

std::string colourTable(std::initializer_list<uint32_t> colours)
{
    std::string bytes;
    for (const uint32_t c : colours)
        bytes += {char(c >> 16 & 0xFF), char(c >> 8 & 0xFF), char(c & 0xFF)};
    return bytes;
}

std::string smallFrame(int screen, int frame, int at, const std::string& screenTable, const std::string& frameTable)
{
    std::vector<int> pixels(std::size_t(frame) * std::size_t(frame));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = int(i % std::size_t(frame)) < frame / 2 ? 0 : 1;
    // A table flag with size 1: 2^(1 + 1) = four colours.
    const char screenFlags = screenTable.empty() ? char(0) : char(0x81);
    const char frameFlags = frameTable.empty() ? char(0) : char(0x81);
    return "GIF89a" + le16(screen) + le16(screen) + screenFlags + char(2) + char(0) + screenTable + "," + le16(at) +
           le16(at) + le16(frame) + le16(frame) + frameFlags + frameTable + frameData(pixels) + ";";
}

} // namespace craftedgifs
