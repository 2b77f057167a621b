#pragma once

#include "engine/util/Colors.h"
#include "engine/util/VumError.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vum {

// Character attributes of a run of rich text.
struct RtfCharFormat {
    std::string FontName = "Arial";
    double FontSize = 12;  // points
    TColor Color = ColorBlack;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int Charset = 0;       // Windows character-set code of the font
    bool operator==(const RtfCharFormat&) const = default;
};

// Paragraph attributes; lengths in twips (1/1440 inch).
struct RtfParaFormat {
    int Alignment = 0;     // 0 left, 1 right, 2 centre
    int32_t FirstIndent = 0;  // of the first line, relative to the left indent
    int32_t LeftIndent = 0;
    int32_t RightIndent = 0;
    bool Bullet = false;
    std::vector<int32_t> Tabs;
};

// Text of uniform attributes (UTF-8); a run that ends at a tab says so.
struct RtfRun {
    std::string Text;
    RtfCharFormat Char;
    bool EndsWithTab = false;
};

struct RtfParagraph {
    RtfParaFormat Format;
    std::vector<RtfRun> Runs;
};

struct RtfDocument {
    std::vector<RtfParagraph> Paragraphs;
};

// True when the text is rich text source rather than a file name: it
// begins with "{\rtf" and a version number, then any delimiter.
bool IsRtfSource(std::string_view text);

// Rich text that is well formed but beyond what the reader takes; the
// message names the limit ("Rich text nested too deeply", "Rich text has
// too many groups").
class RtfLimitError : public VumError {
public:
    using VumError::VumError;
};

// Reads rich text: fonts with their character sets, colours, character
// attributes, paragraph alignment, indents, tab stops and bullets; \'hh
// through the font's code page and \uN. Text that is not rich text gives
// "File format not supported"; groups nested too deep or too many give an
// RtfLimitError.
RtfDocument ReadRtf(std::string_view source);

// Plain text: one paragraph per line, tabs kept, in the default font.
RtfDocument ReadPlainText(std::string_view text);

} // namespace vum
