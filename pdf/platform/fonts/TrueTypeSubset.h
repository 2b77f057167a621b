#pragma once

#include "platform/fonts/FontFace.h"

#include <cstdint>
#include <set>
#include <string>

namespace vum::fonts {

// A TrueType file with the outlines of only the glyphs given (with .notdef
// and every glyph a composite glyph is built of), for embedding as a CID font
// whose CIDs are the glyph numbers. Glyph numbers are kept, so the file ends
// after the highest glyph used; the other glyphs are empty. It carries no
// character map: the document maps text to glyphs itself.
// Throws FontError when the face has no TrueType outlines or its tables are
// damaged.
std::string subsetTrueType(const FontFace& face, std::set<uint32_t> glyphs);

// The glyphs that the glyph's outline is built of (empty for a simple glyph).
std::set<uint32_t> compositeComponents(std::string_view glyphData);

} // namespace vum::fonts
