#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vum {

// The MD5 message digest of RFC 1321: 16 bytes over any byte string. The
// standard security handler of PDF fixes this hash; it is not used for
// anything that needs a strong hash.
std::array<uint8_t, 16> Md5(std::string_view bytes);

} // namespace vum
