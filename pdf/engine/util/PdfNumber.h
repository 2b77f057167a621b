#pragma once

#include <cstdint>
#include <string>

namespace vum {

// "0.###": at most three decimals, no trailing zeros, always a point,
// never "nan" or "inf" (those become 0), never "-0".
std::string FormatPdfNumber(double value);

// Plain decimal integer, locale-free.
std::string IntText(int64_t value);

} // namespace vum
