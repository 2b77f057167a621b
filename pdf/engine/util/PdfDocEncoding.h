#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vum {

// The PDFDocEncoding byte of a character, -1 when the encoding has none.
// Printable ASCII, tab, line feed and carriage return stand for themselves.
int PdfDocEncodingByte(char32_t c);

// A password as the standard security handler hashes it: every character in
// PDFDocEncoding (ASCII bytes, control characters included, as they are).
// Nothing when a character has no code there: a reader could never type it.
std::optional<std::string> PdfDocEncodedPassword(std::string_view utf8);

} // namespace vum
