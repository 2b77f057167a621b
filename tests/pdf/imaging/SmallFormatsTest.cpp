// CUT, RLA, Photo-CD, Autodesk and EPS files made by hand (or wrapped around a
// TIFF by ImageMagick) load as the pictures they were made from.
#include <gtest/gtest.h>
#include <zlib.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/errors.h"
#include "imaging/picture_loader.h"
#include "imaging/readers/autodesk_reader.h"
#include "imaging/readers/cut_reader.h"
#include "imaging/readers/pcd_reader.h"
#include "imaging/readers/psp_reader.h"
#include "imaging/readers/rla_reader.h"
#include "imaging/readers/tiff_reader.h"
#include "imaging/registry.h"
#include "imaging/stream.h"

using namespace vum;
using namespace std::string_literals;

namespace {

std::string le16(uint32_t v)
{
    return {char(v & 255), char(v >> 8 & 255)};
}

std::string be16(uint32_t v)
{
    return {char(v >> 8 & 255), char(v & 255)};
}

std::string be32(uint32_t v)
{
    return be16(v >> 16) + be16(v);
}

const uint32_t W = 20, H = 7;

uint8_t index(uint32_t x, uint32_t y)
{
    return uint8_t((x * 13 + y * 29) % 16);
}

uint32_t paletteColor(uint32_t i)
{
    return (i * 16) << 16 | (255 - i * 16) << 8 | (i * 37) % 256;
}

// Rows of a run of five, then the rest as literals; each row ends with 0.
std::string cutFile()
{
    std::string out = le16(W) + le16(H) + le16(0);
    for (uint32_t y = 0; y < H; ++y) {
        std::string packets = {char(0x80 | 5), char(index(0, y)), char(W - 5)};
        for (uint32_t x = 5; x < W; ++x)
            packets += char(index(x, y));
        out += le16(uint32_t(packets.size()) + 1) + packets + '\0';
    }
    return out;
}

// A Dr. Halo palette: 40 bytes of header (highest index at 12), then 6-byte entries.
std::string halPalette()
{
    std::string out = "AH" + le16(0x300) + le16(512) + std::string("\x0a\0", 2) + le16(0) + le16(0) + le16(15) +
                      le16(255) + le16(255) + le16(255) + std::string("Dr. Halo") + std::string(12, '\0');
    for (uint32_t i = 0; i < 16; ++i) {
        uint32_t c = paletteColor(i);
        out += le16(c >> 16) + le16(c >> 8 & 255) + le16(c & 255);
    }
    return out + std::string(512 - out.size(), '\0');
}

} // namespace

TEST(CutReader, PaletteFileBesideItAndGreyWithout)
{
    TempDir dir;
    std::string cut = dir.file("picture.cut");
    writeFile(cut, cutFile());
    writeFile(dir.file("picture.pal"), halPalette());
    EXPECT_EQ(FindPictureClass(cut), &TCUTGraphicClass);
    auto picture = loadWithRegistry(cut);
    ASSERT_EQ(picture->Width(), W);
    ASSERT_EQ(picture->Height(), H);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"convert", cut, "ppm:-"})), "");
    for (uint32_t y = 0; y < H; ++y)
        for (uint32_t x = 0; x < W; ++x) {
            uint32_t bgr = picture->PixelColor(x, y), want = paletteColor(x < 5 ? index(0, y) : index(x, y));
            ASSERT_EQ((bgr & 255) << 16 | (bgr & 0xFF00) | bgr >> 16, want) << x << "," << y;
        }
    std::remove(dir.file("picture.pal").c_str());
    auto grey = loadWithRegistry(cut);
    EXPECT_EQ(grey->PixelColor(6, 1), index(6, 1) * 0x010101u);
}

