#pragma once

// Small files made from the formats' published layouts, one or more for every
// reader the registry knows: good pictures, and pictures whose headers claim
// far more than their data hold, whose sizes run to the end of the file or
// whose rows share their data. The reader tests load them under a memory limit;
// the reader benchmark times them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct CraftedCase {
    std::string name;        // the file's name: the extension picks the reader when content does not
    std::string bytes;
    std::string madeBy;      // when set, the bytes are made from an ImageMagick picture as the case is written
    std::string error;       // the reader's message; empty when the picture loads
    uint32_t width = 0, height = 0;
    uint32_t firstPixel = 0;   // 0xRRGGBB of the top-left pixel of a picture that loads
    std::string sidecar;       // a CUT palette file beside the picture: its first bytes...
    uint64_t sidecarSize = 0;  // ...and its whole size (the rest is a sparse run of zeros)
};

// The data deflated with zlib's best compression.
std::string deflated(const std::string& data);

// A value of a TIFF directory entry: its type (3 SHORT, 4 LONG) and values.
struct TiffEntry {
    uint16_t type;
    std::vector<uint32_t> values;
};

// A little-endian TIFF of one directory: the header, `data`, then the
// directory and its long values. Strip i reads counts[i] bytes from
// offsets[i] within `data`.
std::string tiffOverData(std::map<uint16_t, TiffEntry> entries, const std::string& data,
                         std::vector<uint32_t> offsets, const std::vector<uint32_t>& counts);
// The entries of an 8-bit picture; strip offsets and counts are left to the file.
std::map<uint16_t, TiffEntry> tiffTags(uint32_t width, uint32_t height, uint32_t samples, uint32_t compression,
                                       uint32_t photometric, uint32_t rowsPerStrip);

// Every case.
std::vector<CraftedCase> craftedCases();

// The good picture of each format, as fuzzing seeds: {file name, bytes}.
std::vector<std::pair<std::string, std::string>> craftedSeeds();

// Writes the case (and its sidecar) into the folder; returns the picture's path.
// The progressive JPEG needs ImageMagick's convert; raises when it is missing.
std::string writeCrafted(const std::string& folder, const CraftedCase& c);
