#pragma once

#include <string>
#include <string_view>

namespace vum {

// Bytes of a PDF text string (information dictionary, outline titles,
// annotation contents, field texts) for UTF-8 text: PDFDocEncoding when every
// character has a code there, else UTF-16BE behind the byte-order mark FE FF.
// The caller escapes (or encrypts) the bytes and puts them in a string.
std::string PdfTextStringBytes(std::string_view utf8);

// A PDF name for bytes, slash included: every byte outside '!'..'~' and the
// delimiters ( ) < > [ ] { } / % and the '#' itself are written #XX, so
// blanks, non-ASCII font names and the like stay one valid token.
std::string PdfName(std::string_view bytes);

} // namespace vum
