#include "imaging/decoders/CcittDecoders.h"

#include <algorithm>
#include <cstring>

#include "imaging/decoders/T4Codes.h"

namespace vum {

namespace {

uint8_t reverseBits(uint8_t b)
{
    b = uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

} // namespace

TCCITTDecoder::TCCITTDecoder(uint32_t options, bool swapBits, bool wordAligned, uint32_t width)
    : wordAligned_(wordAligned), options_(options), swapBits_(swapBits), width_(width),
      whiteTree_(buildTree(true)), blackTree_(buildTree(false))
{
}

std::vector<TCCITTDecoder::TNode> TCCITTDecoder::buildTree(bool white)
{
    std::vector<TNode> tree(1);
    for (const TT4Code& code : white ? T4WhiteCodes() : T4BlackCodes()) {
        std::size_t node = 0;
        for (const char* bit = code.bits; *bit; ++bit) {
            int b = *bit == '1';
            if (tree[node].child[b] == 0) {
                tree[node].child[b] = int32_t(tree.size());
                tree.emplace_back();
            }
            node = std::size_t(tree[node].child[b]);
        }
        tree[node].value = code.value;
    }
    return tree;
}

void TCCITTDecoder::begin(const uint8_t* source, uint8_t* dest, std::size_t packedSize, std::size_t unpackedSize)
{
    // The caller's bytes stay as they are; a reversed fill order is undone on a copy.
    input_.assign(source, source + packedSize);
    if (swapBits_)
        for (uint8_t& b : input_)
            b = reverseBits(b);
    position_ = 0;
    mask_ = 0x80;
    output_ = dest;
    outputSize_ = unpackedSize;
    std::memset(dest, 0, unpackedSize);
    lineStart_ = 0;
    column_ = 0;
}

bool TCCITTDecoder::readBit(bool& bit)
{
    if (exhausted())
        return false;
    bit = input_[position_] & mask_;
    mask_ >>= 1;
    if (!mask_) {
        mask_ = 0x80;
        ++position_;
    }
    return true;
}

int64_t TCCITTDecoder::readRun(bool white)
{
    const std::vector<TNode>& tree = white ? whiteTree_ : blackTree_;
    int64_t sum = 0;
    std::size_t node = 0;
    for (;;) {
        const TNode& n = tree[node];
        if (n.child[0] == 0 && n.child[1] == 0) {
            if (n.value < 0)
                return n.value;
            sum += n.value;
            if (n.value < 64)
                return sum;
            node = 0;   // a make-up code: its terminating code follows
            continue;
        }
        bool bit;
        if (!readBit(bit))
            return -3;
        node = std::size_t(n.child[bit]);
    }
}

void TCCITTDecoder::fillRun(int64_t n, bool white)
{
    uint64_t end = std::min<uint64_t>(column_ + uint64_t(std::max<int64_t>(n, 0)), width_);
    if (!white)
        for (uint64_t x = column_; x < end; ++x) {
            std::size_t at = lineStart_ + std::size_t(x / 8);
            if (at >= outputSize_)
                break;
            output_[at] |= uint8_t(0x80 >> (x % 8));
        }
    column_ = end;
}

void TCCITTDecoder::endLine()
{
    lineStart_ += (std::size_t(width_) + 7) / 8;
    column_ = 0;
}

void TCCITTDecoder::skipToByte()
{
    if (mask_ != 0x80) {
        mask_ = 0x80;
        ++position_;
    }
}

void TCCITTDecoder::skipToWord()
{
    skipToByte();
    if (position_ % 2)
        ++position_;
}

void TCCITTFax3Decoder::synchronise()
{
    int zeros = 0;
    bool bit;
    while (zeros < 11 && readBit(bit))
        zeros = bit ? 0 : zeros + 1;
    while (readBit(bit) && !bit) {
    }
}

void TCCITTFax3Decoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                               std::size_t unpackedSize)
{
    begin(source, dest, packedSize, unpackedSize);
    bool endedOnEol = false;
    while (!exhausted() && !outputFull()) {
        if (!endedOnEol)
            synchronise();
        endedOnEol = false;
        bool white = true;
        while (!exhausted()) {
            int64_t run = readRun(white);
            if (run == -1)
                endedOnEol = true;
            if (run < 0)
                break;
            fillRun(run, white);
            if (lineComplete())
                break;
            white = !white;
        }
        endLine();
    }
    decoded_ = writtenLines();
}

void TCCITTMHDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                             std::size_t unpackedSize)
{
    begin(source, dest, packedSize, unpackedSize);
    bool white = true;
    while (!exhausted() && !outputFull()) {
        int64_t run = readRun(white);
        if (run == -3)
            break;
        if (run > 0) {
            fillRun(run, white);
            if (lineComplete()) {
                endLine();
                // Every coded line starts on a byte (or word) of its own.
                if (wordAligned_)
                    skipToWord();
                else
                    skipToByte();
                white = false;   // so that the next line starts white
            }
        }
        white = !white;
    }
    decoded_ = writtenLines();
}

} // namespace vum
