#pragma once

// The JPEG fuzz targets' inputs with a frame of at most kMaxSide x kMaxSide:
// the readers decode pictures as large as the header asks (an arithmetic-coded
// one of 65500 x 65500 in a few bytes), which would make a run slow and large.
// Only the frame header's size changes; everything else is read as it comes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace smalljpeg {

constexpr int kMaxSide = 1024;

inline void clampWord(std::vector<uint8_t>& bytes, std::size_t at)
{
    if ((bytes[at] << 8 | bytes[at + 1]) > kMaxSide) {
        bytes[at] = uint8_t(kMaxSide >> 8);
        bytes[at + 1] = uint8_t(kMaxSide & 0xFF);
    }
}

// Walks the markers from the start of the data up to the first scan, as
// libjpeg does, and clamps the size of every frame header met.
inline std::vector<uint8_t> withSmallFrame(const uint8_t* data, std::size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::size_t at = 2;
    while (at + 1 < bytes.size()) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (at + 3 >= bytes.size())
            break;
        const std::size_t length = std::size_t(bytes[at + 2]) << 8 | bytes[at + 3];
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && at + 8 < bytes.size()) {
            clampWord(bytes, at + 5);  // height
            clampWord(bytes, at + 7);  // width
        }
        at += 2 + length;
    }
    return bytes;
}

} // namespace smalljpeg
