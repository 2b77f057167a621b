#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vum {

class TPdfCanvas;
struct TPdfAction;
class TPdfField;

// The action lines of a link definition: a named page action, an address,
// a page of another PDF file ("file.pdf|name"), a file to open, or else a
// named destination of this document. Strings are encoded with object
// `number`. "Invalid link definition" (the text) for a "file|name" whose
// file is not an existing PDF file.
std::vector<std::string> LinkActionLines(const TPdfCanvas& canvas, const std::string& link, int32_t number);

// The lines of a field action's dictionary (between "<<" and ">>").
std::vector<std::string> FieldActionLines(const TPdfCanvas& canvas, const TPdfAction& action,
                                          const std::vector<const TPdfField*>& fields);

// The key an action event is filed under in a field's /AA ("V", "E", ...).
const char* ActionEventKey(uint8_t event);

} // namespace vum
