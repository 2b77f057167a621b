#pragma once

#include <string>

namespace vum {

// A text that identifies one written file: 32 hexadecimal digits made from
// the file name, the time and a per-process counter.
std::string MakeFileIdentifier(const std::string& fileName);

} // namespace vum
