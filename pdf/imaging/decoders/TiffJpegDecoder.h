#pragma once

// TIFF strips stored as complete JPEG streams (with the file's optional
// shared tables), decoded through libjpeg.
#include "imaging/decoders/Decoder.h"
#include "imaging/ImageProperties.h"

namespace vum {

class TTIFFJPEGDecoder : public TDecoder {
public:
    // The properties are read at each Decode (strip index, rows, subsampling).
    explicit TTIFFJPEGDecoder(const TImageProperties& properties) : properties_(properties) {}

    void StartDecoding() override;
    void FinishDecoding() override {}
    // unpackedSize must be a whole number of lines; every header mismatch
    // raises EGraphicCompression before any line is written. A strip the
    // shared JPEG rule calls cut decodes no line (Decoded() is 0).
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

    int Warnings() const { return warnings_; }

private:
    const TImageProperties& properties_;
    uint16_t hSubsampling_ = 1, vSubsampling_ = 1;
    int warnings_ = 0;
};

} // namespace vum
