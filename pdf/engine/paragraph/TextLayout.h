#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vum {

// Page-feed and margin values of the current paragraph style, as the layout
// reads them.
struct LayoutStyle {
    int32_t BottomMargin = 0;
    int32_t SpaceAfter = 0;
    bool AutoPageFeed = true;
};

// What the layout needs of the drawing surface: measuring, the position
// fields, and the operations each line becomes.
class LayoutHost {
public:
    virtual ~LayoutHost() = default;
    // Width of the text in the current font, in length units.
    virtual int32_t MeasureWidth(const std::u32string& text) = 0;
    // Calls `each` with k and the width MeasureWidth gives the k characters
    // of `text` from `begin` on, for k = 1, 2, ... until it returns false or
    // the text ends. By default one measure per prefix; hosts that can add
    // widths up as they go make the layout linear.
    virtual void MeasurePrefixes(const std::u32string& text, size_t begin,
                                 const std::function<bool(size_t, int32_t)>& each);
    virtual int32_t LineHeight() = 0;
    // 0 left to right; 1 Arabic, 2 Hebrew code page of the current font.
    virtual int ScriptMode() = 0;
    virtual bool IsRightToLeft() = 0;
    // Null without a current style.
    virtual const LayoutStyle* CurrentLayoutStyle() = 0;
    virtual int32_t PageHeightUnits() = 0;
    virtual void FeedPage() = 0;
    virtual void DrawLine(int32_t x, int32_t y, const std::string& utf8) = 0;
    virtual void LinkLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& link) = 0;
    // Defines NextParaName at the position and clears it, when it is set.
    virtual void NameLine(int32_t x, int32_t y) = 0;
    [[noreturn]] virtual void Fail(const std::string& message) = 0;

    int32_t CurrentX = 0;
    int32_t CurrentY = 0;
    int32_t LeftoverCount = 0;
};

struct LayoutRequest {
    int32_t FirstX = 0;   // left of the first line; negative: as NextX
    int32_t NextX = 0;    // left of the following lines
    int32_t Top = 0;      // 0: CurrentY
    int32_t Right = 0;
    int32_t Bottom = 0;   // 0: the page's (or the style's) bottom
    int32_t StartX = -1;  // where an open line continues; negative: none
    uint8_t HAlign = 0;   // 0 left, 1 right, 2 centre
    uint8_t VAlign = 0;   // 0 top, 1 bottom, 2 centre
    std::string Text;     // UTF-8
    std::string Link;     // destination of a link over the first line
    uint8_t Render = 2;   // 0 measure, 1 position, 2 position and draw
    bool IgnoreStyle = false;
    bool AutoFeed = false;
    // An empty Text is one empty line (a paragraph without text still takes
    // its line, so the page feed and the line limit apply to it); when no
    // line is left for it, LeftoverCount is 1.
    bool EmptyLine = false;
    // Lines with no room on the page (indents beyond the right edge, a line
    // higher than what is left with page feeds off) leave the whole text
    // over instead of failing: for text that may simply not fit.
    bool NoRoomLeavesText = false;
};

// Breaks the text into lines that fit between the edges, places them and
// draws them. Counts characters, never bytes. Returns lines x line height;
// LeftoverCount gets the characters that did not fit.
int32_t LayoutText(LayoutHost& host, const LayoutRequest& request);

// True for the characters after which a line may break.
bool IsBreakCharacter(char32_t c);

} // namespace vum
