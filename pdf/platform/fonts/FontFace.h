#pragma once

#include "platform/fonts/FontLocator.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct FT_FaceRec_;

namespace vum::fonts {

// What a document needs to know of a face, in font units (unitsPerEm to the
// em) unless said otherwise.
struct FaceMetrics {
    int unitsPerEm = 1000;
    int ascent = 0;             // OS/2 winAscent: the top of the tallest glyphs
    int descent = 0;            // OS/2 winDescent, positive below the baseline
    int underlinePosition = 0;  // 'post': top of the underline, negative below the baseline
    int underlineThickness = 0;
    int strikeoutPosition = 0;  // OS/2: above the baseline
    int strikeoutThickness = 0;
    double italicAngle = 0;     // degrees, negative when leaning right
    bool italic = false;
    bool bold = false;
    bool serif = false;         // the face's design has serifs (a "roman" family)
    bool script = false;        // a handwriting design
    uint16_t fsType = 0;        // OS/2 embedding permissions
    bool hasGlyfOutlines = false;  // TrueType outlines, not CFF
};

// One opened face of an installed font file, read through FreeType.
class FontFace {
public:
    // Throws FontError when the file cannot be opened as a font.
    static std::shared_ptr<FontFace> open(const FaceLocation& where);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FaceLocation& location() const { return where_; }
    const FaceMetrics& metrics() const { return metrics_; }
    std::string postScriptName() const;
    int glyphCount() const;

    // Glyph of a character through the face's Unicode map; 0 (.notdef) when the
    // face has none.
    uint32_t glyphOf(char32_t character) const;
    // Glyph of a byte of a symbol font: its Microsoft symbol map holds the
    // codes at 0xF000 + byte (some fonts at the byte itself).
    uint32_t symbolGlyphOf(uint8_t byte) const;
    bool hasSymbolMap() const { return symbolMap_ >= 0; }
    // Advance width of a glyph in font units.
    int advance(uint32_t glyph) const;

    // Raw table of the face (inside a .ttc: this face's), nullopt when absent.
    std::optional<std::string> table(uint32_t tag) const;
    std::vector<uint32_t> tableTags() const;
    // The face as a standalone TrueType file: the file itself, or for a face in
    // a collection its tables gathered into a file of their own.
    std::string standaloneFont() const;

private:
    FontFace() = default;
    void readMetrics();

    FaceLocation where_;
    FaceMetrics metrics_;
    // Keeps FreeType alive for as long as this face: faces held by documents
    // are freed when the library unloads, after the process-wide handle is gone.
    std::shared_ptr<void> freetype_;
    ::FT_FaceRec_* face_ = nullptr;
    int unicodeMap_ = -1;
    int symbolMap_ = -1;
};

} // namespace vum::fonts
