#include <gtest/gtest.h>

#include <zlib.h>

#include "imaging/decoders/InflateDecoder.h"
#include "imaging/decoders/LzwDecoders.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/Support.h"

using namespace vum;

namespace {

using Bytes = std::vector<uint8_t>;

struct Decoded {
    Bytes out;
    std::size_t consumed;
};

// Decodes into a buffer with guard bytes behind it, which must stay untouched.
Decoded run(TDecoder& decoder, const Bytes& in, std::size_t unpacked, std::size_t unitBytes = 1)
{
    Bytes buffer(unpacked * unitBytes + 8, 0xEE);
    const uint8_t* source = in.data();
    uint8_t* dest = buffer.data();
    decoder.Decode(source, dest, in.size(), unpacked);
    for (std::size_t i = unpacked * unitBytes; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], 0xEE) << "written past the output at " << i;
    buffer.resize(unpacked * unitBytes);
    return {buffer, std::size_t(source - in.data())};
}

} // namespace

TEST(Decoders, RunLength)
{
    struct Case {
        const char* what;
        std::function<std::unique_ptr<TDecoder>()> make;
        Bytes in;
        std::size_t unpacked;
        Bytes out;
        std::size_t consumed;   // where the source is left
    };
    auto packbits = [] { return std::make_unique<TPackbitsRLEDecoder>(); };
    auto pcx = [] { return std::make_unique<TPCXRLEDecoder>(); };
    const Case cases[] = {
        {"packbits run", packbits, {0xFE, 0xAA}, 3, {0xAA, 0xAA, 0xAA}, 0},
        {"packbits no-op then literal", packbits, {0x80, 0x02, 1, 2, 3}, 3, {1, 2, 3}, 0},
        {"packbits literal cut to the output", packbits, {0x05, 1, 2, 3, 4, 5, 6}, 2, {1, 2}, 0},
        {"packbits literal cut to the input: rest zero", packbits, {0x05, 1, 2}, 4, {1, 2, 0, 0}, 0},
        {"pcx run", pcx, {0xC3, 0x11}, 3, {0x11, 0x11, 0x11}, 0},
        {"pcx empty run", pcx, {0xC0, 0x11, 0x05}, 2, {0x05, 0}, 0},
        {"pcx run cut to the output", pcx, {0xFF, 0x11}, 4, {0x11, 0x11, 0x11, 0x11}, 0},
        {"sgi 8 bits", [] { return std::make_unique<TSGIRLEDecoder>(8); }, {0x83, 1, 2, 3, 0x02, 4, 0x00}, 6,
         {1, 2, 3, 4, 4, 0}, 0},
        {"sgi run past the output", [] { return std::make_unique<TSGIRLEDecoder>(8); }, {0x7F, 9}, 3, {9, 9, 9}, 0},
        {"rla", [] { return std::make_unique<TRLADecoder>(); }, {0xFE, 1, 2, 0x01, 3}, 4, {1, 2, 3, 3}, 0},
        {"psp", [] { return std::make_unique<TPSPRLEDecoder>(); }, {0x82, 7, 0x01, 8, 0x80, 1}, 4, {7, 7, 8, 0}, 0},
        {"cut stops at 0", [] { return std::make_unique<TCUTRLEDecoder>(); }, {9, 9, 0x82, 5, 0x01, 6, 0, 77}, 4,
         {5, 5, 6, 0}, 7},
        {"targa run of three", [] { return std::make_unique<TTargaRLEDecoder>(24); }, {0x82, 1, 2, 3, 0x00, 9, 9, 9}, 3,
         {1, 2, 3, 1, 2, 3, 1, 2, 3}, 4},
    };
    for (const Case& c : cases) {
        auto decoder = c.make();
        std::size_t unit = c.out.size() / c.unpacked;
        Decoded d = run(*decoder, c.in, c.unpacked, unit);
        EXPECT_EQ(d.out, c.out) << c.what;
        EXPECT_EQ(d.consumed, c.consumed) << c.what;
    }
}

