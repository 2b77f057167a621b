#pragma once

#include "engine/paragraph/TextLayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vum {

class TCustomVumCanvas;

// A named set of paragraph parameters (Key=Value texts), with a base style
// for what it leaves out and a style for its bullet.
class TParaStyle {
public:
    explicit TParaStyle(std::string name) : Name(std::move(name)) {}

    std::string Name;
    TParaStyle* BaseStyle = nullptr;
    TParaStyle* BulletStyle = nullptr;
    std::vector<std::pair<std::string, std::string>> Parameters;

    // The trimmed value here, else up the chain of base styles.
    std::string InheritedValue(const std::string& key) const;
    std::string GetText(const std::string& key, const std::string& fallback) const;
    // "Numeric value expected for style parameter" (raised through the
    // canvas) for a value that is not a decimal integer.
    int32_t GetInteger(TCustomVumCanvas& canvas, const std::string& key, int32_t fallback) const;
    bool GetBoolean(const std::string& key, bool fallback) const;
    bool HasParameter(const std::string& key) const { return !InheritedValue(key).empty(); }
};

// The styles of a document and the state the paragraph calls keep between
// them.
struct ParagraphState {
    std::vector<std::unique_ptr<TParaStyle>> Styles;
    bool ParaFirstLine = false;
    int32_t LastTabIndex = 0;
    std::string NextParaName;
    // Nothing was laid out on the current paragraph line yet: ending the
    // paragraph lays out an empty line.
    bool LineEmpty = true;
    // Set while rich text is laid out: text with no room is left over, not
    // an error (LayoutRequest::NoRoomLeavesText).
    bool NoRoomLeavesText = false;

    // None for an empty name; "Invalid style name" (name as context) for an
    // unknown one unless create is set.
    TParaStyle* FindStyle(TCustomVumCanvas& canvas, const std::string& name, bool create);
};

// The paragraph state of the surface, made on first use.
ParagraphState& Paragraphs(TCustomVumCanvas& canvas);
// The current style, null when none.
TParaStyle* CurrentStyle(TCustomVumCanvas& canvas);

// Sets Key=Value (an empty value removes the key); BaseStyle and
// BulletStyle link the named styles. A base style that builds on the style
// itself fails "Circular reference in style sheet" and changes nothing.
void SetStyleParameter(TCustomVumCanvas& canvas, TParaStyle& style, const std::string& key,
                       const std::string& value);
// Every style's base and bullet style from its own BaseStyle and
// BulletStyle values; "Invalid style name" for a name that names none,
// "Circular reference in style sheet" for base styles that come back.
void LinkStyles(TCustomVumCanvas& canvas);
// Makes the named style current and applies its font and spacing; an empty
// name selects none and resets the text state.
void SelectStyle(TCustomVumCanvas& canvas, const std::string& name);
// Font parameters of the style on the surface's current font.
void ApplyStyleFont(TCustomVumCanvas& canvas, const TParaStyle& style);

// Positions of Part of a style: left of following lines, left of the first
// line, inset from the right edge.
struct StylePositions {
    int32_t LeftPos = 0;
    int32_t FirstPos = 0;
    int32_t RightInset = 0;
};
StylePositions PositionsOf(TCustomVumCanvas& canvas, const TParaStyle& style);
LayoutStyle LayoutStyleOf(TCustomVumCanvas& canvas, const TParaStyle& style);

// Where a new page's text begins: the current style's left position and top
// margin, else the corner.
void PlaceAtPageStart(TCustomVumCanvas& canvas);

} // namespace vum
