// Run-length SGI files whose identical rows point at one copy of their packed
// data, as writers with an "aggressive" run-length option store them, decode as
// netpbm decodes them; the shared data are decoded once.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Bitmap.h"
#include "imaging/readers/SharedRows.h"

using namespace vum;

namespace {

std::string be16(uint32_t v)
{
    return {char(v >> 8), char(v)};
}

std::string be32(uint32_t v)
{
    return be16(v >> 16) + be16(v & 0xFFFF);
}

// Run-length packets of one row: runs of equal samples, literals between,
// then the closing count; 16-bit samples and counts as big-endian words.
std::string sgiPackets(const std::vector<uint32_t>& row, int bytes)
{
    std::string out;
    auto put = [&](uint32_t v) { out += bytes == 2 ? be16(v) : std::string(1, char(v)); };
    for (std::size_t at = 0; at < row.size();) {
        std::size_t run = 1;
        while (at + run < row.size() && run < 127 && row[at + run] == row[at])
            ++run;
        if (run >= 2) {
            put(uint32_t(run));
            put(row[at]);
            at += run;
            continue;
        }
        std::size_t end = at + 1;
        while (end < row.size() && end - at < 127 && !(end + 1 < row.size() && row[end] == row[end + 1]))
            ++end;
        put(0x80 | uint32_t(end - at));
        for (; at < end; ++at)
            put(row[at]);
    }
    put(0);
    return out;
}

using SampleFn = std::function<uint32_t(uint32_t x, uint32_t y, uint32_t channel)>;   // y from the top

// Every row of every channel whose packets equal an earlier row's points at
// that row's copy. Planar files store channel after channel, interleaved ones
// the channels of a row together.
std::string sgiSharingRows(uint16_t width, uint16_t height, uint16_t channels, int bytes, bool planar,
                           const SampleFn& sample)
{
    std::string file = be16(474) + char(1) + char(bytes) + be16(3) + be16(width) + be16(height) + be16(channels) +
                       be32(0) + be32(bytes == 2 ? 65535 : 255);
    file += std::string(512 - file.size(), '\0');
    std::size_t entries = std::size_t(height) * channels;
    std::vector<uint32_t> starts(entries), lengths(entries);
    std::string data;
    std::map<std::string, uint32_t> copies;
    uint32_t dataAt = uint32_t(512 + 8 * entries);
    auto store = [&](uint32_t row, uint32_t z) {
        std::vector<uint32_t> samples(width);
        for (uint32_t x = 0; x < width; ++x)
            samples[x] = sample(x, height - 1u - row, z);   // the bottom row first
        std::string packed = sgiPackets(samples, bytes);
        auto [copy, added] = copies.emplace(packed, dataAt + uint32_t(data.size()));
        if (added)
            data += packed;
        starts[row + std::size_t(z) * height] = copy->second;
        lengths[row + std::size_t(z) * height] = uint32_t(packed.size());
    };
    for (uint32_t outer = 0; outer < (planar ? channels : height); ++outer)
        for (uint32_t inner = 0; inner < (planar ? height : channels); ++inner)
            planar ? store(inner, outer) : store(outer, inner);
    for (uint32_t s : starts)
        file += be32(s);
    for (uint32_t l : lengths)
        file += be32(l);
    return file + data;
}

// A white page with bands of coloured bars: a few distinct rows, each kept once.
uint32_t bandedPage(uint32_t x, uint32_t y, uint32_t channel, int bytes)
{
    uint32_t value = y % 40 < 8 ? (x / 50 * 40 + channel * 60 + y / 40 * 13) % 256 : 255;
    return bytes == 2 ? value * 257 : value;
}

struct SharingCase {
    const char* name;
    uint16_t channels;
    int bytes;
    bool planar;
};

void PrintTo(const SharingCase& c, std::ostream* os)
{
    *os << c.name;
}

class SgiSharedRows : public testing::TestWithParam<SharingCase> {};

} // namespace

TEST_P(SgiSharedRows, DecodeLikeNetpbm)
{
    ASSERT_TRUE(toolsInstalled({"sgitopnm"}));
    const SharingCase& c = GetParam();
    TempDir dir;
    std::string file = dir.file("page.sgi");
    writeFile(file, sgiSharingRows(300, 200, c.channels, c.bytes, c.planar, [&](uint32_t x, uint32_t y, uint32_t z) {
                  return bandedPage(x, y, z, c.bytes);
              }));
    auto picture = loadWithRegistry(file);
    EXPECT_EQ(rasterDifference(rasterOf(*picture), decodeWithTool({"sgitopnm", file}), c.bytes == 2 ? 1 : 0), "");
}

INSTANTIATE_TEST_SUITE_P(Layouts, SgiSharedRows,
                         testing::Values(SharingCase{"grey", 1, 1, true}, SharingCase{"rgb_planar", 3, 1, true},
                                         SharingCase{"rgb_interleaved", 3, 1, false},
                                         SharingCase{"rgb_16_bit_planar", 3, 2, true},
                                         SharingCase{"rgba_16_bit_interleaved", 4, 2, false}),
                         [](const testing::TestParamInfo<SharingCase>& tp) { return std::string(tp.param.name); });

TEST(SharedRows, DecodeEachPieceOfDataOnceAndCopyItIntoTheRowsThatShareIt)
{
    // Rows 0, 2 and 5 share one piece, 1 and 4 another; row 3 starts where
    // rows 0, 2 and 5 do but reads more, so it is a piece of its own.
    const std::vector<TByteRange> rows = {{100, 10}, {200, 10}, {100, 10}, {100, 12}, {200, 10}, {100, 10}};
    TSharedRows shared(rows);
    EXPECT_EQ(shared.DistinctData().size(), 3u);
    std::vector<std::size_t> decoded;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        uint8_t out[4] = {};
        shared.MakeRow(i, out, sizeof out, [&](uint8_t* row) {
            decoded.push_back(i);
            std::fill(row, row + sizeof out, uint8_t(rows[i].start + rows[i].length));
        });
        EXPECT_EQ(std::vector<uint8_t>(out, out + 4), std::vector<uint8_t>(4, uint8_t(rows[i].start + rows[i].length)))
            << "row " << i;
    }
    EXPECT_EQ(decoded, (std::vector<std::size_t>{0, 1, 3}));
}