namespace {

uint32_t rlaColor(uint32_t x, uint32_t y)
{
    return (x * 13 % 256) << 16 | (y * 40 % 256) << 8 | ((x + y) * 9 % 256);
}

// Rows stored from the bottom (the active window's bottom below its top);
// each channel a literal run and a repeat run.
std::string rlaFile(int bottom, int top, const char* gamma = "1.0")
{
    std::string h(740, '\0');
    auto put = [&](std::size_t at, const std::string& s) { h.replace(at, s.size(), s); };
    put(0, be16(0) + be16(W - 1) + be16(uint16_t(bottom)) + be16(uint16_t(top)));
    put(8, be16(0) + be16(W - 1) + be16(uint16_t(bottom)) + be16(uint16_t(top)));
    put(16, be16(1) + be16(0) + be16(3) + be16(0) + be16(0) + be16(0xFFFE));
    put(28, gamma);
    put(580, "rgb");
    put(658, be16(8));
    std::vector<std::string> rows;
    for (uint32_t r = 0; r < H; ++r) {
        uint32_t y = H - 1 - r;   // the first stored row is the bottom one
        std::string row;
        for (int shift = 16; shift >= 0; shift -= 8) {
            std::string packed = {char(-12)};
            for (uint32_t x = 0; x < 12; ++x)
                packed += char(rlaColor(x, y) >> shift);
            packed += {char(W - 12 - 1), char(rlaColor(12, y) >> shift)};
            row += be16(uint32_t(packed.size())) + packed;
        }
        rows.push_back(row);
    }
    std::string table, data;
    uint32_t at = 740 + 4 * H;
    for (const std::string& row : rows) {
        table += be32(at + uint32_t(data.size()));
        data += row;
    }
    return h + table + data;
}

} // namespace

TEST(RlaReader, RowsFromTheBottomAndBrokenWindows)
{
    std::string bytes = rlaFile(0, H - 1);
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_TRUE(TRLAGraphic::CanLoad(stream));
    TRLAGraphic picture;
    picture.LoadFromStream(stream);
    ASSERT_EQ(picture.Width(), W);
    ASSERT_EQ(picture.Height(), H);
    EXPECT_TRUE(picture.ImageProperties().BottomUp);
    for (uint32_t y = 0; y < H; ++y)
        for (uint32_t x = 0; x < W; ++x) {
            uint32_t bgr = picture.PixelColor(x, y), want = rlaColor(x < 12 ? x : 12, y);
            ASSERT_EQ((bgr & 255) << 16 | (bgr & 0xFF00) | bgr >> 16, want) << x << "," << y;
        }
    // A right edge left of the left edge is no picture; "xyz" data load as nothing.
    std::string inverted = bytes;
    inverted.replace(8, 4, be16(W - 1) + be16(0));
    std::string xyz = bytes;
    xyz.replace(580, 3, "xyz");
    for (const std::string& other : {inverted, xyz}) {
        TMemoryStream s(reinterpret_cast<const uint8_t*>(other.data()), other.size());
        TRLAGraphic empty;
        empty.LoadFromStream(s);
        EXPECT_TRUE(empty.Empty());
    }
}

namespace {

uint8_t pcdLuma(uint32_t x, uint32_t)
{
    return uint8_t(60 + x / 96 * 20);
}

uint8_t pcdChroma1(uint32_t, uint32_t y)
{
    return uint8_t(120 + y / 64 * 8);
}

uint8_t pcdChroma2(uint32_t x, uint32_t)
{
    return uint8_t(110 + x / 128 * 10);
}

// An image pack whose Base picture (from sector 96) holds bands of colour.
std::string pcdFile(uint8_t rotation)
{
    std::string out(96 * 2048, '\0');
    out.replace(2048, 7, "PCD_IPI");
    out[3586] = char(rotation);
    for (uint32_t y = 0; y < 512; y += 2) {
        for (uint32_t yy : {y, y + 1})
            for (uint32_t x = 0; x < 768; ++x)
                out += char(pcdLuma(x, yy));
        for (uint32_t x = 0; x < 384; ++x)
            out += char(pcdChroma1(2 * x, y));
        for (uint32_t x = 0; x < 384; ++x)
            out += char(pcdChroma2(2 * x, y));
    }
    return out + std::string(8192, '\0');
}

} // namespace

TEST(PcdReader, BasePictureNearImageMagicksAndTurned)
{
    TempDir dir;
    std::string pcd = dir.file("picture.pcd"), turned = dir.file("turned.pcd");
    writeFile(pcd, pcdFile(0));
    writeFile(turned, pcdFile(1));
    EXPECT_EQ(FindPictureClass(pcd), &TPCDGraphicClass);
    auto picture = loadWithRegistry(pcd);
    ASSERT_EQ(picture->Width(), 768u);
    ASSERT_EQ(picture->Height(), 512u);
    // ImageMagick turns PhotoYCC into RGB with tables of its own: within 10 of each other.
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"convert", pcd, "ppm:-"}), 10), "");
    auto upright = loadWithRegistry(turned);
    ASSERT_EQ(upright->Width(), 512u);
    ASSERT_EQ(upright->Height(), 768u);
    // Turned a quarter to the left: source pixel (j, i) lands at column i, line 767 - j.
    for (uint32_t j : {0u, 300u, 767u})
        for (uint32_t i : {0u, 200u, 511u})
            EXPECT_EQ(upright->PixelColor(i, 767 - j), picture->PixelColor(j, i)) << j << "," << i;
    TFileStream stream(pcd);
    TPCDGraphic properties;
    ASSERT_TRUE(properties.ReadImageProperties(stream, 4));
    EXPECT_EQ(properties.ImageProperties().Width, 3072u);
    EXPECT_EQ(properties.ImageProperties().Compression, TCompressionType::ctPCDHuffmann);
}

