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
    // same place side by side, the first read first.
    std::vector<uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return std::tie(ranges_[a].start, a) < std::tie(ranges_[b].start, b);
    });
    distinctBytes_ = 0;
    uint64_t coveredTo = 0;
    for (std::size_t first = 0; first < count;) {
        uint64_t start = ranges_[order[first]].start;
        std::size_t next = first;
        while (next < count && ranges_[order[next]].start == start)
            ++next;
        if (packed && next < count)
            for (std::size_t k = first; k < next; ++k) {
                TByteRange& r = ranges_[order[k]];
                r.length = std::min(r.length, ranges_[order[next]].start - start);
            }
        // Among strips of one start, those of one length and as many rows are
        // copies of the first of them read.
        std::sort(order.begin() + long(first), order.begin() + long(next), [&](uint32_t a, uint32_t b) {
            return std::tie(ranges_[a].length, rows_[a], a) < std::tie(ranges_[b].length, rows_[b], b);
        });
        for (std::size_t k = first; k < next; ++k) {
            uint32_t s = order[k], before = k > first ? order[k - 1] : s;
            bool copy = s != before && ranges_[s].length == ranges_[before].length && rows_[s] == rows_[before];
            originals_[s] = copy ? originals_[before] : s;
        }
        // The longest of them reaches furthest; lengths are cut to the file, so nothing wraps.
        uint64_t end = start + ranges_[order[next - 1]].length;
        if (end > std::max(start, coveredTo)) {
            distinctBytes_ += end - std::max(start, coveredTo);
            coveredTo = end;
        }
        first = next;
    }
}

} // namespace vum
