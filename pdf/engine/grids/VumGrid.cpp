#include "engine/grids/VumGrid.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/canvas/VumTargets.h"
#include "engine/document/VumDocument.h"
#include "engine/paragraph/CanvasText.h"
#include "engine/util/Geometry.h"
#include "engine/util/PdfNumber.h"
#include "platform/fonts/Utf8.h"

#include <algorithm>

namespace vum {

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    const CaseBlindLess less;
    return !less(a, b) && !less(b, a);
}

TGrid* FindGridOrNull(TCustomVumCanvas& canvas, const std::string& name)
{
    for (const auto& grid : canvas.Grids)
        if (SameName(grid->Name, name))
            return grid.get();
    return nullptr;
}

TGrid& FindGrid(TCustomVumCanvas& canvas, const std::string& name)
{
    TGrid* grid = FindGridOrNull(canvas, name);
    if (!grid)
        canvas.RaiseMethodError("Invalid Grid name", name);
    return *grid;
}

void NeedColumns(TCustomVumCanvas& canvas, const TGrid& grid)
{
    if (grid.Columns.empty())
        canvas.RaiseMethodError("Grid Cols not defined", grid.Name);
}

void CheckCell(TCustomVumCanvas& canvas, const TGrid& grid, int32_t col, int32_t row)
{
    if (col < 0 || static_cast<size_t>(col) >= grid.Columns.size() || row < 0 ||
        static_cast<size_t>(row) >= grid.Rows.size())
        canvas.RaiseMethodError("Invalid cell", grid.Name + "(" + IntText(col) + "," + IntText(row) + ")");
}

bool RightToLeftFont(const TCustomVumCanvas& canvas)
{
    return canvas.Font.Charset == 177 || canvas.Font.Charset == 178;
}

// Characters (not bytes) come off the end until the text fits.
std::string TrimToWidth(TCustomVumCanvas& canvas, const std::string& text, int32_t width)
{
    std::u32string chars = fonts::decodeUtf8(text);
    std::string out = text;
    while (!chars.empty() && canvas.TextWidth(out) > width) {
        chars.pop_back();
        out = fonts::encodeUtf8(chars);
    }
    return out;
}

void WrappedCellText(TCustomVumCanvas& canvas, const TGrid& grid, const TColDef& column, const TRowDef& row,
                     const std::string& text)
{
    const int32_t m = grid.Margin;
    LayoutRequest r;
    r.FirstX = -1;
    r.NextX = column.Left + m;
    r.Top = row.Top + m;
    r.Right = column.Left + column.Width - m;
    r.Bottom = row.Top + row.Height - m;
    r.StartX = -1;
    r.HAlign = column.HAlign;
    r.VAlign = column.VAlign;
    r.Text = text;
    r.Render = 2;
    r.IgnoreStyle = true;
    r.AutoFeed = false;
    CanvasLayoutText(canvas, r);
}

void SingleLineCellText(TCustomVumCanvas& canvas, const TGrid& grid, const TColDef& column, const TRowDef& row,
                        std::string text)
{
    const int32_t l = column.Left, w = column.Width, t = row.Top, h = row.Height, m = grid.Margin;
    int32_t tw = canvas.TextWidth(text);
    int32_t x = 0;
    switch (column.HAlign) {
    case 0: x = l + m; break;
    case 1: x = l + w - m - tw; break;
    case 2: x = RoundEven(l + (double(w) - tw) / 2); break;
    default: x = 0; break;
    }
    if (RightToLeftFont(canvas))
        x += tw;
    x = std::max(x, l + m);
    if (x + tw > l + w - m) {
        text = TrimToWidth(canvas, text, w - 2 * m);
        tw = canvas.TextWidth(text);
    }
    const int32_t th = CanvasTextHeight(canvas, text);
    int32_t y = 0;
    switch (column.VAlign) {
    case 0: y = t + m; break;
    case 1: y = t + h - m - th; break;
    case 2: y = RoundEven(t + (double(h) - th) / 2); break;
    default: y = 0; break;
    }
    y = std::max(y, t + m);
    canvas.TextOut(x, y, text);
    canvas.CurrentY = y + CanvasLineHeight(canvas);
}

} // namespace

void DefineGrid(TCustomVumCanvas& canvas, const std::string& name, uint8_t align, int32_t margin)
{
    if (!canvas.Guard())
        return;
    TGrid* grid = FindGridOrNull(canvas, name);
    if (!grid) {
        canvas.Grids.push_back(std::make_unique<TGrid>());
        grid = canvas.Grids.back().get();
        grid->Name = name;
    }
    grid->Columns.clear();
    grid->Align = align;
    grid->Margin = margin;
}

void DefineCol(TCustomVumCanvas& canvas, const std::string& gridName, int32_t width, uint8_t hAlign,
               uint8_t vAlign, bool wrap)
{
    if (!canvas.Guard())
        return;
    TGrid& grid = FindGrid(canvas, gridName);
    TColDef column;
    column.HAlign = hAlign;
    column.Brush = canvas.Brush;
    column.Wrap = wrap;
    column.Pen = canvas.Pen;
    column.VAlign = vAlign;
    column.Width = width;
    grid.Columns.push_back(column);
}

