#include "imaging/readers/JpegMarkers.h"

#include <algorithm>
#include <cstring>

namespace vum {

namespace {

constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;

bool isRestart(uint8_t code)
{
    return code >= 0xD0 && code <= 0xD7;
}

// Markers without a length field: restarts, TEM, and a start of image out of
// place (which the decoder refuses in its turn).
bool standsAlone(uint8_t code)
{
    return isRestart(code) || code == 0x01 || code == 0xD8 || code == kEndOfImage;
}

// The offset of the next marker's code byte at or after `at`, past the fill
// bytes before it; `size` when the data end first. In a scan's entropy-coded
// data a stuffed FF 00 and the restart markers belong to the data. Between
// segments stray bytes are passed over up to the next marker, as libjpeg
// does.
std::size_t nextMarker(const uint8_t* data, std::size_t size, std::size_t at, bool inScan)
{
    while (at < size) {
        const void* ff = std::memchr(data + at, 0xFF, size - at);
        if (!ff)
            return size;
        std::size_t code = std::size_t(static_cast<const uint8_t*>(ff) - data) + 1;
        while (code < size && data[code] == 0xFF)
            ++code;
        if (code >= size)
            return size;
        if (data[code] != 0x00 && !(inScan && isRestart(data[code])))
            return code;
        at = code + 1;
    }
    return size;
}

} // namespace

TJpegEnd FindJpegEnd(const uint8_t* data, std::size_t size, std::size_t scanStart)
{
    bool inScan = true;
    std::size_t at = std::min(scanStart, size);
    for (;;) {
        const std::size_t code = nextMarker(data, size, at, inScan);
        if (code >= size)
            return {false, size};
        const uint8_t marker = data[code];
        if (marker == kEndOfImage)
            return {true, code + 1};
        inScan = false;
        if (standsAlone(marker)) {
            at = code + 1;
            continue;
        }
        // A segment the file ends inside is not the picture's: what a decoder
        // reads of it is made up.
        const std::size_t segment = code - 1;
        if (size - code < 3)
            return {false, segment};
        // A length below its own two bytes skips nothing more, as in libjpeg.
        const std::size_t length = std::max<std::size_t>(std::size_t(data[code + 1]) << 8 | data[code + 2], 2);
        if (size - code - 1 < length)
            return {false, segment};
        at = code + 1 + length;
        inScan = marker == kStartOfScan;
    }
}

} // namespace vum
