#pragma once

#include "engine/pdf/PdfFontResource.h"
#include "platform/fonts/FontFace.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace vum {

class TPdfCanvas;

// A Type0 font over one TrueType face (CIDFontType2, Identity-H, CIDs are
// glyph numbers) for text beyond a single-byte code page. It collects the
// glyphs drawn and writes, at the end of the document, the subset of the
// face with those glyphs, their widths and the map back to Unicode.
class TPdfCidFont : public PdfFontResource {
public:
    TPdfCidFont(TPdfCanvas& canvas, std::shared_ptr<fonts::FontFace> face);

    // Glyph of a character, 0 when the face has none.
    uint32_t GlyphOf(char32_t c) const { return face_->glyphOf(c); }
    // Width of a glyph in thousandths of the size.
    int GlyphWidth(uint32_t glyph) const;
    // "<...>" for the glyphs, remembering which text each one shows.
    std::string ShowGlyphs(const std::u32string& text);
    const fonts::FontFace& Face() const { return *face_; }

    int32_t FontObjectNumber() const override { return fontObject_; }
    double AscentPerPoint() const override;
    double UnderlineThickness() const override;
    double UnderlinePosition() const override;
    double StrikeOutThickness() const override;
    double StrikeOutPosition() const override;
    bool RightToLeft() const override { return false; }
    std::string StringOperand(const std::string& text) const override;
    double TextWidth1000(const std::string& text, int32_t& countedCharacters) const override;

    // Subset, descriptor, CID font, ToUnicode map and the Type0 dictionary
    // under the number taken when the font was made.
    void WriteDeferredObjects(TPdfCanvas& canvas);

private:
    std::shared_ptr<fonts::FontFace> face_;
    int32_t fontObject_ = 0;
    std::map<uint32_t, std::u32string> textOfGlyph_;
    std::map<uint32_t, int> widthOfGlyph_;
};

} // namespace vum
