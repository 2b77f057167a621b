#pragma once

// Inflate (zlib) over deflate data: PNG image data, deflate-compressed strips.
#include <zlib.h>

#include "imaging/decoders/Decoder.h"

namespace vum {

class TLZ77Decoder : public TDecoder {
public:
    TLZ77Decoder(int flushMode, bool autoReset);
    ~TLZ77Decoder() override;
    TLZ77Decoder(const TLZ77Decoder&) = delete;
    TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

    void StartDecoding() override;
    void FinishDecoding() override;
    // Inflates what fits into dest; source and dest are left after what was used.
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

    std::size_t AvailableInput() const { return stream_.avail_in; }
    std::size_t AvailableOutput() const { return stream_.avail_out; }
    int ZLibResult() const { return result_; }

private:
    z_stream stream_{};
    int flushMode_;
    bool autoReset_;
    bool started_ = false;
    int result_ = Z_OK;
};

} // namespace vum
