// Numeric and string properties of a handle, by id.
#include "engine/PdfVumDll/CallFrame.h"
#include "engine/canvas/VumCanvas.h"
#include "engine/paragraph/ParaStyle.h"
#include "engine/util/Geometry.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"

namespace vum::dll {

namespace {

int32_t StyleBit(const TVumFont& font, uint8_t bit)
{
    return (font.Style & bit) ? 1 : 0;
}

void SetStyleBit(TVumFont& font, uint8_t bit, int32_t value)
{
    if (Flag(value))
        font.Style |= bit;
    else
        font.Style &= static_cast<uint8_t>(~bit);
}

int32_t Color(TColor c)
{
    return static_cast<int32_t>(ColorToRGB(c));
}

[[noreturn]] void BadNumericId(int32_t id)
{
    throw VumError("Bad numeric property ID: " + IntText(id));
}

} // namespace

int32_t TVumWrapper::GetNumProp(int32_t id)
{
    TPdfVum& doc = Document();
    TCustomVumCanvas& c = doc.Canvas();
    switch (id) {
    case 20: return doc.Aborted() ? 1 : 0;
    case 21: return Color(c.Brush.Color);
    case 22: return c.Brush.Style;
    case 23: return doc.EmbedFonts();
    case 24: return StyleBit(c.Font, fsBold);
    case 25: return Color(c.Font.Color);
    case 26: return c.FontDegreeAngle();
    case 27: return StyleBit(c.Font, fsItalic);
    case 28: return c.Font.Size;
    case 29: return StyleBit(c.Font, fsStrikeOut);
    case 30: return StyleBit(c.Font, fsUnderline);
    case 31: return doc.ImageCompressMode();
    case 32: return doc.LengthUnit();
    case 33: return doc.Orientation();
    case 34: return doc.PageHeight();
    case 35: return doc.PageNumber();
    case 36: return doc.PageWidth();
    case 37: return Color(c.Pen.Color);
    case 38: return c.Pen.Style;
    case 39: return c.Pen.Width;
    case 40: return c.PenPos.X;
    case 41: return c.PenPos.Y;
    case 42: return doc.Printing() ? 1 : 0;
    case 43: return c.CurrentY;
    case 44: return doc.WantShow();
    case 45: return doc.JpegQuality();
    case 46: return doc.SmartStretchDraw();
    case 47: return c.CharacterSpacing();
    case 48: return c.LineSpacing;
    case 49: return c.Font.Charset;
    case 50: return c.MetafileResolution;
    case 51: return c.ImageHorzAlign;
    case 52: return c.ImageVertAlign;
    case 53: return c.BulletNumber;
    case 54: return c.CurrentX;
    case 55: return c.NoImageReuse;
    case 56: return c.EnableOutput();
    case 57: return doc.SectionNumber();
    case 58: return doc.PageCount();
    case 59: return doc.SectionPageNumber();
    case 60: return doc.WantPageCount();
    default: BadNumericId(id);
    }
}

namespace {

constexpr int32_t kMaxFontSize = 1 << 16;     // points; the largest page is 14400
constexpr int32_t kMaxBulletNumber = 1 << 30;  // counted up paragraph by paragraph

// Values that place or size text and lines must fit what a page can hold, so
// that the layout's sums of them cannot overflow.
void CheckNumProp(TPdfVum& doc, int32_t id, int32_t v)
{
    const char* name = nullptr;
    switch (id) {
    case 28: if (v < -kMaxFontSize || v > kMaxFontSize) name = "FontSize"; break;
    case 39: if (!WithinCoordinates(v)) name = "PenWidth"; break;
    case 43: if (!WithinCoordinates(v)) name = "CurrentY"; break;
    case 47: if (!WithinCoordinates(v)) name = "CharacterSpacing"; break;
    case 48: if (!WithinCoordinates(v)) name = "LineSpacing"; break;
    case 53: if (v < -kMaxBulletNumber || v > kMaxBulletNumber) name = "BulletNumber"; break;
    case 54: if (!WithinCoordinates(v)) name = "CurrentX"; break;
    default: break;
    }
    if (name)
        doc.RaiseDocumentError("Invalid property value", name);
}

} // namespace

void TVumWrapper::SetNumProp(int32_t id, int32_t v)
{
    TPdfVum& doc = Document();
    TCustomVumCanvas& c = doc.Canvas();
    CheckNumProp(doc, id, v);
    switch (id) {
    case 21: c.Brush.Color = static_cast<TColor>(v); break;
    case 22: c.Brush.Style = Byte(v); break;
    case 23: doc.SetEmbedFonts(Byte(v)); break;
    case 24: SetStyleBit(c.Font, fsBold, v); break;
    case 25: c.Font.Color = static_cast<TColor>(v); break;
    case 26: c.SetFontDegreeAngle(v); break;
    case 27: SetStyleBit(c.Font, fsItalic, v); break;
    case 28: c.Font.Size = v; break;
    case 29: SetStyleBit(c.Font, fsStrikeOut, v); break;
    case 30: SetStyleBit(c.Font, fsUnderline, v); break;
    case 31: doc.SetImageCompressMode(Byte(v)); break;
    case 32: doc.SetLengthUnit(Byte(v)); break;
    case 33: doc.SetOrientation(Byte(v)); break;
    case 34: doc.SetPageHeight(v); break;
    case 36: doc.SetPageWidth(v); break;
    case 37: c.Pen.Color = static_cast<TColor>(v); break;
    case 38: c.Pen.Style = Byte(v); break;
    case 39: c.Pen.Width = v; break;
    case 43: c.CurrentY = v; break;
    case 44: doc.SetWantShow(Byte(v)); break;
    case 45: doc.SetJpegQuality(v); break;
    case 46: doc.SetSmartStretchDraw(Byte(v)); break;
    case 47: c.SetCharacterSpacing(v); break;
    case 48: c.SetLineSpacing(v); break;
    case 49: c.Font.Charset = Byte(v); break;
    case 50: c.SetMetafileResolution(v); break;
    case 51: c.SetImageHorzAlign(Byte(v)); break;
    case 52: c.SetImageVertAlign(Byte(v)); break;
    case 53: c.BulletNumber = v; break;
    case 54: c.CurrentX = v; break;
    case 55: c.SetNoImageReuse(Byte(v)); break;
    case 56: c.SetEnableOutput(Byte(v)); break;
    case 60: doc.SetWantPageCount(Byte(v)); break;
    default: BadNumericId(id);
    }
}

std::string TVumWrapper::GetStrProp(int32_t id)
{
    TPdfVum& doc = Document();
    switch (id) {
    case 10: return doc.FileName();
    case 11: return doc.Canvas().Font.Name;
    case 12: return JoinStrings(doc.NonEmbeddedFonts(), ';');
    case 13: return doc.PaperSizeName();
    case 14: return doc.Title();
    case 15: return doc.Author();
    case 16: return doc.Keywords();
    case 17: return doc.Subject();
    case 18: return doc.Canvas().CurrentStyleName;
    case 19: return doc.Producer();
    case 20: return doc.TempFolder();
    default: throw VumError("Bad string property ID: " + IntText(id));
    }
}

void TVumWrapper::SetStrProp(int32_t id, const std::string& v)
{
    TPdfVum& doc = Document();
    switch (id) {
    case 10: doc.SetFileName(v); break;
    case 11: doc.Canvas().Font.Name = v; break;
    case 12: doc.SetNonEmbeddedFonts(SetStringsFromList(v)); break;
    case 13: doc.SetPaperSizeName(v); break;
    case 14: doc.SetTitle(v); break;
    case 15: doc.SetAuthor(v); break;
    case 16: doc.SetKeywords(v); break;
    case 17: doc.SetSubject(v); break;
    case 18: SelectStyle(doc.Canvas(), v); break;
    case 19: doc.SetProducer(v); break;
    case 20: doc.SetTempFolder(v); break;
    default: throw VumError("Bad string property ID: " + IntText(id));
    }
}

} // namespace vum::dll
