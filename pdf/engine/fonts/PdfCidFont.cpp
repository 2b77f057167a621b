#include "engine/fonts/PdfCidFont.h"

#include "engine/fonts/CidFontParts.h"
#include "engine/fonts/FontProgram.h"
#include "engine/fonts/PdfTextString.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/VumError.h"
#include "platform/fonts/FontError.h"
#include "platform/fonts/Sfnt.h"
#include "platform/fonts/TrueTypeSubset.h"
#include "platform/fonts/Utf8.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace vum {

namespace {

constexpr uint16_t kRestrictedLicense = 0x0002;

std::string Hex4(uint32_t value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

// The face's bounding box from 'head', in thousandths of the em.
std::string BoundingBox(const fonts::FontFace& face)
{
    const double scale = 1000.0 / face.metrics().unitsPerEm;
    int box[4] = {0, 0, 0, 0};
    if (auto head = face.table(fonts::sfntTag("head")); head && head->size() >= 44)
        for (int i = 0; i < 4; ++i)
            box[i] = static_cast<int>(std::nearbyint(fonts::readS16(*head, 36 + 2 * size_t(i)) * scale));
    std::string text = "[";
    for (int i = 0; i < 4; ++i)
        text.append(IntText(box[i])).append(i < 3 ? " " : "]");
    return text;
}

} // namespace

TPdfCidFont::TPdfCidFont(TPdfCanvas& canvas, std::shared_ptr<fonts::FontFace> face)
    : face_(std::move(face)), fontObject_(canvas.Writer().ReserveObjectNumber())
{
}

int TPdfCidFont::GlyphWidth(uint32_t glyph) const
{
    return static_cast<int>(std::nearbyint(face_->advance(glyph) * 1000.0 / face_->metrics().unitsPerEm));
}

std::string TPdfCidFont::ShowGlyphs(const std::u32string& text)
{
    std::string hex = "<";
    for (char32_t c : text) {
        const uint32_t glyph = GlyphOf(c);
        hex += Hex4(glyph);
        widthOfGlyph_[glyph] = GlyphWidth(glyph);
        if (glyph != 0)
            textOfGlyph_.try_emplace(glyph, std::u32string(1, c));
    }
    return hex + ">";
}

std::string TPdfCidFont::StringOperand(const std::string& text) const
{
    std::string hex = "<";
    for (char32_t c : fonts::decodeUtf8(text))
        hex += Hex4(GlyphOf(c));
    return hex + ">";
}

double TPdfCidFont::TextWidth1000(const std::string& text, int32_t& counted) const
{
    counted = 0;
    double width = 0;
    for (char32_t c : fonts::decodeUtf8(text)) {
        if (c < 0x20)
            continue;
        ++counted;
        width += GlyphWidth(GlyphOf(c));
    }
    return width;
}

double TPdfCidFont::AscentPerPoint() const
{
    return double(face_->metrics().ascent) / face_->metrics().unitsPerEm;
}

double TPdfCidFont::UnderlineThickness() const
{
    return double(face_->metrics().underlineThickness) / face_->metrics().unitsPerEm;
}

double TPdfCidFont::UnderlinePosition() const
{
    return double(face_->metrics().underlinePosition) / face_->metrics().unitsPerEm;
}

double TPdfCidFont::StrikeOutThickness() const
{
    return double(face_->metrics().strikeoutThickness) / face_->metrics().unitsPerEm;
}

double TPdfCidFont::StrikeOutPosition() const
{
    return double(face_->metrics().strikeoutPosition) / face_->metrics().unitsPerEm;
}

void TPdfCidFont::WriteDeferredObjects(TPdfCanvas& canvas)
{
    PdfObjectWriter& w = canvas.Writer();
    const fonts::FaceMetrics& m = face_->metrics();
    std::set<uint32_t> glyphs;
    for (const auto& entry : widthOfGlyph_)
        glyphs.insert(entry.first);
    std::string psName = face_->postScriptName();
    if (psName.empty())
        psName = "Font" + IntText(fontObject_);
    const std::string name = SubsetTag(psName, glyphs) + "+" + psName;

    // The glyph numbers mean nothing without the font's own outlines, so the
    // subset goes in unless the font's licence forbids embedding.
    int32_t fileObject = 0;
    if (!(m.fsType & kRestrictedLicense)) {
        try {
            fileObject = WriteFontFileObject(w, fonts::subsetTrueType(*face_, glyphs));
        } catch (const fonts::FontError& e) {
            RaiseContextError("Internal error", e.what());
        }
    }

    const double em = m.unitsPerEm;
    const int32_t descriptor = w.BeginObject();
    w.WriteLine("/Type/FontDescriptor");
    w.WriteLine("/FontName" + PdfName(name));
    w.WriteLine("/Flags " + IntText(4 + (m.serif ? 2 : 0) + (m.italic ? 64 : 0)));
    w.WriteLine("/FontBBox" + BoundingBox(*face_));
    w.WriteLine("/ItalicAngle " + IntText(static_cast<int64_t>(std::nearbyint(m.italicAngle))));
    w.WriteLine("/Ascent " + IntText(static_cast<int64_t>(std::nearbyint(m.ascent * 1000 / em))));
    w.WriteLine("/Descent " + IntText(static_cast<int64_t>(std::nearbyint(-m.descent * 1000 / em))));
    w.WriteLine("/CapHeight " + IntText(static_cast<int64_t>(std::nearbyint(m.ascent * 1000 / em))));
    w.WriteLine("/StemV 80");
    if (fileObject)
        w.WriteLine("/FontFile2 " + PdfObjectWriter::ObjectRef(fileObject));
    w.EndObject();

    const int32_t cidFont = w.BeginObject();
    w.WriteLine("/Type/Font");
    w.WriteLine("/Subtype/CIDFontType2");
    w.WriteLine("/BaseFont" + PdfName(name));
    // Strings of an encrypted document are encrypted with their object's key.
    w.WriteLine("/CIDSystemInfo<</Registry" + canvas.EncodeString("Adobe", cidFont) + "/Ordering" +
                canvas.EncodeString("Identity", cidFont) + "/Supplement 0>>");
    w.WriteLine("/FontDescriptor " + PdfObjectWriter::ObjectRef(descriptor));
    w.WriteLine("/DW " + IntText(GlyphWidth(0)));
    w.WriteLine("/W " + CidWidthsArray(widthOfGlyph_));
    w.WriteLine("/CIDToGIDMap/Identity");
    w.EndObject();

    const std::string cmap = Deflate(ToUnicodeCMap(textOfGlyph_));
    const int32_t toUnicode = w.BeginObject();
    w.WriteLine("/Filter/FlateDecode");
    w.WriteLine("/Length " + IntText(static_cast<int64_t>(cmap.size())));
    w.WriteLine(">>");
    w.WriteStream(cmap);

    w.BeginReservedObject(fontObject_);
    w.WriteLine("/Type/Font");
    w.WriteLine("/Subtype/Type0");
    w.WriteLine("/Name/F" + IntText(canvas.FontIndex(*this)));
    w.WriteLine("/BaseFont" + PdfName(name));
    w.WriteLine("/Encoding/Identity-H");
    w.WriteLine("/DescendantFonts[" + PdfObjectWriter::ObjectRef(cidFont) + "]");
    w.WriteLine("/ToUnicode " + PdfObjectWriter::ObjectRef(toUnicode));
    w.EndObject();
}

} // namespace vum