void DrawGrid(TCustomVumCanvas& canvas, const std::string& name, int32_t x, int32_t y)
{
    if (!canvas.Guard())
        return;
    TGrid& grid = FindGrid(canvas, name);
    NeedColumns(canvas, grid);
    int64_t total = 0;
    for (const TColDef& column : grid.Columns)
        total += column.Width;
    const int64_t pageWidth = canvas.Document().PageWidth();
    int64_t x0 = 0;
    switch (grid.Align) {
    case 0: x0 = x; break;
    case 1: x0 = int64_t(x) - total; break;
    case 2: x0 = RoundEven((double(pageWidth) - double(total)) / 2); break;
    default: x0 = 0; break;
    }
    if (x0 < 0 || x0 + total > pageWidth)
        canvas.RaiseMethodError("Grid too wide", grid.Name + " (" + IntText(total) + ")");
    grid.TotalWidth = static_cast<int32_t>(total);
    int32_t left = static_cast<int32_t>(x0);
    for (TColDef& column : grid.Columns) {
        column.Left = left;
        left += column.Width;
    }
    grid.Rows.clear();
    grid.RowPosition = y;
}

void DrawRow(TCustomVumCanvas& canvas, const std::string& name, int32_t height)
{
    if (!canvas.Guard())
        return;
    TGrid& grid = FindGrid(canvas, name);
    NeedColumns(canvas, grid);
    const int32_t y = grid.RowPosition;
    if (y < 0 || int64_t(y) + height > canvas.Document().PageHeight())
        canvas.RaiseMethodError("Grid row out of page", grid.Name);
    grid.Rows.push_back(TRowDef{height, y});
    grid.RowPosition = y + height;

    const TVumBrush savedBrush = canvas.Brush;
    const TVumPen savedPen = canvas.Pen;
    for (const TColDef& column : grid.Columns) {
        if (column.Brush.Style == bsClear || column.Width <= 0 || height <= 0)
            continue;
        canvas.Brush = column.Brush;
        canvas.Pen.Style = psClear;
        canvas.Rectangle(column.Left, y, column.Left + column.Width, y + height);
    }
    for (const TColDef& column : grid.Columns) {
        // A last column of width 0 with a visible pen gives the right edge.
        if (column.Pen.Style == psClear || column.Pen.Width == 0)
            continue;
        canvas.Pen = column.Pen;
        canvas.MoveTo(column.Left, y);
        canvas.LineTo(column.Left, y + height);
    }
    canvas.Brush = savedBrush;
    canvas.Pen = savedPen;
    const int32_t left = grid.Columns.front().Left;
    canvas.MoveTo(left, y);
    canvas.LineTo(left + grid.TotalWidth, y);
}

void TextToCell(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row,
                const std::string& text)
{
    if (!canvas.Guard())
        return;
    TGrid& grid = FindGrid(canvas, name);
    CheckCell(canvas, grid, col, row);
    const TColDef& column = grid.Columns[static_cast<size_t>(col)];
    const TRowDef& cell = grid.Rows[static_cast<size_t>(row)];
    if (column.Wrap)
        WrappedCellText(canvas, grid, column, cell, text);
    else
        SingleLineCellText(canvas, grid, column, cell, text);
}

int32_t CellX(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row, int32_t corner)
{
    TGrid& grid = FindGrid(canvas, name);
    CheckCell(canvas, grid, col, row);
    if (corner < 0 || corner > 3)
        canvas.RaiseMethodError("Invalid corner", IntText(corner));
    const TColDef& column = grid.Columns[static_cast<size_t>(col)];
    return corner == 0 || corner == 3 ? column.Left : column.Left + column.Width;
}

int32_t CellY(TCustomVumCanvas& canvas, const std::string& name, int32_t col, int32_t row, int32_t corner)
{
    TGrid& grid = FindGrid(canvas, name);
    CheckCell(canvas, grid, col, row);
    if (corner < 0 || corner > 3)
        canvas.RaiseMethodError("Invalid corner", IntText(corner));
    const TRowDef& cell = grid.Rows[static_cast<size_t>(row)];
    return corner <= 1 ? cell.Top : cell.Top + cell.Height;
}

int32_t CellTextHeight(TCustomVumCanvas& canvas, const std::string& name, int32_t col, const std::string& text)
{
    TGrid& grid = FindGrid(canvas, name);
    if (col < 0 || static_cast<size_t>(col) >= grid.Columns.size())
        canvas.RaiseMethodError("Invalid cell", grid.Name + "(" + IntText(col) + ")");
    const TColDef& column = grid.Columns[static_cast<size_t>(col)];
    int32_t height = 0;
    if (column.Wrap) {
        LayoutRequest r;
        r.FirstX = 0;
        r.NextX = 0;
        r.Top = 0;
        r.Right = column.Width - 2 * grid.Margin;
        r.Bottom = 0;
        r.StartX = -1;
        r.Text = text;
        r.Render = 0;
        r.IgnoreStyle = true;
        r.AutoFeed = true;
        height = CanvasLayoutText(canvas, r);
    } else {
        height = CanvasTextHeight(canvas, "A");
    }
    return height + 2 * grid.Margin;
}

void StartGridsOnNewPage(TCustomVumCanvas& canvas)
{
    for (const auto& grid : canvas.Grids) {
        grid->Rows.clear();
        grid->RowPosition = 0;
    }
}

} // namespace vum
