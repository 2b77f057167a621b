#pragma once

#include <string>
#include <string_view>

namespace vum::fonts {

// Text crosses the library's interface as UTF-8. A byte that does not begin a
// well-formed sequence is read as the Windows-1252 character of that byte, so
// 8-bit text from an older caller still comes out legible instead of lost.
std::u32string decodeUtf8(std::string_view text);

std::string encodeUtf8(std::u32string_view text);
void appendUtf8(std::string& out, char32_t codePoint);

// Number of characters (code points) in UTF-8 text, read as decodeUtf8 does.
size_t countCodePoints(std::string_view text);

} // namespace vum::fonts