TEST(Decoders, TargaEncoding)
{
    TTargaRLEDecoder targa(24);
    Bytes same(200 * 3, 7), packed(1000);
    std::size_t stored = 0;
    targa.Encode(same.data(), packed.data(), 8, stored);
    EXPECT_EQ(stored, 4u);
    EXPECT_EQ(packed[0], 0x87);
    targa.Encode(same.data(), packed.data(), 200, stored);
    EXPECT_EQ(stored, 8u);
    EXPECT_EQ(packed[0], 0xFF);
    EXPECT_EQ(packed[4], 0x80 | 71);

    Bytes mixed = {1, 1, 1, 2, 2, 2, 3, 3, 3};
    targa.Encode(mixed.data(), packed.data(), 3, stored);
    EXPECT_EQ(stored, 10u);
    EXPECT_EQ(packed[0], 2);
}

namespace {

// Packs 9-bit codes most significant bit first.
Bytes packMsb(const std::vector<uint32_t>& codes)
{
    Bytes packed;
    uint32_t buffer = 0, held = 0;
    for (uint32_t code : codes) {
        buffer = buffer << 9 | code;
        held += 9;
        while (held >= 8) {
            packed.push_back(uint8_t(buffer >> (held - 8)));
            held -= 8;
        }
    }
    if (held)
        packed.push_back(uint8_t(buffer << (8 - held)));
    return packed;
}

} // namespace

TEST(Decoders, TiffLzw)
{
    TTIFFLZWDecoder lzw;
    // The end code stops decoding though more codes follow.
    EXPECT_EQ(run(lzw, packMsb({256, 7, 7, 257, 9}), 4).out, (Bytes{7, 7, 0, 0}));
    // 258 is the entry being made (KwKwK): the previous string and its first byte.
    EXPECT_EQ(run(lzw, packMsb({256, 65, 258, 257}), 5).out, (Bytes{65, 65, 65, 0, 0}));
}

TEST(Decoders, GifLzwStopsAddingAtTheTableEnd)
{
    // Code size 2: clear 4, end 5, first free 6. A long stream of the same
    // code fills the table; a table that wrapped or looped would stall or write
    // garbage, a sound one produces only zeros here.
    std::vector<uint32_t> codes = {4};
    for (int i = 0; i < 5000; ++i)
        codes.push_back(0);
    // With the table full, the last entry again and again: a decoder that
    // rewrote it would make it its own prefix and loop for ever.
    for (int i = 0; i < 10; ++i)
        codes.push_back(4095);
    Bytes packed;
    uint64_t buffer = 0;
    uint32_t held = 0, width = 3, free = 6;
    bool first = true;
    for (uint32_t code : codes) {
        buffer |= uint64_t(code) << held;
        held += width;
        while (held >= 8) {
            packed.push_back(uint8_t(buffer));
            buffer >>= 8;
            held -= 8;
        }
        if (code == 4) {
            first = true;
            continue;
        }
        if (!first && free < 4096) {
            if (free == (1u << width) - 1 && width < 12)
                ++width;
            ++free;
        }
        first = false;
    }
    packed.push_back(uint8_t(buffer));
    TGIFLZWDecoder lzw(2);
    Decoded d = run(lzw, packed, 20000);
    for (uint8_t b : d.out)
        ASSERT_EQ(b, 0);

    // Every code beyond the table is dropped; the unread bits must not pile up.
    TGIFLZWDecoder dropping(2);
    EXPECT_EQ(run(dropping, Bytes(100, 0xFF), 8).out, Bytes(8, 0));
    TTIFFLZWDecoder tiffDropping;
    EXPECT_EQ(run(tiffDropping, Bytes(100, 0xFF), 8).out, Bytes(8, 0));

    TGIFLZWDecoder badSize(12);
    EXPECT_EQ(run(badSize, packed, 16).out, Bytes(16, 0));
}

TEST(Decoders, InflateStopsAfterTheEnd)
{
    Bytes raw(100, 42), packed(200);
    uLongf size = uLongf(packed.size());
    compress(packed.data(), &size, raw.data(), uLong(raw.size()));
    packed.resize(size);
    TLZ77Decoder inflater(Z_NO_FLUSH, false);
    inflater.StartDecoding();
    Decoded d = run(inflater, packed, 100);
    EXPECT_EQ(d.out, raw);
    EXPECT_EQ(inflater.ZLibResult(), Z_STREAM_END);
    const uint8_t* source = packed.data();
    Bytes more(10, 0xEE);
    uint8_t* dest = more.data();
    inflater.Decode(source, dest, packed.size(), more.size());
    EXPECT_EQ(source, packed.data());
    EXPECT_EQ(dest, more.data());
    inflater.FinishDecoding();
}

