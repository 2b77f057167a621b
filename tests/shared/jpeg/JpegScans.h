#pragma once

// Where the scans of a JPEG stream lie, so that tests can take one out as a
// damaged copy or a lost packet leaves a file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jpegscans {

// The offsets of every start-of-scan marker.
inline std::vector<std::size_t> scanHeaders(const std::string& jpeg)
{
    std::vector<std::size_t> at;
    for (std::size_t i = jpeg.find("\xff\xda"); i != std::string::npos; i = jpeg.find("\xff\xda", i + 2))
        at.push_back(i);
    return at;
}

// Where the entropy data after the scan header at `header` end: at the first
// marker that is neither a stuffed byte nor a restart.
inline std::size_t scanEnd(const std::string& jpeg, std::size_t header)
{
    std::size_t at = header + 2 + (uint8_t(jpeg[header + 2]) << 8 | uint8_t(jpeg[header + 3]));
    for (; at + 1 < jpeg.size(); ++at) {
        const uint8_t next = uint8_t(jpeg[at + 1]);
        if (uint8_t(jpeg[at]) == 0xFF && next != 0 && (next < 0xD0 || next > 0xD7))
            break;
    }
    return at;
}

// The stream without scan `scan` (its header and data); tables and the other
// scans stay.
inline std::string withoutScan(const std::string& jpeg, std::size_t scan)
{
    const std::size_t header = scanHeaders(jpeg).at(scan);
    return jpeg.substr(0, header) + jpeg.substr(scanEnd(jpeg, header));
}

} // namespace jpegscans
