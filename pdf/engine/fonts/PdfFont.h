#pragma once

#include "engine/pdf/PdfFontResource.h"
#include "platform/fonts/FontFace.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vum {

class TPdfCanvas;

// What a font key resolves to: the face, its character set and how its text
// is coded. Shared by the single-byte font and the Type0 fonts of the key.
struct FontChoice {
    std::string Key;            // requested charset "|" base name
    std::string FaceName;       // as requested
    std::string BaseName;       // installed spelling + ",Bold" etc.
    int Charset = 0;            // resolved
    int CodePage = 0;           // 0: no single-byte code page (CJK sets)
    int RightToLeftKind = 0;    // 1 Arabic, 2 Hebrew
    bool Symbolic = false;
    bool WantBold = false;
    bool WantItalic = false;
    std::shared_ptr<fonts::FontFace> Face;
};

// A single-byte TrueType font of the document: WinAnsiEncoding, with a
// /Differences table for the other Windows character sets, widths of the
// codes first..last, and the whole font file when it is embedded. Its
// objects are written when it is made.
class TPdfFont : public PdfFontResource {
public:
    // Measures the face; "This font is not TrueType" when it has no
    // TrueType outlines.
    explicit TPdfFont(const FontChoice& choice);
    // Writes the font's objects; the font must already be in FontResources.
    void WriteObjects(TPdfCanvas& canvas);

    // The code of a character in this font, -1 when it has none.
    int CodeOf(char32_t character) const;
    // True when every character of the text has a code.
    bool CanEncode(const std::u32string& text) const;
    // Width of the code in thousandths of the size, 0 below FirstChar.
    int CodeWidth(int code) const;
    int FirstChar() const { return firstChar_; }
    const FontChoice& Choice() const { return choice_; }

    int32_t FontObjectNumber() const override { return fontObject_; }
    double AscentPerPoint() const override;
    double UnderlineThickness() const override;
    double UnderlinePosition() const override;
    double StrikeOutThickness() const override;
    double StrikeOutPosition() const override;
    bool RightToLeft() const override { return choice_.RightToLeftKind != 0; }
    std::string StringOperand(const std::string& text) const override;
    double TextWidth1000(const std::string& text, int32_t& countedCharacters) const override;

    // The bytes of the text in this font, in the order they are drawn
    // (right-to-left letters turned round).
    std::string EncodeBytes(const std::u32string& text) const;

private:
    void MeasureWidths();
    bool ShouldEmbed(TPdfCanvas& canvas) const;

    FontChoice choice_;
    int firstChar_ = 32;
    int lastChar_ = 255;
    std::array<int, 256> widths_{};
    int32_t fontObject_ = 0;
};

// The font key of the current font: the character set as given, "|", and
// the base name.
std::string FontKey(int charset, const std::string& baseName);

} // namespace vum
