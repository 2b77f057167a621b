#pragma once

#include <string>

namespace vum {

// zlib deflate at the default level; false when zlib refuses (out is then unchanged).
bool DeflateInto(const std::string& data, std::string& out);

} // namespace vum
