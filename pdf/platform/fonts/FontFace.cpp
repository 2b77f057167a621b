#include "platform/fonts/FontFace.h"

#include "platform/fonts/FontError.h"
#include "platform/fonts/Sfnt.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <fstream>
#include <iterator>

namespace vum::fonts {

namespace {

// One FreeType instance for the process; the library serves one thread. It is
// released when the last face and this handle are gone, so unloading libPDF
// leaves nothing behind.
std::shared_ptr<void> freetype()
{
    static std::shared_ptr<void> instance = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            throw FontError("FreeType cannot start");
        return std::shared_ptr<void>(lib, [](void* l) { FT_Done_FreeType(static_cast<FT_Library>(l)); });
    }();
    return instance;
}

bool serifDesign(const TT_OS2* os2)
{
    const int familyClass = os2->sFamilyClass >> 8;
    if (familyClass >= 1 && familyClass <= 7 && familyClass != 6)
        return true;
    // PANOSE Latin text with a serif style other than sans (11 to 13).
    return os2->panose[0] == 2 && os2->panose[1] >= 2 && os2->panose[1] <= 10;
}

bool scriptDesign(const TT_OS2* os2)
{
    return (os2->sFamilyClass >> 8) == 10 || os2->panose[0] == 3;
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FontError("cannot read font file " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isCollection(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    return in.read(magic, 4) && std::string(magic, 4) == "ttcf";
}

} // namespace

std::shared_ptr<FontFace> FontFace::open(const FaceLocation& where)
{
    std::shared_ptr<FontFace> face(new FontFace);
    face->where_ = where;
    face->freetype_ = freetype();
    if (FT_New_Face(static_cast<FT_Library>(face->freetype_.get()), where.file.c_str(), where.index, &face->face_) != 0)
        throw FontError("cannot open font " + where.file);
    for (int i = 0; i < face->face_->num_charmaps; ++i) {
        const FT_Encoding encoding = face->face_->charmaps[i]->encoding;
        if (encoding == FT_ENCODING_UNICODE && face->unicodeMap_ < 0)
            face->unicodeMap_ = i;
        else if (encoding == FT_ENCODING_MS_SYMBOL && face->symbolMap_ < 0)
            face->symbolMap_ = i;
    }
    face->readMetrics();
    return face;
}

FontFace::~FontFace()
{
    if (face_)
        FT_Done_Face(face_);
}

void FontFace::readMetrics()
{
    FaceMetrics& m = metrics_;
    m.unitsPerEm = face_->units_per_EM ? face_->units_per_EM : 1000;
    m.ascent = face_->ascender;
    m.descent = -face_->descender;
    m.underlinePosition = face_->underline_position;
    m.underlineThickness = face_->underline_thickness;
    m.strikeoutThickness = m.underlineThickness;
    m.strikeoutPosition = m.unitsPerEm / 4;
    m.italic = (face_->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    m.bold = (face_->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    m.fsType = FT_Get_FSType_Flags(face_);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent || os2->usWinDescent) {
            m.ascent = os2->usWinAscent;
            m.descent = os2->usWinDescent;
        }
        m.strikeoutPosition = os2->yStrikeoutPosition;
        m.strikeoutThickness = os2->yStrikeoutSize;
        m.serif = serifDesign(os2);
        m.script = scriptDesign(os2);
    }
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST)))
        m.italicAngle = post->italicAngle / 65536.0;
    FT_ULong length = 0;
    m.hasGlyfOutlines = FT_Load_Sfnt_Table(face_, TTAG_glyf, 0, nullptr, &length) == 0 && length > 0;
}

std::string FontFace::postScriptName() const
{
    const char* name = FT_Get_Postscript_Name(face_);
    return name ? name : "";
}

int FontFace::glyphCount() const
{
    return static_cast<int>(face_->num_glyphs);
}

uint32_t FontFace::glyphOf(char32_t character) const
{
    if (unicodeMap_ < 0 || FT_Set_Charmap(face_, face_->charmaps[unicodeMap_]) != 0)
        return 0;
    return FT_Get_Char_Index(face_, character);
}

uint32_t FontFace::symbolGlyphOf(uint8_t byte) const
{
    if (symbolMap_ < 0 || FT_Set_Charmap(face_, face_->charmaps[symbolMap_]) != 0)
        return glyphOf(byte);
    if (FT_UInt glyph = FT_Get_Char_Index(face_, 0xF000u + byte))
        return glyph;
    return FT_Get_Char_Index(face_, byte);
}

int FontFace::advance(uint32_t glyph) const
{
    FT_Fixed value = 0;
    if (glyph >= static_cast<uint32_t>(face_->num_glyphs) ||
        FT_Get_Advance(face_, glyph, FT_LOAD_NO_SCALE, &value) != 0)
        return 0;
    return static_cast<int>(value);
}

std::optional<std::string> FontFace::table(uint32_t tag) const
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face_, tag, 0, nullptr, &length) != 0)
        return std::nullopt;
    std::string data(length, '\0');
    if (length && FT_Load_Sfnt_Table(face_, tag, 0, reinterpret_cast<FT_Byte*>(data.data()), &length) != 0)
        return std::nullopt;
    return data;
}

std::vector<uint32_t> FontFace::tableTags() const
{
    std::vector<uint32_t> tags;
    FT_ULong count = 0;
    if (FT_Sfnt_Table_Info(face_, 0, nullptr, &count) != 0)
        return tags;
    for (FT_UInt i = 0; i < count; ++i) {
        FT_ULong tag = 0, length = 0;
        if (FT_Sfnt_Table_Info(face_, i, &tag, &length) == 0)
            tags.push_back(static_cast<uint32_t>(tag));
    }
    return tags;
}

std::string FontFace::standaloneFont() const
{
    if (!isCollection(where_.file))
        return readWholeFile(where_.file);
    std::vector<SfntTable> tables;
    for (uint32_t tag : tableTags())
        if (auto data = table(tag))
            tables.push_back({tag, std::move(*data)});
    if (tables.empty())
        throw FontError("font has no tables: " + where_.file);
    return buildSfnt(std::move(tables));
}

} // namespace vum::fonts
