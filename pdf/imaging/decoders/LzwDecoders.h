#pragma once

// LZW decoders for TIFF strips (most significant bit first) and GIF image data
// (least significant bit first).
#include "imaging/decoders/Decoder.h"

namespace vum {

class TTIFFLZWDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

// Decodes up to the end code or the end of the data; Decoded() counts the
// pixels written, none for a code size outside 1 to 11.
class TGIFLZWDecoder : public TDecoder {
public:
    explicit TGIFLZWDecoder(uint8_t initialCodeSize) : initialCodeSize_(initialCodeSize) {}
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

private:
    uint8_t initialCodeSize_;
};

} // namespace vum
