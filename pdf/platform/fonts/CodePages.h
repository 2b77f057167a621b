#pragma once

#include <cstdint>

namespace vum::fonts {

// The Windows single-byte code pages that fonts' character sets select
// (1250 to 1257). Bytes below 0x80 are ASCII in all of them.

// The character a byte stands for, 0 when the code page leaves it unassigned
// or is not one of ours.
char32_t toUnicode(int codePage, uint8_t byte);

// The byte that stands for the character, -1 when the code page has none.
int fromUnicode(int codePage, char32_t codePoint);

// The code page of a Windows character set (0 ANSI, 161 Greek, 162 Turkish,
// 177 Hebrew, 178 Arabic, 186 Baltic, 204 Cyrillic, 238 Central European);
// 0 for any other set.
int codePageOfCharset(int charset);

} // namespace vum::fonts
