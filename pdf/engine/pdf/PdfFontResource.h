#pragma once

#include <cstdint>
#include <string>

namespace vum {

// One font of a document as the page writer sees it. The font engine makes
// these (TPdfCanvas::CurrentPdfFont) and writes their objects; the page
// writer asks them for metrics and for the string operand of "Tj".
class PdfFontResource {
public:
    virtual ~PdfFontResource() = default;

    // The font dictionary's object number, listed under /Font in the shared
    // resources as "/F<index>" (index = position in FontResources).
    virtual int32_t FontObjectNumber() const = 0;

    // Per point of font size.
    virtual double AscentPerPoint() const = 0;
    virtual double UnderlineThickness() const = 0;
    virtual double UnderlinePosition() const = 0;
    virtual double StrikeOutThickness() const = 0;
    virtual double StrikeOutPosition() const = 0;

    // True when the text runs right to left (X names its right end).
    virtual bool RightToLeft() const = 0;

    // The operand of "Tj" for UTF-8 text, delimiters included: "(...)" or "<...>".
    virtual std::string StringOperand(const std::string& text) const = 0;

    // Width of the text in thousandths of the font size, and how many
    // characters took part (character spacing applies between those).
    virtual double TextWidth1000(const std::string& text, int32_t& countedCharacters) const = 0;
};

} // namespace vum
