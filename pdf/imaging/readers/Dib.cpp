#include "imaging/readers/Dib.h"

#include <bit>

#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

TDibHeader ReadDibHeader(TStream& stream, const char* message)
{
    TDibHeader h;
    uint64_t start = stream.Position();
    h.headerSize = stream.ReadLongLE();
    if (h.headerSize == 12) {
        h.core = true;
        h.width = stream.ReadWordLE();
        h.height = int16_t(stream.ReadWordLE());
        stream.Skip(2);
        h.bitCount = stream.ReadWordLE();
        return h;
    }
    if (h.headerSize < 40 || h.headerSize > 124)
        RaiseGraphicError(message);
    h.width = int32_t(stream.ReadLongLE());
    h.height = int32_t(stream.ReadLongLE());
    stream.Skip(2);
    h.bitCount = stream.ReadWordLE();
    h.compression = stream.ReadLongLE();
    h.sizeImage = stream.ReadLongLE();
    stream.Skip(8);
    h.colorsUsed = stream.ReadLongLE();
    stream.Skip(4);
    bool fields = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    int inHeader = h.headerSize >= 56 ? 4 : h.headerSize >= 52 ? 3 : 0;
    int after = h.headerSize == 40 && fields ? (h.compression == BI_ALPHABITFIELDS ? 4 : 3) : 0;
    for (int i = 0; i < inHeader; ++i)
        h.masks[i] = stream.ReadLongLE();
    stream.Seek(start + h.headerSize);
    for (int i = 0; i < after; ++i)
        h.masks[i] = stream.ReadLongLE();
    if (!fields) {
        // Without explicit masks the channels sit where the plain formats put them.
        if (h.bitCount == 16) {
            h.masks[0] = 0x7C00; h.masks[1] = 0x03E0; h.masks[2] = 0x001F; h.masks[3] = 0;
        } else if (h.bitCount == 32) {
            h.masks[0] = 0xFF0000; h.masks[1] = 0xFF00; h.masks[2] = 0xFF; h.masks[3] = 0;
        }
    }
    return h;
}

TPalette ReadDibPalette(TStream& stream, const TDibHeader& header, const char* message)
{
    if (header.bitCount > 8)
        return {};
    uint64_t count = header.colorsUsed ? header.colorsUsed : (1u << header.bitCount);
    int entrySize = header.core ? 3 : 4;
    if (count * entrySize > stream.Remaining())
        RaiseGraphicError(message);
    uint64_t kept = std::min<uint64_t>(count, 256);
    TPalette palette(kept);
    for (uint64_t i = 0; i < count; ++i) {
        uint8_t e[4];
        stream.ReadBuffer(e, entrySize);
        if (i < kept)
            palette[i] = {e[2], e[1], e[0]};
    }
    return palette;
}

uint64_t DibStride(uint64_t width, uint32_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

uint8_t ExpandBits(uint32_t value, int bits)
{
    if (bits >= 8)
        return uint8_t(value >> (bits - 8));
    // Repeat the bits downwards, so that the lowest and highest values map to 0 and 255.
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = out << bits | value;
        filled += bits;
    }
    return uint8_t(out >> (filled - 8));
}

uint8_t MaskedChannel(uint32_t value, uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = std::countr_zero(mask);
    uint32_t max = mask >> shift;
    uint32_t v = (value & mask) >> shift;
    int bits = std::popcount(max);
    if (bits != int(std::bit_width(max)))
        return uint8_t(uint64_t(v) * 255 / max);   // a mask with gaps: scale
    return ExpandBits(v, bits);
}

} // namespace vum
