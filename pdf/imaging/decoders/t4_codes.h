#pragma once

// The modified Huffman code tables of ITU-T Recommendation T.4: terminating
// codes (runs 0-63) and make-up codes (multiples of 64) of each colour, the
// make-up codes both colours share (1792-2560) and the end-of-line code.
#include <cstdint>
#include <vector>

namespace vum {

struct TT4Code {
    const char* bits;   // the code as '0' and '1' characters, first bit first
    int32_t value;      // run length; -1 end of line; -2 an invalid code
};

// Every code a decoder of the colour needs: its terminating and make-up codes,
// the shared make-up codes, the end-of-line code and the four all-zero
// prefixes that can never start a valid code (so the tree is complete).
const std::vector<TT4Code>& T4WhiteCodes();
const std::vector<TT4Code>& T4BlackCodes();

} // namespace vum
