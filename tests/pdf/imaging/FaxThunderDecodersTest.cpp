// The bilevel fax decoders, the ThunderScan decoder and the Photo-CD
// difference decoder and plane upsampler on small hand-made inputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/decoders/ccitt_decoders.h"
#include "imaging/decoders/pcd_decoder.h"
#include "imaging/decoders/pcd_upsample.h"
#include "imaging/decoders/thunder_decoder.h"
#include "imaging/errors.h"
#include "imaging/stream.h"

using namespace vum;

namespace {

using Bytes = std::vector<uint8_t>;

// '0' and '1' characters (blanks ignored) packed first bit first; the last byte padded with 0.
Bytes bits(const std::string& text)
{
    Bytes out;
    int n = 0;
    for (char c : text) {
        if (c != '0' && c != '1')
            continue;
        if (n % 8 == 0)
            out.push_back(0);
        if (c == '1')
            out.back() |= uint8_t(0x80 >> (n % 8));
        ++n;
    }
    return out;
}

Bytes decode(TDecoder& decoder, Bytes packed, std::size_t size)
{
    Bytes out(size, 0xEE);
    const uint8_t* source = packed.data();
    uint8_t* dest = out.data();
    decoder.Decode(source, dest, packed.size(), size);
    return out;
}

const char* const kEol = "000000000001 ";

} // namespace

TEST(FaxDecoders, Group3Lines)
{
    struct Case {
        const char* name;
        uint32_t width;
        std::string code;
        Bytes want;
    } cases[] = {
        {"white 0, black 1, white 7: the first pixel is black", 8,
         std::string(kEol) + "00110101 010 1111" + kEol, {0x80}},
        {"white 1728 fills the line with white", 1728, std::string(kEol) + "010011011 00110101" + kEol,
         Bytes(216, 0)},
        {"a black run past the line stops at its end", 8,
         std::string(kEol) + "00110101 00001101000 " + kEol + "1000 0011" + kEol, {0xFF, 0x1F}},
        {"an invalid code ends the line; the next starts after an end of line", 8,
         std::string(kEol) + "1000 000000001 " + kEol + "1000 0011" + kEol, {0x00, 0x1F}},
        {"make-up 2560 + 2560 + 64 + 0 in a wide line", 5184,
         std::string(kEol) + "000000011111 000000011111 11011 00110101" + kEol, Bytes(648, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCCITTFax3Decoder decoder(0, false, false, c.width);
        EXPECT_EQ(decode(decoder, bits(c.code), c.want.size()), c.want);
    }
}

TEST(FaxDecoders, ReversedFillOrderLeavesTheCallersBytes)
{
    Bytes packed = bits(std::string(kEol) + "00110101 010 1111" + kEol);
    Bytes reversed;
    for (uint8_t b : packed) {
        uint8_t r = 0;
        for (int i = 0; i < 8; ++i)
            if (b & (1 << i))
                r |= uint8_t(0x80 >> i);
        reversed.push_back(r);
    }
    Bytes kept = reversed;
    TCCITTFax3Decoder decoder(0, true, false, 8);
    EXPECT_EQ(decode(decoder, reversed, 1), Bytes{0x80});
    EXPECT_EQ(reversed, kept);
}

TEST(FaxDecoders, ModifiedHuffmanLinesStartOnABoundary)
{
    // Width 8: white 1, black 7 ends in the middle of the second byte, whose
    // other bits are dropped; white 3, black 5 fills the next byte.
    Bytes packed = bits("000111 00011 11111" "1000 0011" "000111 00011");
    TCCITTMHDecoder decoder(0, false, false, 8);
    EXPECT_EQ(decode(decoder, packed, 3), (Bytes{0x7F, 0x1F, 0x7F}));
    // Word aligned: the second line starts at the next even byte.
    Bytes aligned = bits("1000 0011" "11111111" "000111 00011");
    TCCITTMHDecoder words(0, false, true, 8);
    EXPECT_EQ(decode(words, aligned, 2), (Bytes{0x1F, 0x7F}));
}

TEST(ThunderDecoder, RunsDeltasAndRawPixels)
{
    struct Case {
        const char* name;
        Bytes packed;
        int32_t width;
        Bytes want;
    } cases[] = {
        {"raw 7 then a run of three", {0xC7, 0x03}, 2, {0x77, 0x77}},
        {"deltas 2, 2, 3 write one pixel, last - 1", {0xC5, 0x6B}, 1, {0x54}},
        {"3-bit deltas +3 and -3", {0xC5, 0x9D}, 2, {0x58, 0x50}},
        {"a run never passes its line", {0xC2, 0x3F, 0xC9}, 1, {0x22, 0x90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TThunderDecoder decoder(c.width);
        EXPECT_EQ(decode(decoder, c.packed, c.want.size()), c.want);
    }
}

TEST(PcdUpsample, AveragesNeighbours)
{
    Bytes plane = {10, 20, 0, 0, 30, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    UpsamplePlane2x(2, 2, 4, plane.data());
    EXPECT_EQ(plane, (Bytes{10, 15, 20, 20, 20, 25, 30, 30, 30, 35, 40, 40, 30, 35, 40, 40}));
}

namespace {

// One table of two codes, "10" (-5) and "01" (+10); a section for luma row
// 1; the codes 10 01 01, then a section header naming the row that ends decoding.
Bytes pcdDifferences(uint8_t row, uint8_t plane, uint8_t stopRow)
{
    Bytes data = {0x01, 0x01, 0x80, 0x00, 0xFB, 0x01, 0x40, 0x00, 0x0A};
    Bytes section = {0xFF, 0xFF, 0xFE, uint8_t(plane << 6 | row >> 7), uint8_t(row << 1), 0x94,
                     0xFF, 0xFF, 0xFE, uint8_t(stopRow >> 7), uint8_t(stopRow << 1)};
    data.insert(data.end(), section.begin(), section.end());
    data.resize(data.size() + 16, 0);
    return data;
}

} // namespace

TEST(PcdDecoder, DifferencesClampAndRowsAreBounded)
{
    struct Case {
        const char* name;
        uint8_t row, plane;
        Bytes wantLuma;
    } cases[] = {
        {"row 1: -5 on 3 gives 0, +10 on 250 gives 255, +10 on 100", 1, 0, {9, 9, 9, 9, 0, 255, 110, 9}},
        {"a row beyond the plane is passed over", 60, 0, {9, 9, 9, 9, 3, 250, 100, 9}},
        {"plane 1 stops decoding", 1, 1, {9, 9, 9, 9, 3, 250, 100, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes data = pcdDifferences(c.row, c.plane, 5);
        TMemoryStream stream(data.data(), data.size());
        Bytes luma = {9, 9, 9, 9, 3, 250, 100, 9}, chroma1(4, 7), chroma2(4, 7);
        uint8_t* planes[3] = {luma.data(), chroma1.data(), chroma2.data()};
        TPCDDecoder decoder(stream, 2);
        decoder.DecodePlanes(planes, 4, 5);
        EXPECT_EQ(luma, c.wantLuma);
        EXPECT_EQ(chroma1, Bytes(4, 7));
    }
    // Data that end before the closing section header raise a read error.
    Bytes cut = pcdDifferences(1, 0, 5);
    cut.resize(17);
    TMemoryStream stream(cut.data(), cut.size());
    Bytes luma(8, 9), chroma(4, 7);
    uint8_t* planes[3] = {luma.data(), chroma.data(), chroma.data()};
    TPCDDecoder decoder(stream, 2);
    EXPECT_THROW(decoder.DecodePlanes(planes, 4, 5), EInvalidGraphic);
}
