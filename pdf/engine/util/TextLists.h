#pragma once

#include <string>
#include <vector>

namespace vum {

// Upper-cases ASCII letters only, so UTF-8 text is never damaged.
std::string AsciiUpper(std::string text);
bool SameTextAscii(const std::string& a, const std::string& b);
// Blanks and control characters removed at both ends.
std::string Trim(const std::string& text);

// "CENTER" 2, "RIGHT" 1, anything else 0, ignoring case.
int AlignmentFromText(const std::string& text);

// One item per line; a single line is split at every separator instead.
std::vector<std::string> SplitList(const std::string& text, char separator);

// The pieces between ";" separators; a trailing ";" adds nothing.
std::vector<std::string> SetStringsFromList(const std::string& text);
std::string JoinStrings(const std::vector<std::string>& items, char separator);

// Begins, ignoring case, with "http://", "https://" or "ftp://".
bool IsUrl(const std::string& text);

} // namespace vum
