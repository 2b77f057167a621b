#pragma once

// The Huffman-coded differences of Photo CD pictures above Base resolution,
// applied in place to luma and chroma planes already filled from the next
// smaller resolution; the data are read straight from the picture file.
#include <vector>

#include "imaging/decoders/decoder.h"

namespace vum {

class TStream;

class TPCDDecoder : public TDecoder {
public:
    // rows: the luma plane's rows (the chroma planes hold half as many); rows
    // the data name beyond them are passed over.
    TPCDDecoder(TStream& stream, uint32_t rows) : stream_(stream), rows_(rows) {}

    // source: three plane pointers (luma, first chroma, second chroma);
    // packedSize: the planes' line length; unpackedSize: the row whose section
    // header ends decoding. dest is not used.
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
    void DecodePlanes(uint8_t* const planes[3], std::size_t lineLength, uint32_t stopRow);

private:
    struct TEntry {
        uint32_t length, code, mask;
        int8_t difference;
    };

    uint8_t nextByte();
    void advance(uint32_t bits);
    uint32_t field(uint32_t bits);
    bool readTables(std::size_t count);
    void synchronise();

    TStream& stream_;
    uint32_t rows_;
    std::vector<uint8_t> block_;
    std::size_t blockAt_ = 0;
    uint32_t window_ = 0;
    int held_ = 32;
    std::vector<TEntry> tables_[3];
};

} // namespace vum
