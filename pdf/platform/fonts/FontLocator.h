#pragma once

#include <optional>
#include <string>

namespace vum::fonts {

// One face of an installed font file (a .ttc holds several).
struct FaceLocation {
    std::string file;
    int index = 0;
    std::string family;   // the family as the font itself names it
    bool bold = false;    // the face is drawn bold (not merely asked for)
    bool italic = false;  // the face is drawn slanted
    bool operator==(const FaceLocation&) const = default;
};

// Finds installed fonts through fontconfig, the way the desktop does: a family
// that is not installed is substituted by the configured alias or default.
namespace FontLocator {

// The face that best matches family and style; nullopt only when fontconfig
// knows no font at all.
std::optional<FaceLocation> match(const std::string& family, bool bold, bool italic);

// A TrueType face that has a glyph for the character, as close to family and
// style as the installed fonts allow; nullopt when no TrueType font has one.
std::optional<FaceLocation> matchCovering(char32_t character, const std::string& family,
                                          bool bold, bool italic);

// The family's spelling in the list of installed families (compared ignoring
// ASCII case), or empty when no installed font carries that family name.
std::string installedFamilyName(const std::string& family);

} // namespace FontLocator

} // namespace vum::fonts
