#pragma once

// The device-independent bitmap structures shared by bitmap and icon files.
#include <cstdint>

#include "imaging/Bitmap.h"

namespace vum {

class TStream;

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

struct TDibHeader {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;       // negative: rows stored top row first
    uint16_t bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t sizeImage = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {};   // red, green, blue, alpha
    bool core = false;        // the old 12-byte header with 3-byte palette entries
};

// Reads the info header and any colour masks after it; raises EInvalidGraphic with
// the message for a header that cannot be one.
TDibHeader ReadDibHeader(TStream& stream, const char* message);
// Reads the palette that follows the header (empty above 8 bits per pixel).
TPalette ReadDibPalette(TStream& stream, const TDibHeader& header, const char* message);
// Bytes of one stored row.
uint64_t DibStride(uint64_t width, uint32_t bitCount);
// An n-bit channel value as 0..255.
uint8_t ExpandBits(uint32_t value, int bits);
// Extracts a masked channel as 0..255.
uint8_t MaskedChannel(uint32_t value, uint32_t mask);

} // namespace vum
