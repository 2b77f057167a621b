#pragma once

#include <string>
#include <string_view>

namespace vum {

// The RC4 stream cipher with a key of 1 to 256 bytes: returns the data
// encrypted (applied again with the same key, decrypted). The PDF standard
// security handler fixes this cipher.
std::string Rc4(std::string_view key, std::string_view data);

} // namespace vum
