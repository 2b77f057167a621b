#pragma once

// The run-length decoders of the raster formats.
#include "imaging/decoders/Decoder.h"

namespace vum {

// unpackedSize counts pixels; source is left after the consumed packets.
class TTargaRLEDecoder : public TDecoder {
public:
    explicit TTargaRLEDecoder(int colorDepth) : colorDepth_(colorDepth) {}
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
    // Count in pixels; dest needs room for Count x (pixel size + 1) bytes at worst.
    void Encode(const uint8_t* source, uint8_t* dest, std::size_t count, std::size_t& bytesStored) override;
    std::size_t PixelSize() const;

private:
    int colorDepth_;
};

class TPackbitsRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

class TPCXRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

// sampleSize 8 or 16 bits; unpackedSize counts bytes.
class TSGIRLEDecoder : public TDecoder {
public:
    explicit TSGIRLEDecoder(int sampleSize) : sampleSize_(sampleSize) {}
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

private:
    int sampleSize_;
};

// Source is left after the terminating 0.
class TCUTRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

class TPSPRLEDecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

class TRLADecoder : public TDecoder {
public:
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

} // namespace vum
