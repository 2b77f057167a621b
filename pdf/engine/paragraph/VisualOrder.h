#pragma once

#include <string>

namespace vum {

// The order in which the characters of a line are drawn for a right-to-left
// script kind (1 Arabic, 2 Hebrew): right-to-left letters come out reversed
// while runs of other characters keep their order. Kind 0 leaves the text.
std::u32string VisualOrder(const std::u32string& text, int kind);

} // namespace vum
