#pragma once

// Bilevel TIFF strips in CCITT modified Huffman codes: Group 3 one-dimensional
// data with end-of-line codes, and modified Huffman data whose coded lines
// start on byte (or 16-bit word) boundaries. Output pixels are bits, most
// significant first, white 0 and black 1; each line starts on a byte.
#include <vector>

#include "imaging/decoders/Decoder.h"

namespace vum {

class TCCITTDecoder : public TDecoder {
public:
    // swapBits: the packed bytes hold their first bit in the least significant
    // place (fill order 2). wordAligned: each coded line starts at an even
    // offset of the strip (modified Huffman, word aligned).
    TCCITTDecoder(uint32_t options, bool swapBits, bool wordAligned, uint32_t width);

    uint32_t Options() const { return options_; }

protected:
    struct TNode {
        int32_t child[2] = {0, 0};
        int32_t value = -2;
    };

    // Sets up the input and clears the output.
    void begin(const uint8_t* source, uint8_t* dest, std::size_t packedSize, std::size_t unpackedSize);
    bool exhausted() const { return position_ >= input_.size(); }
    bool readBit(bool& bit);
    // A run of the colour (make-up codes summed with the terminating code
    // that ends them); -1 an end-of-line code, -2 an invalid code, -3 the data
    // ended inside a code.
    int64_t readRun(bool white);
    // Paints n pixels of the colour from the current column, never past the
    // line or the output.
    void fillRun(int64_t n, bool white);
    bool lineComplete() const { return column_ >= width_; }
    bool outputFull() const { return lineStart_ >= outputSize_; }
    // Bytes of the lines completed so far.
    std::size_t writtenLines() const { return lineStart_ < outputSize_ ? lineStart_ : outputSize_; }
    void endLine();
    // Drops the unread bits of the current input byte.
    void skipToByte();
    void skipToWord();

    bool wordAligned_;

private:
    static std::vector<TNode> buildTree(bool white);

    uint32_t options_;
    bool swapBits_;
    uint32_t width_;
    std::vector<TNode> whiteTree_, blackTree_;
    std::vector<uint8_t> input_;
    std::size_t position_ = 0;
    uint8_t mask_ = 0x80;
    uint8_t* output_ = nullptr;
    std::size_t outputSize_ = 0;
    std::size_t lineStart_ = 0;
    uint64_t column_ = 0;
};

class TCCITTFax3Decoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;

private:
    // Reads up to and including the next end-of-line code.
    void synchronise();
};

class TCCITTMHDecoder : public TCCITTDecoder {
public:
    using TCCITTDecoder::TCCITTDecoder;
    void Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize, std::size_t unpackedSize) override;
};

} // namespace vum
