#pragma once

// How much picture data a number of packed bytes can hold, and how many packed
// bytes a picture can need: the readers check a header's sizes against what
// the file holds before they allocate, and read no more than a row or strip can use.
#include <cstdint>

#include "imaging/ImageProperties.h"

namespace vum {

// The most bytes that `packed` bytes of the scheme can decode to; rowBytes is
// the decoded size of one row (fax codes cost at least a few bits a row).
// Schemes whose packing has no useful bound answer UINT64_MAX.
uint64_t MaxUnpackedSize(TCompressionType scheme, uint64_t packed, uint64_t rowBytes);

// The most packed bytes that `unpacked` decoded bytes can take up in any
// encoder's worst case; a read beyond it cannot be of use to the decoder.
uint64_t MaxPackedSize(uint64_t unpacked);

// The file ends before the data its header declares: the read error.
[[noreturn]] void RaiseFileEndsEarly();
// Packed data that decode to less than their rows need: the format's compression error.
[[noreturn]] void RaisePackedDataEndsEarly(const char* format);

} // namespace vum
