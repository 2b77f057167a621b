#include "engine/paragraph/CanvasText.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/fonts/MeasuringFaces.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/recorder/VumRecorder.h"
#include "engine/util/Geometry.h"
#include "platform/fonts/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vum {

namespace {

class CanvasLayoutHost : public LayoutHost {
public:
    explicit CanvasLayoutHost(TCustomVumCanvas& canvas) : canvas_(canvas)
    {
        CurrentX = canvas.CurrentX;
        CurrentY = canvas.CurrentY;
        if (TParaStyle* current = CurrentStyle(canvas)) {
            style_ = LayoutStyleOf(canvas, *current);
            hasStyle_ = true;
        }
    }

    int32_t MeasureWidth(const std::u32string& text) override
    {
        return canvas_.TextWidth(fonts::encodeUtf8(text));
    }
    void MeasurePrefixes(const std::u32string& text, size_t begin,
                         const std::function<bool(size_t, int32_t)>& each) override
    {
        canvas_.PrefixTextWidths(text, begin, each);
    }
    int32_t LineHeight() override { return CanvasLineHeight(canvas_); }
    int ScriptMode() override
    {
        return canvas_.Font.Charset == 178 ? 1 : canvas_.Font.Charset == 177 ? 2 : 0;
    }
    bool IsRightToLeft() override { return ScriptMode() != 0; }
    const LayoutStyle* CurrentLayoutStyle() override { return hasStyle_ ? &style_ : nullptr; }
    int32_t PageHeightUnits() override { return canvas_.Document().PageHeight(); }
    void FeedPage() override
    {
        Store();
        canvas_.Document().NewPage();
        Load();
    }
    void DrawLine(int32_t x, int32_t y, const std::string& utf8) override
    {
        Store();
        canvas_.TextOut(x, y, utf8);
        Load();
    }
    void LinkLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& link) override
    {
        canvas_.SetLink(x1, y1, x2, y2, link);
    }
    void NameLine(int32_t x, int32_t y) override
    {
        // DefineName uses the name up.
        const std::string name = Paragraphs(canvas_).NextParaName;
        if (!name.empty())
            canvas_.DefineName(x, y, name);
    }
    void Fail(const std::string& message) override { canvas_.RaiseMethodError(message); }

    void Store()
    {
        canvas_.CurrentX = CurrentX;
        canvas_.CurrentY = CurrentY;
        canvas_.LeftoverCount = LeftoverCount;
    }
    void Load()
    {
        CurrentX = canvas_.CurrentX;
        CurrentY = canvas_.CurrentY;
    }

private:
    TCustomVumCanvas& canvas_;
    LayoutStyle style_;
    bool hasStyle_ = false;
};

std::string ShownCounter(TCustomVum& doc, int kind)
{
    if (doc.CounterValue(kind) == 0)
        return {};
    return doc.CounterText(kind);
}

} // namespace

int32_t CanvasTextHeight(TCustomVumCanvas& canvas, const std::string&)
{
    if (!canvas.Guard())
        return 1;
    // As a screen measures it: ascent and descent each whole pixels at 100
    // times the size and 96 pixels per inch, then back to length units.
    const LineMetrics metrics = MeasuringMetrics(canvas.Font);
    const double pixelsPerPoint = 100.0 * std::abs(double(canvas.Font.Size)) * TCustomVumCanvas::kPixelsPerInch / 72.0;
    const double pixels = std::nearbyint(metrics.Ascent * pixelsPerPoint) + std::nearbyint(metrics.Descent * pixelsPerPoint);
    const double unitsPerInch = canvas.Document().LengthUnit() == 1 ? 72.0 : 254.0;
    return RoundEven(pixels * unitsPerInch / TCustomVumCanvas::kPixelsPerInch / 100.0);
}

int32_t CanvasLineHeight(TCustomVumCanvas& canvas)
{
    return ClampToInt32(int64_t(CanvasTextHeight(canvas, "A")) + canvas.LineSpacing);
}

int32_t CanvasLayoutText(TCustomVumCanvas& canvas, const LayoutRequest& request)
{
    CanvasLayoutHost host(canvas);
    const int32_t result = LayoutText(host, request);
    host.Store();
    return result;
}

int32_t CanvasDrawText(TCustomVumCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       uint8_t horzAlign, uint8_t vertAlign, const std::string& text)
{
    if (!canvas.Guard())
        return 0;
    LayoutRequest r;
    r.FirstX = -1;
    r.NextX = x1;
    r.Top = y1;
    r.Right = x2;
    r.Bottom = y2;
    r.StartX = -1;
    r.HAlign = horzAlign;
    r.VAlign = vertAlign;
    r.Text = text;
    r.Render = 2;
    CanvasLayoutText(canvas, r);
    canvas.CurrentX = 0;
    return canvas.LeftoverCount;
}

void CanvasDrawPageCounter(TCustomVumCanvas& canvas, int32_t x, int32_t y, int32_t right, uint8_t horzAlign,
                           const std::string& prefix, int kind1, const std::string& separator, int kind2,
                           const std::string& suffix)
{
    if (!canvas.Guard())
        return;
    TCustomVum& doc = canvas.Document();
    const bool even1 = kind1 % 128 != 0 && kind1 % 2 == 0;
    const bool even2 = kind2 % 128 != 0 && kind2 % 2 == 0;
    if ((even1 || even2) && !doc.WantPageCount())
        canvas.RaiseMethodError("This counter requires WantPageCount to be assigned to TRUE before start");
    // Totals are known only on the second pass of a counted document.
    const bool secondPass = doc.Replaying();
    std::string text = prefix;
    if (!even1 || secondPass)
        text += ShownCounter(doc, kind1);
    if (!even2 || secondPass)
        if (const std::string second = ShownCounter(doc, kind2); !second.empty())
            text += separator + second;
    text += suffix;

    if (y == 0)
        y = canvas.CurrentY;
    if (right == 0)
        right = doc.PageWidth();
    // The line is recorded as the counter, laid out again by a replay with
    // the final totals; its position is recorded as resolved here, since
    // the text calls that moved CurrentY are not replayed as such.
    TCustomVumDocument* recorder = canvas.Recording();
    const RecordingPause counterOnly(canvas);
    LayoutRequest r;
    r.FirstX = -1;
    r.NextX = x;
    r.Top = y;
    r.Right = right;
    r.StartX = -1;
    r.HAlign = horzAlign;
    r.Text = text;
    r.Render = 2;
    CanvasLayoutText(canvas, r);
    canvas.CurrentX = 0;
    canvas.CurrentY = ClampToInt32(int64_t(y) + CanvasLineHeight(canvas));
    if (recorder && doc.Printing()) {
        recorder->Enabled = true;
        recorder->WriteFontDeltas(canvas);
        recorder->NoteCounterStyle(canvas.CurrentStyleName);
        recorder->WriteOpcode(opDrawPageCounter);
        recorder->WriteIntegers({x, y, right, horzAlign, kind1, kind2});
        recorder->WriteStrings({prefix, separator, suffix});
        recorder->Enabled = false;
    }
}

} // namespace vum