TEST(EpsReader, TiffPreviewLoadsLikeTheTiffItHolds)
{
    TempDir dir;
    std::string ppm = dir.file("source.ppm"), eps = dir.file("picture.eps"), tif = dir.file("preview.tif");
    writeFile(ppm, makePpm(33, 21, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 64); }));
    ASSERT_EQ(runTool({"convert", ppm, "EPT2:" + eps}).exitCode, 0);
    std::string bytes = readFile(eps);
    ASSERT_GT(bytes.size(), 30u);
    auto le32 = [&](std::size_t at) {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    writeFile(tif, bytes.substr(le32(20), le32(24)));
    EXPECT_EQ(FindPictureClass(eps), &TEPSGraphicClass);
    auto picture = loadWithRegistry(eps);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"tifftopnm", tif})), "");
    // Without a TIFF length the content is not recognised.
    std::string noLength = bytes;
    noLength.replace(24, 4, std::string(4, '\0'));
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(noLength.data()), noLength.size());
    EXPECT_FALSE(TEPSGraphic::CanLoad(stream));
}

TEST(AutodeskReader, SixBitPaletteAndTopRowFirst)
{
    std::string file = le16(0x9119) + le16(3) + le16(2) + le16(0) + le16(0) + "\x08\x00"s + std::string(20, '\0');
    for (int i = 0; i < 256; ++i)
        file += {char(i % 64), char(63 - i % 64), char(i / 4 % 64)};
    file += "\x00\x01\x02\x03\x04\x05"s;
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    ASSERT_TRUE(TAutodeskGraphic::CanLoad(stream));
    TAutodeskGraphic picture;
    picture.LoadFromStream(stream);
    ASSERT_EQ(picture.Width(), 3u);
    ASSERT_EQ(picture.Height(), 2u);
    EXPECT_EQ(picture.PixelColor(0, 0), uint32_t(63 * 4) << 8);            // index 0: (0, 252, 0)
    EXPECT_EQ(picture.PixelColor(2, 1), uint32_t(5 * 4 | 58 * 4 << 8 | 1 * 4 << 16));
    std::string cut = file.substr(0, file.size() - 2);
    TMemoryStream shortStream(reinterpret_cast<const uint8_t*>(cut.data()), cut.size());
    TAutodeskGraphic broken;
    EXPECT_THROW(broken.LoadFromStream(shortStream), EInvalidGraphic);
}

