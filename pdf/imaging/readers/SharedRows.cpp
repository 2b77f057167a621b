#include "imaging/readers/SharedRows.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace vum {

namespace {

// Beyond it, rows that share data are decoded again: each costs no more than
// its own row either way.
constexpr uint64_t kKeptBudget = uint64_t(32) << 20;

} // namespace

TSharedRows::TSharedRows(const std::vector<TByteRange>& rows) : dataOf_(rows.size())
{
    std::vector<uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    auto key = [&](uint32_t i) { return std::pair(rows[i].start, rows[i].length); };
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k == 0 || key(order[k]) != key(order[k - 1])) {
            distinct_.push_back(rows[order[k]]);
            readsLeft_.push_back(0);
        }
        dataOf_[order[k]] = uint32_t(distinct_.size() - 1);
        ++readsLeft_.back();
    }
}

void TSharedRows::MakeRow(std::size_t i, uint8_t* out, std::size_t rowBytes,
                          const std::function<void(uint8_t*)>& decode)
{
    uint32_t data = dataOf_[i];
    uint32_t left = --readsLeft_[data];
    auto kept = kept_.find(data);
    if (kept != kept_.end()) {
        std::memcpy(out, kept->second.data(), rowBytes);
        if (left == 0) {
            keptBytes_ -= kept->second.size();
            kept_.erase(kept);
        }
        return;
    }
    decode(out);
    if (left > 0 && keptBytes_ + rowBytes <= kKeptBudget) {
        kept_.emplace(data, std::vector<uint8_t>(out, out + rowBytes));
        keptBytes_ += rowBytes;
    }
}

} // namespace vum
