#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vum {

class TPdfCanvas;

// The action lines of a link definition, tried in this order: a named page
// action (NextPage, PrevPage, FirstPage, LastPage, any case), an address
// (http:, https:, ftp:, mailto:), a page of another PDF file
// ("file.pdf|name"), a file to open, or else a named destination of this
// document, which the canvas then counts among the names links use.
// Strings are encoded with object `number`. "Invalid link definition" (the
// text) for a "file|name" whose file is not an existing PDF file.
std::vector<std::string> LinkActionLines(TPdfCanvas& canvas, const std::string& link, int32_t number);

} // namespace vum
