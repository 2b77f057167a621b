#include "imaging/decoders/InflateDecoder.h"

#include <cstring>

#include "imaging/Errors.h"

namespace vum {

TLZ77Decoder::TLZ77Decoder(int flushMode, bool autoReset) : flushMode_(flushMode), autoReset_(autoReset) {}

TLZ77Decoder::~TLZ77Decoder()
{
    if (started_)
        inflateEnd(&stream_);
}

void TLZ77Decoder::StartDecoding()
{
    if (started_)
        inflateEnd(&stream_);
    stream_ = z_stream{};
    started_ = false;
    if (inflateInit2(&stream_, 15) < 0)
        RaiseCompressionError("LZ77 decompression error.");
    started_ = true;
    result_ = Z_OK;
}

void TLZ77Decoder::FinishDecoding()
{
    if (!started_)
        return;
    started_ = false;
    if (inflateEnd(&stream_) < 0)
        RaiseCompressionError("LZ77 decompression error.");
}

void TLZ77Decoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                          std::size_t unpackedSize)
{
    decoded_ = 0;
    if (!started_)
        RaiseCompressionError("LZ77 decompression error.");
    stream_.next_in = const_cast<Bytef*>(source);
    stream_.avail_in = uInt(packedSize);
    if (autoReset_)
        result_ = inflateReset(&stream_);
    if (result_ != Z_OK)
        return;
    if (unpackedSize > 0)   // an empty channel may come without a buffer
        std::memset(dest, 0, unpackedSize);
    stream_.next_out = dest;
    stream_.avail_out = uInt(unpackedSize);
    result_ = inflate(&stream_, flushMode_);
    decoded_ = unpackedSize - stream_.avail_out;
    source = stream_.next_in;
    dest = stream_.next_out;
}

} // namespace vum
