#pragma once

// How much picture data a number of packed bytes can hold, and how many packed
// bytes a picture can need: the readers check a header's sizes against what
// the file holds before they allocate, and read no more than a row or strip can use.
#include <cstdint>
#include <vector>

#include "imaging/ImageProperties.h"

namespace vum {

// Deflate's best: a 258-byte match coded in two bits, 1032 bytes out of each
// byte in; a stream's first bytes may decode to a little more (a literal
// before the first match), which the slack covers.
inline constexpr uint64_t kDeflateBytesPerByte = 1032;
inline constexpr uint64_t kDeflateSlack = 1024;

// The pixels a run-length bitmap may pass over (delta, end-of-line and
// end-of-bitmap escapes) whatever its size: a 4096 x 4096 sprite sheet on an
// empty background.
inline constexpr uint64_t kPassedOverPixelsFloor = uint64_t(1) << 24;

// The most bytes that `packed` bytes of the scheme can decode to; rowBytes is
// the decoded size of one row (fax codes cost at least a few bits a row).
// Schemes whose packing has no useful bound answer UINT64_MAX.
uint64_t MaxUnpackedSize(TCompressionType scheme, uint64_t packed, uint64_t rowBytes);

// The most pixels a run-length bitmap whose pixel data are `dataBytes` long
// may pass over: as many 8-bit pixels as a deflate PNG of that size could
// hold, or the floor above. A few bytes that declare a huge picture and draw
// little of it are refused before it is allocated.
uint64_t MaxPassedOverPixels(uint64_t dataBytes);

// The most packed bytes that `unpacked` decoded bytes can take up in any
// encoder's worst case; a read beyond it cannot be of use to the decoder.
uint64_t MaxPackedSize(uint64_t unpacked);

// A stretch of the file that a row or strip reads its packed data from.
struct TByteRange {
    uint64_t start = 0;
    uint64_t length = 0;
};

// How many bytes of the file the ranges cover, a byte that several ranges
// share counted once: rows or strips that point at the same data can only
// decode what those bytes hold.
uint64_t DistinctBytes(std::vector<TByteRange> ranges);

// Raises before anything is allocated when the distinct bytes of the ranges
// cannot decode to `unpacked` bytes however well the scheme packs: the read
// error for unpacked data, the format's compression error otherwise.
void CheckDistinctDataSuffices(TCompressionType scheme, const std::vector<TByteRange>& ranges, uint64_t unpacked,
                               uint64_t rowBytes, const char* format);
// The same, given how many distinct bytes the rows or strips read.
void CheckDistinctDataSuffices(TCompressionType scheme, uint64_t distinctBytes, uint64_t unpacked, uint64_t rowBytes,
                               const char* format);

// The file ends before the data its header declares: the read error.
[[noreturn]] void RaiseFileEndsEarly();
// Packed data that decode to less than their rows need: the format's compression error.
[[noreturn]] void RaisePackedDataEndsEarly(const char* format);
// The picture, or a buffer it needs, passes the caps of Limits.h: one error
// for every format.
[[noreturn]] void RaisePictureTooLarge();

} // namespace vum
