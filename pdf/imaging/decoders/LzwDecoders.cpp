#include "imaging/decoders/LzwDecoders.h"

#include <array>
#include <memory>
#include <cstring>

namespace vum {

namespace {

constexpr uint32_t kTableSize = 4097;
constexpr uint32_t kNoCode = 4096;
constexpr uint32_t kMaxCodes = 4096;   // codes 0 to 4095; no entry is ever overwritten

// The string table and output shared by both bit orders.
class LzwTable {
public:
    LzwTable(uint32_t roots, uint32_t initialWidth, bool earlyChange)
        : roots_(roots), clear_(roots), end_(roots + 1), initialWidth_(initialWidth), earlyChange_(earlyChange)
    {
        for (uint32_t i = 0; i < kTableSize; ++i) {
            prefix_[i] = kNoCode;
            suffix_[i] = uint8_t(i);
        }
        reset();
    }

    uint32_t width() const { return width_; }
    bool isEnd(uint32_t code) const { return code == end_; }

    // Handles one code; returns false when no more codes should be taken now.
    bool take(uint32_t code, uint8_t*& out, std::size_t& left)
    {
        if (code == clear_) {
            reset();
            return true;
        }
        if (code > free_)
            return false;
        if (previous_ == kNoCode) {
            if (code >= roots_)
                return false;
            emitOne(uint8_t(code), out, left);
            first_ = uint8_t(code);
            previous_ = code;
            return true;
        }
        uint32_t read = code;
        uint32_t depth = 0;
        if (code == free_) {
            if (free_ >= kMaxCodes)
                return false;
            stack_[depth++] = first_;
            code = previous_;
        }
        // Every entry refers to an earlier code, so a walk has at most kTableSize steps.
        while (code > roots_ + 1 && code < kTableSize && depth < kTableSize) {
            stack_[depth++] = suffix_[code];
            code = prefix_[code];
        }
        if (code >= kTableSize)
            return false;
        first_ = suffix_[code];
        stack_[depth++] = first_;
        addEntry();
        previous_ = read;
        while (depth > 0) {
            uint8_t b = stack_[--depth];
            emitOne(b, out, left);
        }
        return true;
    }

private:
    void reset()
    {
        width_ = initialWidth_;
        free_ = roots_ + 2;
        previous_ = kNoCode;
    }

    void addEntry()
    {
        if (free_ >= kMaxCodes)
            return;
        prefix_[free_] = previous_;
        suffix_[free_] = first_;
        uint32_t mask = (1u << width_) - 1;
        if (earlyChange_) {
            ++free_;
            if (free_ == mask && width_ < 12)
                ++width_;
        } else {
            if (free_ == mask && width_ < 12)
                ++width_;
            ++free_;
        }
    }

    static void emitOne(uint8_t b, uint8_t*& out, std::size_t& left)
    {
        if (!left)
            return;
        *out++ = b;
        --left;
    }

    std::array<uint32_t, kTableSize> prefix_;
    std::array<uint8_t, kTableSize> suffix_;
    std::array<uint8_t, kTableSize + 1> stack_;
    uint32_t roots_, clear_, end_, initialWidth_;
    bool earlyChange_;
    uint32_t width_ = 0, free_ = 0, previous_ = kNoCode;
    uint8_t first_ = 0;
};

// Sets the count of bytes written however Decode returns.
struct DecodedCount {
    std::size_t& decoded;
    const std::size_t& left;
    std::size_t size;
    ~DecodedCount() { decoded = size - left; }
};

} // namespace

void TTIFFLZWDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                             std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    auto table = std::make_unique<LzwTable>(256, 9, true);
    uint8_t* out = dest;
    std::size_t left = unpackedSize;
    uint64_t buffer = 0;
    uint32_t held = 0;
    DecodedCount count{decoded_, left, unpackedSize};
    for (std::size_t i = 0; i < packedSize && left > 0; ++i) {
        // Codes left in the buffer after a dropped code are dropped once it fills up.
        while (held > 56) {
            buffer <<= table->width();
            held -= table->width();
        }
        buffer |= uint64_t(source[i]) << (56 - held);
        held += 8;
        while (held >= table->width()) {
            uint32_t width = table->width();
            uint32_t code = uint32_t(buffer >> (64 - width));
            buffer <<= width;
            held -= width;
            if (table->isEnd(code))
                return;
            if (!table->take(code, out, left))
                break;
        }
    }
}

void TGIFLZWDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                            std::size_t unpackedSize)
{
    std::memset(dest, 0, unpackedSize);
    uint8_t* out = dest;
    std::size_t left = unpackedSize;
    DecodedCount count{decoded_, left, unpackedSize};
    // A code size outside 1..11 cannot be decoded: nothing is counted as decoded.
    if (initialCodeSize_ < 1 || initialCodeSize_ > 11)
        return;
    auto table = std::make_unique<LzwTable>(1u << initialCodeSize_, initialCodeSize_ + 1u, false);
    uint64_t buffer = 0;
    uint32_t held = 0;
    for (std::size_t i = 0; i < packedSize && left > 0; ++i) {
        // Codes left in the buffer after a dropped code are dropped once it fills up.
        while (held > 56) {
            buffer >>= table->width();
            held -= table->width();
        }
        buffer |= uint64_t(source[i]) << held;
        held += 8;
        while (held >= table->width()) {
            uint32_t width = table->width();
            uint32_t code = uint32_t(buffer & ((1u << width) - 1));
            buffer >>= width;
            held -= width;
            // The end code ends the picture's data: what follows it is padding,
            // never pixels that could make up for the ones it left out.
            if (table->isEnd(code))
                return;
            if (!table->take(code, out, left))
                break;
        }
    }
}

} // namespace vum
