#include "imaging/decoders/RleDecoders.h"

#include <algorithm>
#include <cstring>

namespace vum {

namespace {

// Output cursor that never writes past its end.
struct Output {
    uint8_t* at;
    std::size_t left;
    std::size_t written(std::size_t size) const { return size - left; }
    void fill(uint8_t value, std::size_t count)
    {
        count = std::min(count, left);
        std::memset(at, value, count);
        at += count;
        left -= count;
    }
    void copy(const uint8_t* from, std::size_t count)
    {
        count = std::min(count, left);
        if (count == 0)
            return;   // an empty input may have no buffer at all
        std::memcpy(at, from, count);
        at += count;
        left -= count;
    }
};

// Input cursor that never reads past its end. (Its span must run before the
// bytes it points at are used: argument order is unspecified.)
struct Input {
    const uint8_t* at;
    std::size_t left;
    bool take(uint8_t& b)
    {
        if (!left)
            return false;
        b = *at++;
        --left;
        return true;
    }
    // Returns how many of count bytes are available and consumes them.
    std::size_t span(std::size_t count, const uint8_t*& start)
    {
        start = at;
        count = std::min(count, left);
        at += count;
        left -= count;
        return count;
    }
};

} // namespace

std::size_t TTargaRLEDecoder::PixelSize() const
{
    switch (colorDepth_) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
    }
}

void TTargaRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                              std::size_t unpackedSize)
{
    std::size_t size = PixelSize();
    if (!size)
        return;
    std::memset(dest, 0, unpackedSize * size);
    Input in{source, packedSize};
    Output out{dest, unpackedSize * size};
    uint8_t h;
    while (out.left && in.take(h)) {
        std::size_t count = (h & 127) + 1;
        const uint8_t* data;
        if (h < 128) {
            std::size_t got = in.span(count * size, data);
            out.copy(data, got);
            if (got < count * size)
                break;
        } else {
            if (in.span(size, data) < size)
                break;
            for (std::size_t i = 0; i < count && out.left; ++i)
                out.copy(data, size);
        }
    }
    source = in.at;
    decoded_ = out.written(unpackedSize * size) / size;
}

void TTargaRLEDecoder::Encode(const uint8_t* source, uint8_t* dest, std::size_t count, std::size_t& bytesStored)
{
    std::size_t size = std::size_t(colorDepth_ + 1) / 8;
    bytesStored = 0;
    if (!size)
        return;
    auto same = [&](std::size_t a, std::size_t b) {
        return std::memcmp(source + a * size, source + b * size, size) == 0;
    };
    std::size_t pos = 0;
    while (pos < count) {
        std::size_t left = count - pos;
        std::size_t d = 0;
        if (left == 1)
            d = 1;
        else
            while (d < left && !(d + 1 < left && same(pos + d, pos + d + 1)))
                ++d;
        std::size_t s = 1;
        while (pos + s < count && same(pos, pos + s))
            ++s;
        d = std::min<std::size_t>(d, 128);
        s = std::min<std::size_t>(s, 128);
        if (d > 0) {
            *dest++ = uint8_t(d - 1);
            std::memcpy(dest, source + pos * size, d * size);
            dest += d * size;
            bytesStored += d * size + 1;
            pos += d;
        } else if (s >= 2) {
            *dest++ = uint8_t((s - 1) | 128);
            std::memcpy(dest, source + pos * size, size);
            dest += size;
            bytesStored += size + 1;
            pos += s;
        }
    }
}

void TPackbitsRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                                 std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    uint8_t h;
    while (out.left && in.take(h)) {
        int8_t n = int8_t(h);
        if (n == -128)
            continue;
        const uint8_t* data;
        if (n >= 0) {
            std::size_t got = in.span(std::size_t(n) + 1, data);
            out.copy(data, got);
        } else {
            if (in.span(1, data) < 1)
                break;
            out.fill(*data, std::size_t(1 - n));
        }
    }
    decoded_ = out.written(unpackedSize);
}

void TPCXRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                            std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    uint8_t h;
    while (out.left && in.take(h)) {
        if (h < 192) {
            out.fill(h, 1);
            continue;
        }
        uint8_t v;
        if (!in.take(v))
            break;
        out.fill(v, h & 63);
    }
    decoded_ = out.written(unpackedSize);
}

void TSGIRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                            std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    const uint8_t* data;
    if (sampleSize_ == 16) {
        while (out.left) {
            if (in.span(2, data) < 2)
                break;
            uint16_t w = uint16_t(data[0] << 8 | data[1]);
            std::size_t count = w & 127;
            if (!count)
                break;
            if (w & 128) {
                std::size_t got = in.span(count * 2, data);
                out.copy(data, got);
            } else {
                if (in.span(2, data) < 2)
                    break;
                for (std::size_t i = 0; i < count && out.left; ++i)
                    out.copy(data, 2);
            }
        }
        decoded_ = out.written(unpackedSize);
        return;
    }
    uint8_t h;
    while (out.left && in.take(h)) {
        std::size_t count = h & 127;
        if (!count)
            break;
        if (h & 128) {
            std::size_t got = in.span(count, data);
            out.copy(data, got);
        } else {
            uint8_t v;
            if (!in.take(v))
                break;
            out.fill(v, count);
        }
    }
    decoded_ = out.written(unpackedSize);
}

void TCUTRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                            std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    const uint8_t* skipped;
    in.span(2, skipped);
    uint8_t h;
    while (in.take(h) && h != 0) {
        const uint8_t* data;
        if (h < 128) {
            std::size_t got = in.span(h, data);
            out.copy(data, got);
        } else {
            uint8_t v;
            if (!in.take(v))
                break;
            out.fill(v, h & 127);
        }
    }
    source = in.at;
    decoded_ = out.written(unpackedSize);
}

void TPSPRLEDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                            std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    uint8_t h;
    while (in.take(h)) {
        const uint8_t* data;
        if (h < 128) {
            std::size_t got = in.span(h, data);
            out.copy(data, got);
        } else {
            uint8_t v;
            if (!in.take(v))
                break;
            out.fill(v, std::size_t(h) - 128);
        }
    }
    decoded_ = out.written(unpackedSize);
}

void TRLADecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                         std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    Input in{source, packedSize};
    Output out{dest, unpackedSize};
    uint8_t h;
    while (in.take(h)) {
        int8_t n = int8_t(h);
        const uint8_t* data;
        if (n < 0) {
            std::size_t got = in.span(std::size_t(-n), data);
            out.copy(data, got);
        } else {
            uint8_t v;
            if (!in.take(v))
                break;
            out.fill(v, std::size_t(n) + 1);
        }
    }
    decoded_ = out.written(unpackedSize);
}

} // namespace vum