TEST(Decoders, CountWhatTheDataFilled)
{
    // The readers tell data that end early from a whole row by this count.
    Bytes raw(100, 42), deflated(200);
    uLongf size = uLongf(deflated.size());
    compress(deflated.data(), &size, raw.data(), uLong(raw.size()));
    deflated.resize(size);
    struct Case {
        const char* what;
        std::function<std::unique_ptr<TDecoder>()> make;
        Bytes in;
        std::size_t unpacked;
        std::size_t decoded;
    } cases[] = {
        {"packbits whole", [] { return std::make_unique<TPackbitsRLEDecoder>(); }, {0xFD, 7}, 4, 4},
        {"packbits short", [] { return std::make_unique<TPackbitsRLEDecoder>(); }, {0xFE, 7}, 4, 3},
        {"sgi short", [] { return std::make_unique<TSGIRLEDecoder>(8); }, {0x02, 7, 0}, 4, 2},
        {"rla whole", [] { return std::make_unique<TRLADecoder>(); }, {0x03, 9}, 4, 4},
        {"psp short", [] { return std::make_unique<TPSPRLEDecoder>(); }, {0x82, 1}, 4, 2},
        {"targa pixels", [] { return std::make_unique<TTargaRLEDecoder>(24); }, {0x81, 1, 2, 3}, 3, 2},
        {"lzw short", [] { return std::make_unique<TTIFFLZWDecoder>(); }, {0x80, 0x00, 0x20, 0x10}, 8, 1},
        // GIF, code size 2: clear 4, end 5, 3-bit codes.
        {"gif lzw whole without an end code", [] { return std::make_unique<TGIFLZWDecoder>(2); },
         {0x8C, 0x38, 0x00}, 4, 4},   // clear 1 2 clear 3 0
        {"gif lzw: the end code ends the count", [] { return std::make_unique<TGIFLZWDecoder>(2); },
         {0x8C, 0x0A, 0x00, 0x00}, 4, 2},   // clear 1 2 end, then bytes that would decode
        {"gif lzw code size 0", [] { return std::make_unique<TGIFLZWDecoder>(0); }, {0x8C, 0x38, 0x00}, 4, 0},
        {"gif lzw code size 15", [] { return std::make_unique<TGIFLZWDecoder>(15); }, {0x8C, 0x38, 0x00}, 4, 0},
        {"inflate short", [] { return std::make_unique<TLZ77Decoder>(Z_NO_FLUSH, false); }, deflated, 150, 100},
    };
    for (const Case& c : cases) {
        auto decoder = c.make();
        decoder->StartDecoding();
        Bytes out(c.unpacked * 3);
        const uint8_t* source = c.in.data();
        uint8_t* dest = out.data();
        decoder->Decode(source, dest, c.in.size(), c.unpacked);
        EXPECT_EQ(decoder->Decoded(), c.decoded) << c.what;
    }
    // An empty channel comes without a buffer: nothing is touched (the sanitizer build checks).
    TLZ77Decoder inflater(Z_NO_FLUSH, false);
    inflater.StartDecoding();
    const uint8_t* source = deflated.data();
    uint8_t* dest = nullptr;
    inflater.Decode(source, dest, deflated.size(), 0);
    EXPECT_EQ(inflater.Decoded(), 0u);
    inflater.FinishDecoding();
}

TEST(SupportRoutines, SwapsAndPredictors)
{
    Bytes line = {10, 1, 1, 255};
    UndoPredictor8(line.data(), 3);
    EXPECT_EQ(line, (Bytes{10, 11, 12, 11}));
    Bytes words = {0x12, 0x34};
    SwapWords(words.data(), 1);
    EXPECT_EQ(words, (Bytes{0x34, 0x12}));
    EXPECT_EQ(SwapLong(0x44332211u), 0x11223344u);
    Bytes rgb = {1, 2, 3, 1, 1, 1};
    UndoPredictor24(rgb.data(), 1);
    EXPECT_EQ(rgb, (Bytes{1, 2, 3, 2, 3, 4}));
}
