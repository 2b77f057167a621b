#pragma once

#include "engine/canvas/DrawingTools.h"
#include "engine/canvas/VumTargets.h"
#include "engine/util/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vum {

struct ParagraphState;

class TCustomVum;
class TCustomVumDocument;
class TGrid;
class TCustomVumImage;

// The drawing surface of a document: keeps the drawing state, checks every
// call and leaves the output to a back end that overrides the virtual
// operations (TPdfCanvas). The base draws nothing.
class TCustomVumCanvas {
public:
    explicit TCustomVumCanvas(TCustomVum& document);
    virtual ~TCustomVumCanvas();
    TCustomVumCanvas(const TCustomVumCanvas&) = delete;
    TCustomVumCanvas& operator=(const TCustomVumCanvas&) = delete;

    TCustomVum& Document() const { return document_; }

    // Life of a document and its pages (driven by TCustomVum).
    virtual void ResetDocument();
    virtual void OpenDocument();
    virtual void CloseDocument(bool final);
    virtual void OpenPage();
    virtual void ClosePage();
    // Raised (the document staying open) when the page may not end yet.
    virtual void CheckPageCanClose() const {}
    virtual void ResetPageSettings();
    virtual std::string GetFileExtension() const { return {}; }
    virtual std::string GetDefaultExtension() const { return {}; }
    void CloseDocumentGuarded(bool final);

    // Shapes. Coordinates in the document's length unit, y down from the top.
    virtual void MoveTo(int32_t x, int32_t y);
    virtual void LineTo(int32_t x, int32_t y);
    virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void FillRect(const TRect& rect);
    virtual void FrameRect(const TRect& rect);
    virtual void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
    virtual void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    virtual void Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    virtual void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
    virtual void Polygon(const std::vector<TPoint>& points);
    virtual void Polyline(const std::vector<TPoint>& points);
    virtual void PolyBezier(const std::vector<TPoint>& points);
    void PolyBezierTo(const std::vector<TPoint>& points);

    // Text of one line at (x, y), y being the top of the text.
    virtual void TextOut(int32_t x, int32_t y, const std::string& text);
    virtual int32_t TextWidth(const std::string& text);
    // Calls `each` with k and TextWidth of the k characters of `text` from
    // `begin` on, for k = 1, 2, ... until it returns false or the text ends.
    virtual void PrefixTextWidths(const std::u32string& text, size_t begin,
                                  const std::function<bool(size_t, int32_t)>& each);

    // Target 0 brush, 1 pen, 2 font; model 0 colour value, 1 RGB, 2 HSL,
    // 3 CMYK, 4 grey (percentages).
    virtual void SetColorEx(int target, int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4);
    virtual void SetCharacterSpacing(int32_t value);
    virtual void SetFontDegreeAngle(int32_t angle);
    // Settings that a replay must see change where they changed.
    void SetLineSpacing(int32_t value);
    void SetMetafileResolution(int32_t value);
    void SetNoImageReuse(uint8_t value);
    void SetImageHorzAlign(uint8_t value);
    void SetImageVertAlign(uint8_t value);

    // Pictures from a file or an http/https/ftp address, fitted into rect
    // (an empty rect: natural size at its top-left corner).
    void DrawFromFile(int32_t x, int32_t y, const std::string& fileName);
    virtual void StretchDrawFromFile(const TRect& rect, const std::string& fileName);
    // Marks a stored picture used and encodes it; the back end places it.
    virtual void DrawImage(const TRect& rect, TCustomVumImage& image);

    // Interactive form fields: defined by name and kind, given properties
    // (a number or a text) and actions, then placed on the current page.
    // The base only checks that a document is open.
    virtual void DefineField(const std::string& name, int kind, const std::string& label,
                             const std::string& hint, const std::string& styleName);
    virtual void SetFieldProp(const std::string& name, int id, bool isText, int64_t number,
                              const std::string& text);
    virtual void SetAction(const std::string& fieldName, int event, int kind, const std::string& text);
    virtual void PutField(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height);

    // Remembers how far the open page's content has come; calling the result
    // takes back everything drawn since (text laid out to see whether it fits).
    virtual std::function<void()> ContentCheckpoint();

