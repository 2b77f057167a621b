#include "imaging/readers/TiffStrips.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace vum {

void TTiffStrips::Reserve(std::size_t count)
{
    ranges_.reserve(count);
    firstRows_.reserve(count);
    rows_.reserve(count);
}

void TTiffStrips::Add(const TTiffStrip& strip)
{
    ranges_.push_back({strip.at, strip.length});
    firstRows_.push_back(strip.row);
    rows_.push_back(strip.rows);
}

void TTiffStrips::Arrange(bool packed)
{
    std::size_t count = ranges_.size();
    originals_.resize(count);
    // Strips in the order of their data in the file; those that start at the
    // same place side by side, by their rows, the first read first.
    std::vector<uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return std::tie(ranges_[a].start, rows_[a], a) < std::tie(ranges_[b].start, rows_[b], b);
    });
    distinctBytes_ = readBytes_ = 0;
    uint64_t coveredTo = 0;
    for (std::size_t first = 0; first < count;) {
        uint64_t start = ranges_[order[first]].start;
        std::size_t next = first;
        while (next < count && ranges_[order[next]].start == start)
            ++next;
        uint64_t reach = 0;
        for (std::size_t k = first; k < next; ++k) {
            TByteRange& r = ranges_[order[k]];
            if (packed && next < count)
                r.length = std::min(r.length, ranges_[order[next]].start - start);
            reach = std::max(reach, r.length);
        }
        for (std::size_t k = first, same = first; k < next; k = same) {
            uint32_t original = order[k];
            uint64_t furthest = 0;
            for (same = k; same < next && rows_[order[same]] == rows_[original]; ++same)
                furthest = std::max(furthest, ranges_[order[same]].length);
            for (std::size_t c = k; c < same; ++c) {
                originals_[order[c]] = original;
                ranges_[order[c]].length = furthest;
            }
            readBytes_ += furthest;
        }
        // Lengths are cut to the file, so the end does not wrap.
        uint64_t from = std::max(start, coveredTo), end = start + reach;
        if (end > from) {
            distinctBytes_ += end - from;
            coveredTo = end;
        }
        first = next;
    }
}

} // namespace vum
