#pragma once

#include <string>
#include <string_view>

namespace vum {

// The Windows code page of a font character set (0 ANSI 1252, 134 GB2312
// 936, 136 Big5 950, 128 Shift-JIS 932, ...); 0 when the set has none
// (symbol fonts: bytes are taken as they are).
int CodePageOfCharset(int charset);

// Bytes of a Windows code page to UTF-8; bytes that do not convert become
// U+FFFD. Code page 0 maps each byte to the character of the same number.
std::string CodePageToUtf8(std::string_view bytes, int codePage);

// A code point as UTF-8 (U+FFFD for values outside Unicode).
std::string Utf8Of(uint32_t codePoint);

} // namespace vum