    // Navigation (VumNavigation.cpp): named targets on the current page,
    // link rectangles, outline entries, notes and stamps. Names are compared
    // ignoring case; a name is defined once ("Duplicate name").
    virtual void DefineName(int32_t x, int32_t y, const std::string& name);
    virtual void SetLink(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& destination);
    // Level 1 goes under the root, level n under the latest entry of level
    // n - 1; anything else fails "Bad bookmark level".
    void SetBookmark(int32_t x, int32_t y, const std::string& title, int32_t level, bool open);
    virtual std::unique_ptr<TCustomVumBookmark> CreateBookmark(TCustomVumBookmark& parent, int32_t x, int32_t y,
                                                               const std::string& title, bool open);
    // Icons 0..5 and stamps 0..13; any other number is refused.
    virtual void Annotation(int32_t x, int32_t y, const std::string& text, int icon);
    virtual void RubberStamp(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& text, int stamp);
    const TNameTargets& DefinedNames() const { return definedNames_; }
    const TReferencedNames& ReferencedNames() const { return referencedNames_; }
    void ReferenceName(const std::string& name) { referencedNames_.insert(name); }
    const TCustomVumBookmark& BookmarkRoot() const { return bookmarkRoot_; }
    // "{title}rest": the title and the rest; "{{..." keeps all but the first
    // brace as the rest; anything else is all rest.
    static void SplitBraced(const std::string& text, std::string& prefix, std::string& rest);

    // Grids of the document in definition order (engine/grids).
    std::vector<std::unique_ptr<TGrid>> Grids;

    // Destination of a picture of the given pixel size drawn into rect: the
    // natural size for an empty rect, else fitted when SmartStretchDraw is on.
    TRect ImageRect(TRect rect, int32_t pixelWidth, int32_t pixelHeight) const;

    // Length units to pixels at 96 pixels per inch.
    int32_t ScaleX(double value) const;
    int32_t ScaleY(double value) const;
    double HorzFactor() const { return horzFactor_; }
    double VertFactor() const { return vertFactor_; }

    // Raises through the document: aborts it, then throws.
    [[noreturn]] void RaiseMethodError(const std::string& message, const std::string& context = {}) const;
    // false while the document is aborted (the call does nothing);
    // "Document not opened" while none is open.
    bool Guard() const;
    bool OutputActive() const { return EnableOutput() != 0 && !CountingPass; }
    void ResetTextState(bool withBrushAndPen);

    // Drawing state.
    TVumFont Font;
    TVumBrush Brush;
    TVumPen Pen;
    TPoint PenPos;
    int32_t CharacterSpacing() const { return characterSpacing_; }
    int32_t FontDegreeAngle() const { return fontDegreeAngle_; }
    double FontRadians() const;
    int32_t LineSpacing = 0;
    uint16_t MetafileResolution = 600;
    int32_t BulletNumber = 1;
    uint8_t ImageHorzAlign = 2;
    uint8_t ImageVertAlign = 2;
    uint8_t NoImageReuse = 0;
    int32_t CurrentX = 0;
    int32_t CurrentY = 0;
    int32_t LeftoverCount = 0;
    bool CountingPass = false;
    bool Closing = false;
    std::string CurrentStyleName; // empty: no style
    // Paragraph styles and the paragraph calls' state (made on first use).
    std::shared_ptr<ParagraphState> Paragraphs;

    uint8_t EnableOutput() const { return enableOutput_; }
    void SetEnableOutput(uint8_t value);

    static constexpr int kPixelsPerInch = 96;

    // The document's recorder while it records, else null.
    TCustomVumDocument* Recording() const;

protected:
    // "Bad rectangle definition" for an empty rectangle, else puts the
    // corners in order.
    void NormalizeRect(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) const;
    // Keeps a named target the back end made for DefineName.
    void AddNameTarget(std::unique_ptr<TCustomNameTarget> target);
    void ClearNavigation();

private:
    // A drawing record: the changed brush and pen, the opcode, the values.
    void RecordShape(uint8_t opcode, std::initializer_list<int32_t> values) const;
    void RecordPoints(uint8_t opcode, const std::vector<TPoint>& points) const;

    TCustomVum& document_;
    int32_t characterSpacing_ = 0;
    int32_t fontDegreeAngle_ = 0;
    uint8_t enableOutput_ = 1;
    TNameTargets definedNames_;
    TReferencedNames referencedNames_;
    TCustomVumBookmark bookmarkRoot_;
    std::vector<TCustomVumBookmark*> lastAtLevel_;
    double textFactor_ = 254.0 / kPixelsPerInch;
    double horzFactor_ = 254.0 / kPixelsPerInch;
    double vertFactor_ = 254.0 / kPixelsPerInch;

    friend class TPdfCanvas;
};

} // namespace vum
