#pragma once

#include "engine/canvas/VumCanvas.h"
#include "engine/pdf/PdfColor.h"
#include "engine/pdf/PdfFontResource.h"
#include "engine/pdf/PdfObjectWriter.h"
#include "engine/security/StandardSecurity.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vum {

class PdfTextFonts;
class TPdfField;
class TRadioGroupField;

// A named destination of the PDF writer.
struct TPdfNameTarget : TCustomNameTarget {};

// The PDF 1.3 back end of the drawing surface: one file per document.
// Objects 1 (information), 2 (page tree), 3 (shared resources) and 4 (form
// dictionary) are fixed; pages and fonts are written as they finish, pictures
// and the tail at the end.
class TPdfCanvas : public TCustomVumCanvas {
public:
    explicit TPdfCanvas(TCustomVum& document);
    ~TPdfCanvas() override;

    std::string GetFileExtension() const override { return ".pdf"; }
    std::string GetDefaultExtension() const override { return ".pdf"; }

    void ResetDocument() override;
    void OpenDocument() override;
    void CloseDocument(bool final) override;
    void OpenPage() override;
    void ClosePage() override;

    void LineTo(int32_t x, int32_t y) override;
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void FillRect(const TRect& rect) override;
    void FrameRect(const TRect& rect) override;
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) override;
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void Polyline(const std::vector<TPoint>& points) override;
    void PolyBezier(const std::vector<TPoint>& points) override;
    void SetColorEx(int target, int model, int32_t v1, int32_t v2, int32_t v3, int32_t v4) override;
    void SetCharacterSpacing(int32_t value) override;
    void TextOut(int32_t x, int32_t y, const std::string& text) override;
    int32_t TextWidth(const std::string& text) override;
    void PrefixTextWidths(const std::u32string& text, size_t begin,
                          const std::function<bool(size_t, int32_t)>& each) override;
    void DrawImage(const TRect& rect, TCustomVumImage& image) override;

    void DefineField(const std::string& name, int kind, const std::string& label, const std::string& hint,
                     const std::string& styleName) override;
    void SetFieldProp(const std::string& name, int id, bool isText, int64_t number,
                      const std::string& text) override;
    void SetAction(const std::string& fieldName, int event, int kind, const std::string& text) override;
    void PutField(const std::string& name, int32_t x, int32_t y, int32_t width, int32_t height) override;
    std::function<void()> ContentCheckpoint() override;

    void DefineName(int32_t x, int32_t y, const std::string& name) override;
    void SetLink(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& destination) override;
    void Annotation(int32_t x, int32_t y, const std::string& text, int icon) override;
    void RubberStamp(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& text, int stamp) override;

    // --- Seams for the font engine and the picture objects ---------------

    PdfObjectWriter& Writer() { return writer_; }
    // The font of the current Font state: found in FontResources or made
    // (and written) on first use. Provided by the font engine.
    PdfFontResource& CurrentPdfFont();
    // Fonts of the document: key, font. "/F<index>" is the resource name.
    std::vector<std::pair<std::string, std::unique_ptr<PdfFontResource>>> FontResources;
    // The lines of TextOut and the width of TextWidth in a given font of
    // FontResources (TextOut and TextWidth set text in the runs of
    // the document's text fonts instead).
    void AppendTextLine(PdfFontResource& font, int32_t x, int32_t y, const std::string& text);
    int32_t TextWidthIn(const PdfFontResource& font, const std::string& text) const;
    // How text is set in the document's fonts (made on first use).
    PdfTextFonts& TextFonts();
    // Index of a font in FontResources, -1 when not there.
    int FontIndex(const PdfFontResource& font) const;

    // Page content lines (the content stream of the open page).
    std::vector<std::string> ContentLines;

    // Coordinates: length units to points, and y turned over.
    double ToPoints(double value) const;
    double FlipY(double y) const;
    std::string X(double x) const;      // ToPoints as "0.###"
    std::string Y(double y) const;      // FlipY as "0.###"
    std::string Len(double v) const;    // ToPoints as "0.###"

    // A PDF literal string "(...)" with ( ) \ and control characters escaped.
    static std::string LiteralString(const std::string& bytes);
    // Text for the information dictionary: a literal string for plain
    // ASCII, UTF-16BE with a byte-order mark otherwise.
    static std::string InfoString(const std::string& utf8);
    // The same as a string of a dictionary of object `number`, encrypted
    // with that object's key in an encrypted document (object 0: never).
    std::string TextString(const std::string& utf8, int32_t number) const;
    // Bytes as a literal string of object `number`, encrypted as above.
    std::string EncodeString(const std::string& bytes, int32_t number) const;
    const StandardSecurity& Security() const { return security_; }
    // The array of the fields a submit action sends, written at the end of
    // the document; reserved on first use.
    int32_t SubmittedFieldsObject();
    // A radio group with a single button placed on the page cannot end it.
    void CheckPageCanClose() const override;

    TPdfColor BrushColorEncoder, PenColorEncoder, FontColorEncoder;

private:
    // Emits colour, dash and width lines and returns "B", "S", "f" or "".
    std::string PreparePaint(bool wantStroke, bool wantFill);
    void CurveQuarter(double x0, double y0, double dx1, double dy1, double dx2, double dy2,
                      double x3, double y3, const std::string& op);
    void Line(double x1, double y1, double x2, double y2, const std::string& op);
    void ArcPoints(int kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                   int32_t x4, int32_t y4);
    void TextDecoration(double thickness, double position, double size, double x, double y,
                        double width);

    void WriteInfo();
    void WriteTail();
    void WriteResources();
    void WriteContentAndPage();

    // Form fields (PdfForms.cpp).
    TPdfField* FindField(const std::string& name) const;
    TPdfField& DefinedField(const std::string& name) const;
    void PlaceField(TPdfField& field, int32_t x, int32_t y, int32_t width, int32_t height);
    void WriteAppearance(TPdfField& field);
    std::vector<int32_t> WriteFieldActions(TPdfField& field);
    void PlaceRadioGroups();
    void WriteFormDictionary();
    void WriteSubmittedFields();
    bool HasPlacedFields() const;

    // Outlines, named destinations and the check of link names
    // (PdfNavigation.cpp). The writers return their root's number, 0 for
    // none.
    int32_t WriteOutlines();
    int32_t WriteNamedDestinations();
    void WarnUndefinedLinkNames() const;
    std::string PageRef(int32_t pageNumber) const;
    std::string RectText(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;
    std::vector<std::unique_ptr<TPdfField>> formFields_;
    int32_t submittedFields_ = 0;
    // The font viewers draw check marks in ("/ZaDb" of the form's
    // resources), reserved with the first check box or radio button.
    int32_t checkMarkFont_ = 0;

    PdfObjectWriter writer_;
    std::shared_ptr<PdfTextFonts> textFonts_;
    std::vector<int32_t> pageObjects_;
    std::vector<int32_t> pageAnnots_;
    std::string fileIdentifier_;
    StandardSecurity security_;
    bool documentOpen_ = false;
};

} // namespace vum
