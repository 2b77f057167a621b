#pragma once

// Common base of the decoders. Every Decode is bounded on both sides: it reads
// at most packedSize bytes from source and writes at most unpackedSize units
// (bytes, or pixels where a class says so) to dest; output the data do not
// reach is zero.
#include <cstddef>
#include <cstdint>

namespace vum {

class TDecoder {
public:
    virtual ~TDecoder() = default;
    virtual void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                        std::size_t unpackedSize) = 0;
    virtual void FinishDecoding() {}
    virtual void StartDecoding() {}
    virtual void Encode(const uint8_t* /*source*/, uint8_t* /*dest*/, std::size_t /*count*/,
                        std::size_t& bytesStored)
    {
        bytesStored = 0;
    }
    // Units the last Decode wrote; what follows them is the zero fill of data that ended early.
    std::size_t Decoded() const { return decoded_; }

protected:
    std::size_t decoded_ = 0;
};

} // namespace vum
