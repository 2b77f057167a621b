#include "imaging/readers/tiff_directory.h"

#include <algorithm>
#include <cstring>

#include "imaging/limits.h"
#include "imaging/stream.h"
#include "imaging/support.h"

namespace vum {

namespace {

enum : uint16_t {
    tByte = 1, tAscii, tShort, tLong, tRational, tSByte, tUndefined, tSShort, tSLong, tSRational, tFloat, tDouble
};

// Whole numbers as the 32-bit pattern C would store; anything that is no such
// number (a float tag where a count belongs) becomes 0.
uint32_t cardinal(double v)
{
    if (v >= 0 && v <= 4294967295.0)
        return uint32_t(v);
    if (v < 0 && v >= -2147483648.0)
        return uint32_t(int32_t(v));
    return 0;
}

} // namespace

TTiffDirectory::TTiffDirectory(TStream& stream, uint64_t base, bool bigEndian)
    : stream_(stream), base_(base), bigEndian_(bigEndian)
{
}

uint32_t TTiffDirectory::TypeSize(uint16_t type)
{
    static const uint8_t sizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < 13 ? sizes[type] : 0;
}

uint16_t TTiffDirectory::word(const uint8_t* p) const
{
    return bigEndian_ ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[0] | p[1] << 8);
}

uint32_t TTiffDirectory::longWord(const uint8_t* p) const
{
    return bigEndian_ ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                      : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

void TTiffDirectory::Read(uint32_t offset)
{
    stream_.Seek(base_ + offset);
    uint8_t countBytes[2];
    stream_.ReadBuffer(countBytes, 2);
    uint16_t count = word(countBytes);
    std::vector<uint8_t> bytes(std::size_t(count) * 12);
    stream_.ReadBuffer(bytes.data(), bytes.size());
    entries_.assign(count, {});
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + std::size_t(i) * 12;
        TTiffEntry& e = entries_[i];
        e.tag = word(p);
        e.type = word(p + 2);
        e.count = longWord(p + 4);
        std::memcpy(e.raw, p + 8, 4);
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const TTiffEntry& a, const TTiffEntry& b) { return a.tag < b.tag; });
}

uint32_t TTiffDirectory::Skip(uint32_t offset)
{
    stream_.Seek(base_ + offset);
    uint8_t bytes[4];
    stream_.ReadBuffer(bytes, 2);
    stream_.Skip(uint64_t(word(bytes)) * 12);
    stream_.ReadBuffer(bytes, 4);
    return longWord(bytes);
}

const TTiffEntry* TTiffDirectory::Find(uint16_t tag) const
{
    auto it = std::lower_bound(entries_.begin(), entries_.end(), tag,
                               [](const TTiffEntry& e, uint16_t t) { return e.tag < t; });
    return it != entries_.end() && it->tag == tag ? &*it : nullptr;
}

std::vector<uint8_t> TTiffDirectory::data(const TTiffEntry& entry) const
{
    uint64_t total = uint64_t(TypeSize(entry.type)) * entry.count;
    if (total <= 4)
        return std::vector<uint8_t>(entry.raw, entry.raw + total);
    uint64_t at = base_ + longWord(entry.raw);
    if (at > stream_.Size() || total > stream_.Size() - at || !AllocationWithinLimits(total))
        RaiseGraphicError(msg::StreamRead);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(total));
    TPositionGuard guard(stream_);
    stream_.Seek(at);
    stream_.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

double TTiffDirectory::element(const TTiffEntry& entry, const uint8_t* p) const
{
    switch (entry.type) {
    case tByte:
    case tAscii:
    case tUndefined: return p[0];
    case tSByte: return int8_t(p[0]);
    case tShort: return word(p);
    case tSShort: return int16_t(word(p));
    case tLong: return longWord(p);
    case tSLong: return int32_t(longWord(p));
    case tRational:
    case tSRational: {
        bool sign = entry.type == tSRational;
        double n = sign ? double(int32_t(longWord(p))) : double(longWord(p));
        double d = sign ? double(int32_t(longWord(p + 4))) : double(longWord(p + 4));
        return d != 0 ? n / d : 0;
    }
    case tFloat: {
        uint32_t bits = longWord(p);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    case tDouble: {
        uint64_t bits = bigEndian_ ? uint64_t(longWord(p)) << 32 | longWord(p + 4)
                                   : uint64_t(longWord(p + 4)) << 32 | longWord(p);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    default: return 0;
    }
}

uint32_t TTiffDirectory::Integer(uint16_t tag, uint32_t fallback) const
{
    uint32_t count;
    return Integer(tag, fallback, count);
}

uint32_t TTiffDirectory::Integer(uint16_t tag, uint32_t fallback, uint32_t& count) const
{
    const TTiffEntry* e = Find(tag);
    count = e ? e->count : 0;
    if (!e)
        return fallback;
    if (e->count != 1)
        return longWord(e->raw);
    switch (e->type) {
    case tByte: return e->raw[0];
    case tShort:
    case tSShort: return word(e->raw);
    case tLong:
    case tSLong: return longWord(e->raw);
    default: return fallback;
    }
}

float TTiffDirectory::Float(uint16_t tag, float fallback) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || e->count != 1)
        return fallback;
    switch (e->type) {
    case tByte:
    case tShort:
    case tSShort:
    case tLong:
    case tSLong:
    case tRational:
    case tSRational:
    case tFloat: return float(element(*e, data(*e).data()));
    default: return fallback;
    }
}

std::vector<uint8_t> TTiffDirectory::Bytes(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || TypeSize(e->type) == 0)
        return {};
    std::vector<uint8_t> bytes = data(*e);
    std::size_t size = TypeSize(e->type);
    std::vector<uint8_t> out(e->count);
    for (uint32_t i = 0; i < e->count; ++i)
        out[i] = uint8_t(cardinal(element(*e, bytes.data() + i * size)));
    return out;
}

std::vector<uint32_t> TTiffDirectory::Cardinals(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || TypeSize(e->type) == 0)
        return {};
    std::vector<uint8_t> bytes = data(*e);
    std::size_t size = TypeSize(e->type);
    std::vector<uint32_t> out(e->count);
    for (uint32_t i = 0; i < e->count; ++i)
        out[i] = cardinal(element(*e, bytes.data() + i * size));
    return out;
}

std::vector<float> TTiffDirectory::Floats(uint16_t tag) const
{
    const TTiffEntry* e = Find(tag);
    if (!e || TypeSize(e->type) == 0)
        return {};
    std::vector<uint8_t> bytes = data(*e);
    std::size_t size = TypeSize(e->type);
    std::vector<float> out(e->count);
    for (uint32_t i = 0; i < e->count; ++i)
        out[i] = float(element(*e, bytes.data() + i * size));
    return out;
}

} // namespace vum
