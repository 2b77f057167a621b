#pragma once

// Where each strip of a TIFF picture reads its packed data. Writers give every
// strip a stretch of the file of its own, or point strips that hold the same
// rows at one copy. So a strip of packed data is read no further than where
// the data of the next strip in the file begin; strips that start at the same
// place and hold as many rows decode the same data, so they read as far as the
// furthest of them, and all but the first read are copies of it, decoded once.
// Each byte of the file then belongs to the strips of one start, and the
// decoders read it once for every number of rows those strips hold: once, in
// the files writers make.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/DataBounds.h"

namespace vum {

// A strip as the directory declares it.
struct TTiffStrip {
    uint64_t at = 0;       // where its data begin in the stream
    uint64_t length = 0;   // its byte count, cut to the file and to what its rows can use
    uint32_t row = 0;      // its first row (within its plane)
    uint32_t rows = 0;
};

class TTiffStrips {
public:
    void Reserve(std::size_t count);
    // Adds the strip read after those added before.
    void Add(const TTiffStrip& strip);
    // Once all are added: cuts each strip of packed data (`packed`, read by a
    // decoder) where the next strip's data begin, and finds the copies.
    void Arrange(bool packed);

    std::size_t Count() const { return ranges_.size(); }
    const TByteRange& Range(std::size_t strip) const { return ranges_[strip]; }
    uint32_t Row(std::size_t strip) const { return firstRows_[strip]; }
    uint32_t Rows(std::size_t strip) const { return rows_[strip]; }
    // The first strip read that starts at the same place and holds as many
    // rows; the strip itself when none does.
    std::size_t Original(std::size_t strip) const { return originals_[strip]; }
    // How many bytes of the file the strips read, a byte that several read counted once.
    uint64_t DistinctBytes() const { return distinctBytes_; }
    // How many bytes the strips that are not copies read together.
    uint64_t ReadBytes() const { return readBytes_; }

private:
    uint64_t distinctBytes_ = 0, readBytes_ = 0;
    std::vector<TByteRange> ranges_;
    std::vector<uint32_t> firstRows_, rows_, originals_;
};

} // namespace vum
