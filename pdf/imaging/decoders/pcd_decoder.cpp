#include "imaging/decoders/pcd_decoder.h"

#include "imaging/color_manager.h"
#include "imaging/stream.h"
#include "imaging/support.h"

namespace vum {

uint8_t TPCDDecoder::nextByte()
{
    if (blockAt_ >= block_.size()) {
        block_.resize(2048);
        block_.resize(stream_.Read(block_.data(), block_.size()));
        blockAt_ = 0;
        if (block_.empty())
            RaiseGraphicError(msg::StreamRead);
    }
    return block_[blockAt_++];
}

// The window's top bit is the current position; whole bytes are appended
// below the bits it holds, so it always looks at least 25 bits ahead.
void TPCDDecoder::advance(uint32_t bits)
{
    window_ = bits >= 32 ? 0 : window_ << bits;
    held_ -= int(bits);
    while (held_ < 25) {
        if (held_ < 0)
            held_ = 0;
        window_ |= uint32_t(nextByte()) << (24 - held_);
        held_ += 8;
    }
}

// A field of 8 or 16 bits: the bits just appended at the window's bottom.
uint32_t TPCDDecoder::field(uint32_t bits)
{
    advance(bits);
    return window_ & ((1u << bits) - 1);
}

bool TPCDDecoder::readTables(std::size_t count)
{
    for (std::size_t t = 0; t < count; ++t) {
        uint32_t entries = field(8) + 1;
        tables_[t].clear();
        for (uint32_t i = 0; i < entries; ++i) {
            uint32_t length = field(8) + 1;
            uint32_t code = field(16);
            auto difference = int8_t(field(8));
            if (length > 16)
                return false;
            uint32_t mask = ~0u << (32 - length);
            tables_[t].push_back({length, code << 16, mask, difference});
        }
    }
    return true;
}

void TPCDDecoder::synchronise()
{
    while ((window_ & 0x00FFF000) != 0x00FFF000)
        advance(8);
    while ((window_ >> 8) != 0xFFFFFE)
        advance(1);
}

void TPCDDecoder::Decode(const uint8_t*& source, uint8_t*&, std::size_t packedSize, std::size_t unpackedSize)
{
    DecodePlanes(reinterpret_cast<uint8_t* const*>(source), packedSize, uint32_t(unpackedSize));
}

void TPCDDecoder::DecodePlanes(uint8_t* const planes[3], std::size_t lineLength, uint32_t stopRow)
{
    window_ = 0;
    held_ = 32;
    block_.clear();
    blockAt_ = 0;
    std::size_t tableCount = lineLength > 1536 ? 3 : 1;
    if (!readTables(tableCount))
        return;
    advance(32);
    synchronise();
    uint8_t* at = nullptr;
    uint8_t* end = nullptr;
    const std::vector<TEntry>* table = nullptr;
    for (;;) {
        if ((window_ >> 8) == 0xFFFFFE) {
            advance(16);
            uint32_t row = (window_ >> 9) & 0x1FFF;
            if (row == stopRow)
                return;
            advance(8);
            uint32_t plane = window_ >> 30;
            advance(16);
            if (plane == 1)
                return;   // a section this decoder does not know: the picture keeps what it has
            uint32_t index = plane == 0 ? 0 : plane - 1;
            // Rows beyond the plane and planes without a table are passed over.
            uint32_t planeRow = plane == 0 ? row : row / 2;
            uint32_t planeRows = plane == 0 ? rows_ : rows_ / 2;
            table = index < tableCount && planeRow < planeRows ? &tables_[index] : nullptr;
            at = table ? planes[index] + std::size_t(planeRow) * lineLength : nullptr;
            end = at ? at + lineLength : nullptr;
            continue;
        }
        const TEntry* found = nullptr;
        if (table && at < end)
            for (const TEntry& e : *table)
                if ((window_ & e.mask) == e.code) {
                    found = &e;
                    break;
                }
        if (!found) {
            synchronise();
            continue;
        }
        *at = ClampByte(int(*at) + found->difference);
        ++at;
        advance(found->length);
    }
}

} // namespace vum
