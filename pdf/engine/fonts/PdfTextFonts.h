#pragma once

#include "engine/canvas/DrawingTools.h"
#include "engine/fonts/PdfFont.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vum {

class TPdfCanvas;
class TPdfCidFont;

// The fonts of one document and how a text is set in them. Text that the
// font's single-byte code page holds goes through the single-byte font of the
// font key; any other text through Type0 fonts, with characters the face
// lacks taken from an installed face that has them.
class PdfTextFonts {
public:
    explicit PdfTextFonts(TPdfCanvas& canvas);
    ~PdfTextFonts();

    // A piece of a line drawn in one font.
    struct Run {
        PdfFontResource* Font = nullptr;
        std::string Operand;  // "(...)" or "<...>"
        bool FakeBold = false;  // bold asked for, but the face has no bold design
        bool FakeItalic = false;  // likewise italic (set on the first run for the line)
    };
    std::vector<Run> Runs(const TVumFont& font, const std::string& utf8);

    // Width in thousandths of the size, and the characters that count for
    // character spacing.
    double Width1000(const TVumFont& font, const std::string& utf8, int32_t& counted);
    // The same for the prefixes of 1, 2, ... characters of `text` from
    // `begin` on, each as Width1000 gives it alone, in one pass: `each` gets
    // k, the width and the count, and returns false to stop.
    void PrefixWidths1000(const TVumFont& font, const std::u32string& text, size_t begin,
                          const std::function<bool(size_t, double, int32_t)>& each);

    // The font whose metrics place a line: the single-byte font of the key
    // when its set has a code page, else the Type0 font of the face.
    PdfFontResource& Primary(const TVumFont& font);
    // Ascent and descent of the face per point of size.
    double AscentPerPoint(const TVumFont& font);
    double DescentPerPoint(const TVumFont& font);
    int RightToLeftKind(const TVumFont& font);

    // Type0 fonts are complete only when the document ends.
    void WriteDeferredObjects();

private:
    const FontChoice& Choice(const TVumFont& font);
    const FontChoice& MakeChoice(const TVumFont& font);
    bool SingleBytePath(const FontChoice& choice, const std::u32string& text) const;
    TPdfFont& SingleByte(const FontChoice& choice);
    TPdfCidFont& CidFontFor(const std::shared_ptr<fonts::FontFace>& face);
    std::shared_ptr<fonts::FontFace> OpenFace(const fonts::FaceLocation& where, const std::string& name);
    std::shared_ptr<fonts::FontFace> FaceForCharacter(const FontChoice& choice, char32_t c);

    TPdfCanvas& canvas_;
    std::map<std::string, FontChoice> choices_;
    std::map<std::string, TPdfFont*> singleByte_;
    std::map<std::string, TPdfCidFont*> cidFonts_;
    std::map<std::string, std::shared_ptr<fonts::FontFace>> faces_;
    std::map<std::string, std::shared_ptr<fonts::FontFace>> fallbacks_;
};

class TCustomVum;

// Adds a font to the document's symbol fonts (kept sorted, each name once);
// not while a document is open.
void DeclareSymbolicFont(TCustomVum& document, const std::string& name);

// The code of a character in the single-byte encoding of the choice, -1 when
// it has none.
int SingleByteCode(const FontChoice& choice, char32_t c);

} // namespace vum
