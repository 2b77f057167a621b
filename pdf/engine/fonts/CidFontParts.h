#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace vum {

// Pieces of a Type0 font whose CIDs are the glyph numbers of its TrueType
// font (Identity-H, /CIDToGIDMap /Identity).

// The /ToUnicode CMap stream: each glyph used back to the text it was drawn
// for, so that copying and searching give the text again.
std::string ToUnicodeCMap(const std::map<uint32_t, std::u32string>& textOfGlyph);

// The /W array: widths in thousandths of the em, runs of consecutive glyphs
// grouped as "first [w1 w2 ...]".
std::string CidWidthsArray(const std::map<uint32_t, int>& widthOfGlyph);

// The six capital letters that mark a subset's font name ("ABCDEF+Name"),
// derived from the name and the glyphs so that different subsets of one
// font get different names.
std::string SubsetTag(const std::string& fontName, const std::set<uint32_t>& glyphs);

} // namespace vum
