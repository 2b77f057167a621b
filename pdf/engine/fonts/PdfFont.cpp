#include "engine/fonts/PdfFont.h"

#include "engine/document/VumDocument.h"
#include "engine/fonts/FontEncodingTables.h"
#include "engine/fonts/FontProgram.h"
#include "engine/fonts/PdfTextString.h"
#include "engine/paragraph/VisualOrder.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"
#include "platform/fonts/CodePages.h"
#include "platform/fonts/Utf8.h"

#include <cmath>

namespace vum {

namespace {

constexpr uint16_t kRestrictedLicense = 0x0002;

int RoundWidth(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

std::string FontKey(int charset, const std::string& baseName)
{
    return IntText(charset) + "|" + baseName;
}

TPdfFont::TPdfFont(const FontChoice& choice) : choice_(choice)
{
    if (!choice_.Face->metrics().hasGlyfOutlines)
        RaiseContextError("This font is not TrueType", choice_.FaceName);
    MeasureWidths();
}

void TPdfFont::MeasureWidths()
{
    const fonts::FontFace& face = *choice_.Face;
    const double scale = 1000.0 / face.metrics().unitsPerEm;
    const int notdef = RoundWidth(face.advance(0) * scale);
    for (int code = 0; code < 256; ++code) {
        uint32_t glyph = 0;
        if (choice_.Symbolic) {
            glyph = face.symbolGlyphOf(static_cast<uint8_t>(code));
        } else if (const char32_t c = fonts::toUnicode(choice_.CodePage, static_cast<uint8_t>(code))) {
            glyph = face.glyphOf(c);
        }
        widths_[static_cast<size_t>(code)] = glyph ? RoundWidth(face.advance(glyph) * scale) : notdef;
    }
}

int TPdfFont::CodeOf(char32_t c) const
{
    if (choice_.Symbolic) {
        if (c < 0x100)
            return static_cast<int>(c);
        if (c >= 0xF000 && c <= 0xF0FF)
            return static_cast<int>(c - 0xF000);
        return -1;
    }
    return fonts::fromUnicode(choice_.CodePage, c);
}

bool TPdfFont::CanEncode(const std::u32string& text) const
{
    for (char32_t c : text)
        if (CodeOf(c) < 0)
            return false;
    return true;
}

int TPdfFont::CodeWidth(int code) const
{
    if (code < firstChar_ || code > lastChar_)
        return 0;
    return widths_[static_cast<size_t>(code)];
}

std::string TPdfFont::EncodeBytes(const std::u32string& text) const
{
    std::string bytes;
    for (char32_t c : VisualOrder(text, choice_.RightToLeftKind)) {
        const int code = CodeOf(c);
        bytes.push_back(static_cast<char>(code < 0 ? '?' : code));
    }
    return bytes;
}

std::string TPdfFont::StringOperand(const std::string& text) const
{
    return TPdfCanvas::LiteralString(EncodeBytes(fonts::decodeUtf8(text)));
}

double TPdfFont::TextWidth1000(const std::string& text, int32_t& counted) const
{
    counted = 0;
    double width = 0;
    for (char32_t c : fonts::decodeUtf8(text)) {
        const int code = CodeOf(c);
        if (code < firstChar_)
            continue;
        ++counted;
        width += CodeWidth(code);
    }
    return width;
}

double TPdfFont::AscentPerPoint() const
{
    const auto& m = choice_.Face->metrics();
    return double(m.ascent) / m.unitsPerEm;
}

double TPdfFont::UnderlineThickness() const
{
    const auto& m = choice_.Face->metrics();
    return double(m.underlineThickness) / m.unitsPerEm;
}

double TPdfFont::UnderlinePosition() const
{
    const auto& m = choice_.Face->metrics();
    return double(m.underlinePosition) / m.unitsPerEm;
}

double TPdfFont::StrikeOutThickness() const
{
    const auto& m = choice_.Face->metrics();
    return double(m.strikeoutThickness) / m.unitsPerEm;
}

double TPdfFont::StrikeOutPosition() const
{
    const auto& m = choice_.Face->metrics();
    return double(m.strikeoutPosition) / m.unitsPerEm;
}

bool TPdfFont::ShouldEmbed(TPdfCanvas& canvas) const
{
    const TCustomVum& doc = canvas.Document();
    if (!doc.EmbedFonts() || (choice_.Face->metrics().fsType & kRestrictedLicense))
        return false;
    for (const std::string& name : doc.NonEmbeddedFonts())
        if (SameTextAscii(name, choice_.FaceName))
            return false;
    return true;
}

void TPdfFont::WriteObjects(TPdfCanvas& canvas)
{
    PdfObjectWriter& w = canvas.Writer();
    const fonts::FaceMetrics& m = choice_.Face->metrics();
    const double em = m.unitsPerEm;

    int32_t fileObject = 0;
    if (ShouldEmbed(canvas))
        fileObject = WriteFontFileObject(w, choice_.Face->standaloneFont());

    const int32_t widthsObject = w.BeginObject("[");
    std::string line;
    for (int code = firstChar_, n = 1; code <= lastChar_; ++code, ++n) {
        line += IntText(widths_[static_cast<size_t>(code)]) + " ";
        if (n % 16 == 0 || code == lastChar_) {
            w.WriteLine(line);
            line.clear();
        }
    }
    w.EndObject("]");

    int flags = choice_.Symbolic ? 4 : 32;
    if (m.serif)
        flags += 2;
    if (m.script)
        flags += 8;
    if (m.italic || choice_.WantItalic)
        flags += 64;
    const std::string ascent = IntText(RoundWidth(m.ascent * 1000 / em));
    const int32_t descriptor = w.BeginObject();
    w.WriteLine("/Type/FontDescriptor");
    w.WriteLine("/FontName" + PdfName(choice_.FaceName));
    w.WriteLine("/Ascent " + ascent);
    w.WriteLine("/Descent " + IntText(RoundWidth(-m.descent * 1000 / em)));
    w.WriteLine("/ItalicAngle " + IntText(RoundWidth(m.italicAngle)));
    w.WriteLine("/CapHeight " + ascent);
    w.WriteLine("/Flags " + IntText(flags));
    w.WriteLine("/FontBBox[0 0 0 0]");
    if (fileObject)
        w.WriteLine("/FontFile2 " + PdfObjectWriter::ObjectRef(fileObject));
    w.EndObject();

    int32_t encoding = 0;
    if (const auto& lines = DifferencesLines(choice_.Charset); !lines.empty()) {
        encoding = w.BeginObject();
        w.WriteLine("/Type/Encoding");
        w.WriteLine("/BaseEncoding/WinAnsiEncoding");
        w.WriteLine("/Differences [");
        for (const std::string& l : lines)
            w.WriteLine(l);
        w.WriteLine("]");
        w.EndObject();
    }

    fontObject_ = w.BeginObject();
    w.WriteLine("/Type/Font");
    w.WriteLine("/Subtype/TrueType");
    w.WriteLine("/Name/F" + IntText(canvas.FontIndex(*this)));
    w.WriteLine("/BaseFont" + PdfName(choice_.BaseName));
    w.WriteLine(encoding ? "/Encoding " + PdfObjectWriter::ObjectRef(encoding) : "/Encoding/WinAnsiEncoding");
    w.WriteLine("/FirstChar " + IntText(firstChar_));
    w.WriteLine("/LastChar " + IntText(lastChar_));
    w.WriteLine("/Widths " + PdfObjectWriter::ObjectRef(widthsObject));
    w.WriteLine("/FontDescriptor " + PdfObjectWriter::ObjectRef(descriptor));
    w.EndObject();
}

} // namespace vum