namespace {

std::string le32(uint32_t v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

struct PspWriter {
    uint16_t major;

    std::string block(uint16_t id, const std::string& body) const
    {
        return "~BK\0"s + le16(id) + (major == 3 ? le32(uint32_t(body.size())) : "") + le32(uint32_t(body.size())) + body;
    }
    std::string chunk() const
    {
        return major > 3 ? le32(0) : "";
    }
    std::string file(uint32_t width, uint32_t height, uint16_t compression, uint16_t depth, bool grey,
                     const std::string& blocks) const
    {
        std::string head = "Paint Shop Pro Image File\n\x1a"s;
        head += std::string(32 - head.size(), '\0') + le16(major) + le16(0);
        double resolution = 72;
        std::string res(reinterpret_cast<const char*>(&resolution), 8);
        std::string attributes = chunk() + le32(width) + le32(height) + res + "\x01"s + le16(compression) +
                                 le16(depth) + le16(1) + le32(0) + char(grey) + le32(0) + le32(0) + le16(1) + le32(0);
        return head + block(0, attributes) + blocks;
    }
    // A layer of the type (0 raster in version 3, 1 raster later, 2 vector) with its channels.
    std::string layer(uint8_t type, const std::vector<std::string>& channels) const
    {
        std::string info(115, '\0');
        info[0] = char(type);
        std::string body = major == 3 ? std::string(256, '\0') + info
                                      : le32(4 + 2 + 4 + 115) + le16(4) + "name" + info;
        body += (major > 3 ? le32(8) : "") + le16(1) + le16(uint16_t(channels.size()));
        for (const std::string& c : channels)
            body += c;
        return block(4, body);
    }
    std::string channel(uint16_t type, const std::string& packed, uint32_t size) const
    {
        return block(5, chunk() + le32(uint32_t(packed.size())) + le32(size) + le16(0) + le16(type) + packed);
    }
};

// Run-length packets: one run of each value's first byte count, then the rest as a literal.
std::string pspRle(const std::string& raw)
{
    return {char(128 + 3), raw[0], char(raw.size() - 3)};
}

} // namespace

TEST(PspReader, FirstRasterLayerOfEachVersion)
{
    // 5 x 2 RGB: every row is three pixels of one colour, then two others.
    auto plane = [](uint8_t first, uint8_t a, uint8_t b) {
        std::string row = {char(first), char(first), char(first), char(a), char(b)};
        return row + row;
    };
    std::string red = plane(200, 10, 20), green = plane(100, 30, 40), blue = plane(50, 60, 70);
    auto rle = [](const std::string& p) {
        std::string row = p.substr(0, 5);
        std::string packets = pspRle(row) + row.substr(3);
        return packets + packets;
    };
    PspWriter v3{3}, v5{5};
    std::string vector3 = v3.layer(1, {});
    std::string raster3 = v3.layer(0, {v3.channel(1, rle(red), 10), v3.channel(2, rle(green), 10),
                                       v3.channel(3, rle(blue), 10)});
    std::string version3 = v3.file(5, 2, 1, 24, false, v3.block(3, vector3 + raster3));
    std::string raster5 = v5.layer(1, {v5.channel(1, red, 10), v5.channel(2, green, 10), v5.channel(3, blue, 10)});
    std::string version5 = v5.file(5, 2, 0, 24, false, v5.block(3, v5.layer(2, {}) + raster5));
    auto deflated = [](const std::string& raw) {
        uLongf size = compressBound(uLong(raw.size()));
        std::string out(size, '\0');
        compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
        return out.substr(0, size);
    };
    std::string deflate5 = v5.file(5, 2, 2, 24, false,
                                   v5.block(3, v5.layer(1, {v5.channel(1, deflated(red), 10), v5.channel(2, deflated(green), 10),
                                                            v5.channel(3, deflated(blue), 10)})));
    std::string missingBlue = v5.file(5, 2, 0, 24, false,
                                      v5.block(3, v5.layer(1, {v5.channel(1, red, 10), v5.channel(2, green, 10)})));
    std::string palette = v5.block(2, v5.chunk() + le32(2) + "\x10\x20\x30\0\x40\x50\x60\0"s);
    std::string indexed = v5.file(10, 1, 0, 4, false,
                                  palette + v5.block(3, v5.layer(1, {v5.channel(0, "\x01\x10\x01\x10\x01\x00"s, 6)})));
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<uint32_t> row;   // 0xRRGGBB
    } cases[] = {
        {"version 3, run-length, after a vector layer", version3,
         {0xC86432, 0xC86432, 0xC86432, 0x0A1E3C, 0x142846}},
        {"version 5, raw, after a vector layer", version5, {0xC86432, 0xC86432, 0xC86432, 0x0A1E3C, 0x142846}},
        {"version 5, deflate", deflate5, {0xC86432, 0xC86432, 0xC86432, 0x0A1E3C, 0x142846}},
        {"4-bit, width 10, rows of 6 bytes", indexed,
         {0x302010, 0x605040, 0x605040, 0x302010, 0x302010, 0x605040, 0x605040, 0x302010, 0x302010, 0x605040}},
        {"no blue channel", missingBlue, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream stream(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        ASSERT_TRUE(TPSPGraphic::CanLoad(stream));
        TPSPGraphic picture;
        try {
            picture.LoadFromStream(stream);
            ASSERT_FALSE(c.row.empty()) << "loaded";
            for (uint32_t x = 0; x < c.row.size(); ++x) {
                uint32_t bgr = picture.PixelColor(x, 0);
                EXPECT_EQ((bgr & 255) << 16 | (bgr & 0xFF00) | bgr >> 16, c.row[x]) << x;
            }
        } catch (const EInvalidGraphic& e) {
            EXPECT_TRUE(c.row.empty()) << e.what();
            EXPECT_STREQ(e.what(), "Cannot load image. Invalid or unexpected PSP image format.");
        }
    }
    std::string old = version5;
    old[32] = 2;
    TMemoryStream stream(reinterpret_cast<const uint8_t*>(old.data()), old.size());
    EXPECT_FALSE(TPSPGraphic::CanLoad(stream));
}
