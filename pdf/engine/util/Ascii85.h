#pragma once

#include <string>
#include <string_view>

namespace vum {

// The ASCII85Decode filter's encoding of the whole input, ending in "~>",
// with no line breaks.
std::string Ascii85Encode(std::string_view input);

} // namespace vum
