#pragma once

#include "engine/canvas/DrawingTools.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vum {

class TCustomVumCanvas;
class TGrid;

// A column: its width and alignments, and copies of the brush that fills
// its cells and the pen that draws its left rule.
struct TColDef {
    uint8_t HAlign = 0;
    TVumBrush Brush;
    bool Wrap = false;
    TVumPen Pen;
    uint8_t VAlign = 0;
    int32_t Width = 0;
    int32_t Left = 0; // set when the grid is placed
};

struct TRowDef {
    int32_t Height = 0;
    int32_t Top = 0;
};

// A table drawn row by row: a row paints its fills and rules at once, and
// texts are written into cells of rows already drawn. The grid keeps no
// cell texts.
class TGrid {
public:
    uint8_t Align = 0; // 0 X is the left edge, 1 the right edge, 2 centred on the page
    std::vector<TColDef> Columns;
    int32_t Margin = 0;
    std::string Name;
    int32_t RowPosition = -1; // top of the next row; -1 until placed
    std::vector<TRowDef> Rows;
    int32_t TotalWidth = 0;
};

// The exported grid calls. Col and Row are 0-based; corners 0 top-left,
// 1 top-right, 2 bottom-right, 3 bottom-left. Every failure aborts the
// document.
void DefineGrid(TCustomVumCanvas& canvas, const std::string& name, uint8_t align, int32_t margin);
void DefineCol(TCustomVumCanvas& canvas, const std::string& gridName, int32_t width, uint8_t hAlign,
               uint8_t vAlign, bool wrap);
void DrawGrid(TCustomVumCanvas& canvas, const std::string& name, int32_t x, int32_t y);
void DrawRow(TCustomVumCanvas& canvas, const std::string& name, int32_t height);
void TextToCell(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row,
                const std::string& text);
int32_t CellX(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row, int32_t corner);
int32_t CellY(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row, int32_t corner);
int32_t CellTextHeight(TCustomVumCanvas& canvas, const std::string& name, int32_t col, const std::string& text);

// A new page: every grid forgets its rows and continues at the top edge.
void StartGridsOnNewPage(TCustomVumCanvas& canvas);

} // namespace vum
