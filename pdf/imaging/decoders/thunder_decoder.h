#pragma once

// 4-bit grey TIFF strips in the ThunderScan scheme: runs, 2- and 3-bit
// deltas and raw pixels; two pixels a byte, the first in the high half.
#include "imaging/decoders/decoder.h"

namespace vum {

class TThunderDecoder : public TDecoder {
public:
    // width: the line length in bytes.
    explicit TThunderDecoder(int32_t width) : width_(width) {}
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

private:
    int32_t width_;
};

} // namespace vum
