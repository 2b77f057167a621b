#pragma once

// Rows whose table entries point at the same packed data. Writers that pack
// "aggressively" store identical rows once and point every such row at that
// copy: the entry is all the file spends on such a row, and decoding the copy
// once and copying the result makes it as cheap as the file is small.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "imaging/DataBounds.h"

namespace vum {

class TSharedRows {
public:
    // rows: the packed data of every row; rows with equal ranges share.
    explicit TSharedRows(const std::vector<TByteRange>& rows);

    // The packed data of the rows, each range that several rows share given once.
    const std::vector<TByteRange>& DistinctData() const { return distinct_; }

    // Fills `out` (rowBytes) with row i: a copy of what an earlier row made of
    // the same data when it is kept, else decode(out). Decoded data that later
    // rows read again are kept until their last row, within a memory budget.
    void MakeRow(std::size_t i, uint8_t* out, std::size_t rowBytes, const std::function<void(uint8_t*)>& decode);

private:
    std::vector<TByteRange> distinct_;
    std::vector<uint32_t> dataOf_;      // row -> index into distinct_
    std::vector<uint32_t> readsLeft_;   // distinct data -> rows still to read it
    std::unordered_map<uint32_t, std::vector<uint8_t>> kept_;
    uint64_t keptBytes_ = 0;
};

} // namespace vum
