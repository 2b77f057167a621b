#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vum {

class TPdfCanvas;
struct TPdfAction;

// The lines of a field action's dictionary (between "<<" and ">>"). A link
// action names destinations the way links do; a submit action refers to
// the document's array of exported fields.
std::vector<std::string> FieldActionLines(TPdfCanvas& canvas, const TPdfAction& action);

// The key an action event is filed under in a field's /AA ("V", "E", ...).
const char* ActionEventKey(uint8_t event);

} // namespace vum
