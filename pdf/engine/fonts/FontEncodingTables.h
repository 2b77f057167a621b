#pragma once

#include <array>
#include <string>
#include <vector>

namespace vum {

// The /Differences lines that turn WinAnsiEncoding into the code page of a
// Windows character set (161, 162, 177, 178, 186, 204, 238); empty for any
// other set. Each line: the first code, then one glyph name per code.
const std::vector<std::string>& DifferencesLines(int charset);

using CodeFlags = std::array<bool, 256>;

// Marks the codes that the lines name glyphs for. False when a line has no
// "/" or does not start with a code in 0..255.
bool MarkDifferenceCodes(const std::vector<std::string>& lines, CodeFlags& flags);

// Right-to-left letters of the code page by kind (1 Arabic, 2 Hebrew): the
// codes the set's /Differences table names. All false for other kinds.
const CodeFlags& RightToLeftCodes(int kind);

// True when the character is a right-to-left letter of the kind's code page.
bool IsRightToLeftCharacter(int kind, char32_t character);

} // namespace vum
