#pragma once

#include "engine/paragraph/TextLayout.h"

#include <cstdint>
#include <string>

namespace vum {

class TCustomVumCanvas;

// The paragraph engine's operations on a drawing surface.

// Height of text in the current font, in length units; 1 while the document
// is aborted, "Document not opened" while none is open.
int32_t CanvasTextHeight(TCustomVumCanvas& canvas, const std::string& text);
// Height of "A" plus the line spacing.
int32_t CanvasLineHeight(TCustomVumCanvas& canvas);

// LayoutText on the surface: its position fields, TextWidth, TextOut and
// page feed.
int32_t CanvasLayoutText(TCustomVumCanvas& canvas, const LayoutRequest& request);

// The text laid out in the rectangle; returns the number of characters that
// did not fit (0 when all of it was drawn), as LeftoverCount holds them.
// CurrentY stands below the last line drawn.
int32_t CanvasDrawText(TCustomVumCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       uint8_t horzAlign, uint8_t vertAlign, const std::string& text);

// One line of page counters (kinds of the document's counters).
void CanvasDrawPageCounter(TCustomVumCanvas& canvas, int32_t x, int32_t y, int32_t right, uint8_t horzAlign,
                           const std::string& prefix, int kind1, const std::string& separator, int kind2,
                           const std::string& suffix);

} // namespace vum
